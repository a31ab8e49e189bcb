#pragma once
// How a batch of labels goes to the printer: every chosen record with every
// copy, one below the other with the gap between copies, cut into jobs of
// whole labels that each stay within a length of paper. A job after the
// first begins with the gap, so the paper looks the same as one long job.

#include <cstddef>
#include <cstdint>
#include <vector>

// A V5X job announces its rows in 16 bits.
inline constexpr int64_t kMaxV5XJobRows = 65535;
// One metre of paper at 8 dots per millimetre.
inline constexpr int32_t kDefaultBatchJobMm = 1000;

struct TBatchItem {
    int Record = 0;  // 1-based record number; 0 for a label without data
    int Copy = 1;    // 1..Copies, for {NR}
};

struct TBatchJob {
    size_t First = 0;  // index of its first item
    size_t Count = 0;  // items in the job, at least 1
    int64_t Rows = 0;  // dot rows, the leading gap included
    bool LeadingGap = false;
};

class TBatchPlan {
public:
    // Records: the record numbers in print order (an empty list: one label
    // without data). LabelRows: rows of one printed label. MaxJobRows: the
    // longest job wanted; a single label longer than that becomes a job of
    // its own. HardLimitRows: what the printer protocol can carry at all
    // (0: no limit); a job that must exceed it raises EMergeError, as do
    // negative or zero sizes.
    TBatchPlan(std::vector<int> Records, int Copies, int32_t LabelRows, int32_t GapRows, int64_t MaxJobRows,
               int64_t HardLimitRows = 0);

    size_t ItemCount() const { return FRecords.size() * static_cast<size_t>(FCopies); }
    TBatchItem Item(size_t Index) const;
    const std::vector<TBatchJob>& Jobs() const { return FJobs; }
    int64_t TotalRows() const { return FTotalRows; }
    // Rows of all jobs before Job.
    int64_t RowsBefore(size_t Job) const;
    int32_t LabelRows() const { return FLabelRows; }
    int32_t GapRows() const { return FGapRows; }
    // The records from the first one of Job to the end, in print order: what
    // is left to print when that job did not complete.
    std::vector<int> RecordsFrom(size_t Job) const;

private:
    std::vector<int> FRecords;
    int FCopies;
    int32_t FLabelRows;
    int32_t FGapRows;
    std::vector<TBatchJob> FJobs;
    int64_t FTotalRows = 0;
};

// Rows of paper for a job length in millimetres (at least one row).
int64_t BatchJobRows(int32_t JobMm);
