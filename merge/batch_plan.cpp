#include "merge/batch_plan.h"

#include "merge/merge_error.h"

#include <algorithm>

TBatchPlan::TBatchPlan(std::vector<int> Records, int Copies, int32_t LabelRows, int32_t GapRows,
                       int64_t MaxJobRows, int64_t HardLimitRows)
    : FRecords(std::move(Records)), FCopies(Copies), FLabelRows(LabelRows), FGapRows(GapRows)
{
    if (FRecords.empty())
        FRecords.push_back(0);
    if (FCopies < 1 || FLabelRows < 1 || FGapRows < 0 || MaxJobRows < 1)
        throw EMergeError(QStringLiteral("Ungültige Druckauftragsgröße"));
    const int64_t label = FLabelRows;
    const int64_t gap = FGapRows;
    size_t i = 0;
    const size_t items = ItemCount();
    while (i < items) {
        TBatchJob job;
        job.First = i;
        job.LeadingGap = i > 0 && gap > 0;
        job.Rows = (job.LeadingGap ? gap : 0) + label;
        job.Count = 1;
        while (job.First + job.Count < items && job.Rows + gap + label <= MaxJobRows) {
            job.Rows += gap + label;
            ++job.Count;
        }
        if (HardLimitRows > 0 && job.Rows > HardLimitRows)
            throw EMergeError(QStringLiteral("Ein Etikett mit Abstand ist mit %1 Punktzeilen zu lang für einen "
                                             "Druckauftrag (höchstens %2)")
                                  .arg(job.Rows)
                                  .arg(HardLimitRows));
        FTotalRows += job.Rows;
        FJobs.push_back(job);
        i += job.Count;
    }
}

TBatchItem TBatchPlan::Item(size_t Index) const
{
    if (Index >= ItemCount())
        throw EMergeError(QStringLiteral("Etikett %1 gibt es im Druckauftrag nicht").arg(Index + 1));
    const size_t copies = static_cast<size_t>(FCopies);
    return TBatchItem{FRecords[Index / copies], static_cast<int>(Index % copies) + 1};
}

int64_t TBatchPlan::RowsBefore(size_t Job) const
{
    int64_t rows = 0;
    for (size_t j = 0; j < Job && j < FJobs.size(); ++j)
        rows += FJobs[j].Rows;
    return rows;
}

std::vector<int> TBatchPlan::RecordsFrom(size_t Job) const
{
    if (Job >= FJobs.size())
        return {};
    const size_t first = FJobs[Job].First / static_cast<size_t>(FCopies);
    return std::vector<int>(FRecords.begin() + static_cast<std::ptrdiff_t>(first), FRecords.end());
}

int64_t BatchJobRows(int32_t JobMm)
{
    return std::max<int64_t>(1, static_cast<int64_t>(JobMm) * 8);
}
