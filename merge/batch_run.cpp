#include "merge/batch_run.h"

#include "merge/batch_job.h"
#include "merge/data_table.h"
#include "model/label_doc.h"

#include <algorithm>
#include <exception>

TBatchRun::TBatchRun(std::unique_ptr<const TLabelDoc> Doc, std::shared_ptr<const TDataTable> Table,
                     TBatchPlan Plan, TStartJob Start)
    : FDoc(std::move(Doc)), FTable(std::move(Table)), FPlan(std::move(Plan)), FStart(std::move(Start))
{
}

TBatchRun::~TBatchRun() = default;

void TBatchRun::Begin()
{
    FState = TBatchState::Running;
    StartJob(0);
    if (FState == TBatchState::Failed)
        throw std::runtime_error(FailureText().toStdString());
}

void TBatchRun::StartJob(size_t Job)
{
    FJob = Job;
    try {
        // Built here and dropped once handed over: the link keeps its own
        // copy, and only one job's raster exists at a time.
        const TNbMonoImage raster = RenderBatchJob(*FDoc, FTable.get(), FPlan, Job);
        FStart(raster, Job + 1 == FPlan.Jobs().size());
    } catch (const std::exception& e) {
        Fail(QString::fromUtf8(e.what()));
    }
}

void TBatchRun::JobDone(bool Success, const QString& Msg)
{
    if (FState != TBatchState::Running)
        return;
    if (!Success) {
        Fail(Msg);
        return;
    }
    if (FJob + 1 >= FPlan.Jobs().size()) {
        FState = TBatchState::Done;
        return;
    }
    if (FCancelled) {
        // The job in hand was complete; the rest is what is left.
        ++FJob;
        Fail(QStringLiteral("Abgebrochen"));
        return;
    }
    StartJob(FJob + 1);
}

void TBatchRun::Cancel()
{
    FCancelled = true;
}

void TBatchRun::Fail(const QString& Msg)
{
    FState = TBatchState::Failed;
    FFailure = Msg;
}

int TBatchRun::Percent(int64_t Sent, int64_t Total) const
{
    const int64_t total = FPlan.TotalRows();
    if (total <= 0 || FJob >= FPlan.Jobs().size())
        return 0;
    const int64_t jobRows = FPlan.Jobs()[FJob].Rows;
    const int64_t inJob = Total > 0 ? std::clamp<int64_t>(Sent, 0, Total) * jobRows / Total : 0;
    return static_cast<int>((FPlan.RowsBefore(FJob) + inJob) * 100 / total);
}

int TBatchRun::RecordAt(int64_t Sent, int64_t Total) const
{
    if (FJob >= FPlan.Jobs().size())
        return 0;
    const TBatchJob& job = FPlan.Jobs()[FJob];
    const int64_t count = static_cast<int64_t>(job.Count);
    const int64_t at = Total > 0 ? std::clamp<int64_t>(Sent, 0, Total) * count / Total : 0;
    return FPlan.Item(job.First + static_cast<size_t>(std::min(at, count - 1))).Record;
}

int TBatchRun::TableCount() const
{
    return FTable ? FTable->Count() : 0;
}

std::vector<int> TBatchRun::RemainingRecords() const
{
    if (!FTable)
        return {};
    return FPlan.RecordsFrom(FJob);
}

int TBatchRun::ResumeRecord() const
{
    const std::vector<int> rest = RemainingRecords();
    return rest.empty() ? 0 : rest.front();
}

QString TBatchRun::FailureText() const
{
    const int record = ResumeRecord();
    if (record > 0 && FFailure == QLatin1String("Abgebrochen"))
        return QStringLiteral("Druck bei Datensatz %1 abgebrochen").arg(record);
    if (record > 0)
        return QStringLiteral("Druck bei Datensatz %1 fehlgeschlagen: %2").arg(record).arg(FFailure);
    return QStringLiteral("Druck fehlgeschlagen bei Teil %1 von %2: %3")
        .arg(FJob + 1)
        .arg(FPlan.Jobs().size())
        .arg(FFailure);
}
