#pragma once
// One batch on its way to the printer: the jobs of a plan, each built when
// the one before has been printed and started through the caller's print
// call, so every job goes over the same connection. The run knows nothing
// of the printer link; its owner passes the link's progress and end of job
// on, and cancels the link's sending itself.

#include "merge/batch_plan.h"
#include "protocol/raster.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataTable;
class TLabelDoc;

enum class TBatchState { Idle, Running, Done, Failed };

class TBatchRun {
public:
    // Starts one job's raster; Last is set for the last job of the batch.
    // Raises when the printer refuses the job at once.
    using TStartJob = std::function<void(const TNbMonoImage& Raster, bool Last)>;

    // Doc and Table are the run's own, so editing the label or reloading the
    // data during the print changes nothing in it. Table may be null.
    TBatchRun(std::unique_ptr<const TLabelDoc> Doc, std::shared_ptr<const TDataTable> Table, TBatchPlan Plan,
              TStartJob Start);
    ~TBatchRun();
    TBatchRun(const TBatchRun&) = delete;
    TBatchRun& operator=(const TBatchRun&) = delete;

    // Builds and starts the first job. Raises when that fails; the run is
    // then Failed and nothing was sent.
    void Begin();
    // The end of the running job as the printer link reports it: the next
    // job is built and started, or the run ends Done or Failed.
    void JobDone(bool Success, const QString& Msg);
    // No further job starts; the running one still reports its end.
    void Cancel();

    TBatchState State() const { return FState; }
    const TBatchPlan& Plan() const { return FPlan; }
    // Records in the run's table (0 without one).
    int TableCount() const;
    size_t CurrentJob() const { return FJob; }
    // Percent of the whole batch from the running job's byte progress.
    int Percent(int64_t Sent, int64_t Total) const;
    // The record being sent, judged from the running job's byte progress (0
    // for a label without data).
    int RecordAt(int64_t Sent, int64_t Total) const;
    // After a failure: the printer's message, the first record of the job
    // that did not complete, and the records still to print from it on.
    const QString& FailureMessage() const { return FFailure; }
    int ResumeRecord() const;
    // Empty for a label without data.
    std::vector<int> RemainingRecords() const;
    // "Druck bei Datensatz 37 fehlgeschlagen: …", after a cancel "Druck bei
    // Datensatz 37 abgebrochen" (a label without data:
    // "Druck fehlgeschlagen bei Teil 2 von 3: …").
    QString FailureText() const;

private:
    void StartJob(size_t Job);
    void Fail(const QString& Msg);

    std::unique_ptr<const TLabelDoc> FDoc;
    std::shared_ptr<const TDataTable> FTable;
    TBatchPlan FPlan;
    TStartJob FStart;
    TBatchState FState = TBatchState::Idle;
    size_t FJob = 0;
    bool FCancelled = false;
    QString FFailure;
};
