#pragma once
// Data merge on the command line: --data FILE (or the data file the label
// remembers) and --records 1-5,8, and the batch of jobs they make.

#include "merge/batch_plan.h"
#include "merge/data_table.h"

#include <memory>
#include <vector>

class TLabelDoc;
struct TCliArgs;

struct TCliMerge {
    std::shared_ptr<const TDataTable> Table;  // null: the label prints without data
    std::vector<int> Records;                 // the chosen records, in print order
};

// Reads the data of a run. Without --data the label's own data file is
// used, if it has one. Raises ECliUsage for --records or --each without
// data and the merge's German message for a data file that cannot be used
// or a field without a column.
TCliMerge CliMerge(const TCliArgs& A, const TLabelDoc& Doc);

// The batch of a merge: the chosen records with Copies each, GapDots apart,
// in jobs of at most --job-mm of paper (default one metre); HardLimitRows
// as TBatchPlan takes it.
TBatchPlan CliBatchPlan(const TCliArgs& A, const TCliMerge& M, const TLabelDoc& Doc, int Copies, int GapDots,
                        int64_t HardLimitRows);

// "Druck bei Datensatz 37 fehlgeschlagen: … – weiter mit --records 37-120".
QString CliResumeHint(const std::vector<int>& Remaining);
