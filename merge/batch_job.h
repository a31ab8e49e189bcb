#pragma once
// The raster of one job of a batch, rendered only when the job is built:
// a batch of any length never holds more than one job's labels in memory.

#include "protocol/raster.h"

#include <cstddef>
#include <cstdint>

class TBatchPlan;
class TDataTable;
class TLabelDoc;

// Dot rows of one printed label: its length, whichever way it is designed.
int32_t PrintedLabelRows(const TLabelDoc& Doc);

// Whether Copies of the label, GapDots apart, are more rows than one V5X job
// can announce.
bool NeedsSplitForV5X(const TLabelDoc& Doc, int Copies, int32_t GapDots);

// The labels of job Job of Plan, each rendered for print with its record
// (Table may be null for a label without data) and its copy number, with
// the gap rows between them and, for a job after the first, before them.
TNbMonoImage RenderBatchJob(const TLabelDoc& Doc, const TDataTable* Table, const TBatchPlan& Plan, size_t Job);
