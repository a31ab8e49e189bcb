#include "cli/cli_merge.h"

#include "cli/cli_args.h"
#include "cli/cli_error.h"
#include "merge/batch_job.h"
#include "merge/field_check.h"
#include "merge/record_range.h"
#include "model/label_doc.h"

namespace {

constexpr int kMaxJobMm = 8191;  // 65535 rows: what a V5X job can announce

}  // namespace

TCliMerge CliMerge(const TCliArgs& A, const TLabelDoc& Doc)
{
    TCliMerge m;
    const QString path = A.Value(QStringLiteral("--data")).value_or(Doc.DataFilePath());
    if (path.isEmpty()) {
        for (const char* needsData : {"--records", "--each"})
            if (A.Has(QString::fromLatin1(needsData)))
                throw ECliUsage(std::string(needsData) + " braucht Daten: --data DATEI.csv angeben",
                                A.Command.toStdString());
        return m;
    }
    auto table = std::make_shared<const TDataTable>(LoadDataTable(path));
    CheckFields(Doc, *table);
    m.Records = ParseRecordRange(A.Value(QStringLiteral("--records")).value_or(QString()), table->Count());
    m.Table = std::move(table);
    return m;
}

TBatchPlan CliBatchPlan(const TCliArgs& A, const TCliMerge& M, const TLabelDoc& Doc, int Copies, int GapDots,
                        int64_t HardLimitRows)
{
    const int jobMm = A.Int(QStringLiteral("--job-mm"), 10, kMaxJobMm, kDefaultBatchJobMm);
    return TBatchPlan(M.Records, Copies, PrintedLabelRows(Doc), GapDots, BatchJobRows(jobMm), HardLimitRows);
}

QString CliResumeHint(const std::vector<int>& Remaining)
{
    if (Remaining.empty())
        return QString();
    return QStringLiteral(" – weiter mit --records ") + FormatRecordRange(Remaining).remove(QLatin1Char(' '));
}
