// Printing a data merge: every chosen record with the copies of the copies
// box, stacked with the gap between copies and cut into jobs of at most the
// configured paper length, sent one after another over the connection. Each
// job is rendered when the one before it has been printed. A failure names
// the record to go on from and offers to do so.
#include "ble/nimbo_ble.h"
#include "editor/controls/modern_button.h"
#include "editor/data_panel.h"
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "merge/batch_job.h"
#include "merge/batch_run.h"
#include "merge/data_table.h"
#include "merge/field_check.h"
#include "merge/merge_error.h"
#include "merge/record_range.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"
#include "settings/app_settings.h"

#include <QSpinBox>

#include <algorithm>

namespace {

// The job length of the settings, within what a V5X job can announce.
int64_t JobRows(const TAppSettings& S)
{
    return BatchJobRows(std::clamp(S.BatchJobMm, 10, 8191));
}

}  // namespace

void TLabelMainForm::PrintRecords(const std::vector<int>& Records)
{
    if (FPrinting || !PnlData)
        return;
    const std::shared_ptr<const TDataTable> table = PnlData->Table();
    const int copies = std::max(SeCopies->value(), 1);
    std::unique_ptr<TBatchRun> run;
    try {
        // No records: the copies of a label without data, too long for one job.
        if (!Records.empty() && !table)
            throw EMergeError(QStringLiteral("Keine Datendatei gewählt"));
        if (!Records.empty())
            CheckFields(*FDoc, *table);
        TBatchPlan plan(Records, copies, PrintedLabelRows(*FDoc), GapMmToDots(FSettings->GapMm), JobRows(*FSettings),
                        FSettings->Protocol == 1 ? kMaxV5XJobRows : 0);
        // The run prints a copy of the label: editing on during the print
        // changes nothing in it.
        auto snapshot = std::make_unique<TLabelDoc>();
        snapshot->FromJSONString(FDoc->ToJSONString());
        run = std::make_unique<TBatchRun>(std::move(snapshot), Records.empty() ? nullptr : table, std::move(plan),
                                          [this](const TNbMonoImage& Raster, bool Last) {
                                              StartPrinterJob(Raster, Last);
                                          });
    } catch (const std::exception& e) {
        const QString msg = QString::fromUtf8(e.what());
        SetStatus(3, QStringLiteral("Fehler: ") + msg);
        FDialogs->ShowError(this, msg);
        return;
    }
    const QString what = Records.empty() ? QStringLiteral("\"%1\" (%2×)").arg(FDoc->Name).arg(copies)
                                         : QStringLiteral("\"%1\" (%2 Datensätze, %3×)")
                                               .arg(FDoc->Name)
                                               .arg(Records.size())
                                               .arg(copies);
    if (!BeginSending(what))
        return;
    FBatch = std::move(run);
    PnlData->SetPrinting(true);
    try {
        FBatch->Begin();
    } catch (const std::exception&) {
        const QString msg = FBatch->FailureMessage();
        FBatch.reset();
        PnlData->SetPrinting(false);
        SendingRefused(msg);
    }
}

void TLabelMainForm::CancelBatch()
{
    if (!FBatch)
        return;
    FBatch->Cancel();
    FPrinter->CancelSending();
    SetStatus(3, QStringLiteral("Abbruch …"));
}

void TLabelMainForm::BatchProgress(int32_t Sent, int32_t Total)
{
    const int record = FBatch->RecordAt(Sent, Total);
    SetStatus(3, QStringLiteral("Datensatz %1 von %2 – Drucke … %3 %")
                     .arg(record)
                     .arg(FBatch->TableCount())
                     .arg(FBatch->Percent(Sent, Total)));
}

void TLabelMainForm::BatchJobDone(bool Success, const QString& Msg)
{
    FBatch->JobDone(Success, Msg);
    if (FBatch->State() == TBatchState::Running)
        return;
    const std::unique_ptr<TBatchRun> run = std::move(FBatch);
    FPrinting = false;
    BtnPrint->setEnabled(true);
    PnlData->SetPrinting(false);
    if (run->State() == TBatchState::Done) {
        SetStatus(3, QStringLiteral("Fertig gedruckt."));
        return;
    }
    const std::vector<int> rest = run->RemainingRecords();
    SetStatus(3, run->FailureText());
    if (rest.empty()) {
        FDialogs->ShowError(this, run->FailureText());
        return;
    }
    // The rest stays chosen, so the print can go on later as well.
    PnlData->SetRange(FormatRecordRange(rest));
    if (FDialogs->AskYesNo(this, run->FailureText() + QStringLiteral("\r\n\r\nAb Datensatz %1 fortsetzen?")
                                                          .arg(rest.front())))
        PrintRecords(rest);
}
