#include "merge/batch_job.h"

#include "merge/batch_plan.h"
#include "merge/data_table.h"
#include "merge/merge_error.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"

#include <algorithm>
#include <optional>

int32_t PrintedLabelRows(const TLabelDoc& Doc)
{
    // A landscape label is turned a quarter turn for print.
    return Doc.Landscape ? Doc.DesignWidth() : Doc.DesignHeight();
}

bool NeedsSplitForV5X(const TLabelDoc& Doc, int Copies, int32_t GapDots)
{
    const int64_t n = std::max(Copies, 1);
    return n * PrintedLabelRows(Doc) + (n - 1) * std::max(GapDots, 0) > kMaxV5XJobRows;
}

TNbMonoImage RenderBatchJob(const TLabelDoc& Doc, const TDataTable* Table, const TBatchPlan& Plan, size_t Job)
{
    if (Job >= Plan.Jobs().size())
        throw EMergeError(QStringLiteral("Druckauftrag %1 gibt es nicht").arg(Job + 1));
    const TBatchJob& job = Plan.Jobs()[Job];
    std::vector<TNbMonoImage> labels;
    labels.reserve(job.Count + 1);
    for (size_t i = job.First; i < job.First + job.Count; ++i) {
        const TBatchItem item = Plan.Item(i);
        std::optional<TMergeRecord> record;
        if (Table && item.Record > 0)
            record = Table->Record(item.Record);
        labels.push_back(Doc.RenderMono(item.Copy, record ? &*record : nullptr));
        if (labels.back().Height != Plan.LabelRows())
            throw EMergeError(QStringLiteral("Das Etikett hat seine Größe während des Drucks geändert"));
    }
    if (job.LeadingGap) {
        // An empty raster first: the stacking puts the gap after it.
        TNbMonoImage none;
        none.Width = labels.front().Width;
        labels.insert(labels.begin(), std::move(none));
    }
    return StackMonoImages(labels, Plan.GapRows());
}
