// The print command: every copy rendered with its number, the copies stacked
// into one raster with blank gaps, sent as one job in the protocol of the
// settings; progress and result in the status line. Also the test label of
// the printer setup dialog.
#include "ble/nimbo_ble.h"
#include "editor/controls/modern_button.h"
#include "editor/data_panel.h"
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "model/label_doc.h"
#include "model/builtin_templates.h"
#include "merge/batch_job.h"
#include "merge/data_table.h"
#include "merge/field_check.h"
#include "merge/merge_error.h"
#include "model/code_layout.h"
#include "model/model_error.h"
#include "model/mono_convert.h"
#include "protocol/v5x_job.h"
#include "settings/app_settings.h"

#include <QSpinBox>

#include <algorithm>
#include <limits>
#include <stdexcept>

void TLabelMainForm::PrintLabel()
{
    // A running job ignores the command; no need to render for nothing.
    if (FPrinting)
        return;
    const int copies = std::max(SeCopies->value(), 1);
    // With a data file, the record on the canvas is what is printed, and a
    // field without a column stops the print as it would stop the batch.
    const TMergeRecord* record = PnlData ? PnlData->CurrentRecord() : nullptr;
    if (record) {
        try {
            CheckFields(*FDoc, *PnlData->Table());
        } catch (const EMergeError& e) {
            SetStatus(3, QStringLiteral("Fehler: ") + e.Message());
            FDialogs->ShowError(this, e.Message());
            return;
        }
    }
    // A V5X job announces its rows in 16 bits: a longer print would reach
    // the printer with a wrong row count, so it goes out as a batch of jobs.
    if (FSettings->Protocol == 1 && NeedsSplitForV5X(*FDoc, copies, GapMmToDots(FSettings->GapMm))) {
        PrintRecords(record ? std::vector<int>{record->Number} : std::vector<int>{});
        return;
    }
    std::vector<TNbMonoImage> rasters;
    rasters.reserve(static_cast<size_t>(copies));
    try {
        // A code that cannot be drawn for some copy ({NR} may make a number
        // too long) is named in the status line, and nothing is sent.
        for (int n = 1; n <= copies; ++n)
            CheckCodesPrintable(*FDoc, n);
    } catch (const EModelError& e) {
        SetStatus(3, e.Message());
        return;
    }
    for (int n = 1; n <= copies; ++n)
        rasters.push_back(FDoc->RenderMono(n, record));
    const QString what = QStringLiteral("\"") + FDoc->Name + QStringLiteral("\" (%1×)").arg(copies);
    const TNbMonoImage joined = StackMonoImages(rasters, GapMmToDots(FSettings->GapMm));
    rasters.clear();
    SendToPrinter(joined, what);
}

void TLabelMainForm::SendToPrinter(const TNbMonoImage& Mono, const QString& What)
{
    if (!BeginSending(What))
        return;
    try {
        StartPrinterJob(Mono, true);
    } catch (const std::exception& e) {
        SendingRefused(QString::fromUtf8(e.what()));
    }
}

bool TLabelMainForm::BeginSending(const QString& What)
{
    if (FPrinting)
        return false;
    if (!FConnected) {
        // The job is dropped either way; it does not start by itself later.
        if (FDialogs->AskYesNo(
                this, QStringLiteral("Es ist kein Drucker verbunden.\r\nDrucker jetzt suchen und verbinden?")))
            ShowPrinterDialog();
        return false;
    }
    ApplyPrinterSettings();
    FPrinting = true;
    BtnPrint->setEnabled(false);
    SetStatus(3, QStringLiteral("Sende ") + What + QStringLiteral(" …"));
    return true;
}

void TLabelMainForm::StartPrinterJob(const TNbMonoImage& Mono, bool FeedAfter)
{
    if (FSettings->Protocol == 1) {
        const auto density = static_cast<uint8_t>(std::clamp(FSettings->V5XDensity, 0, 100));
        FPrinter->PrintV5X(NbV5XBuildJob(Mono, density, 0));
        return;
    }
    TNbV5GParams params = FSettings->Params();
    if (!FeedAfter)
        params.FeedLines = 0;
    FPrinter->PrintV5G(Mono, params);
}

void TLabelMainForm::SendingRefused(const QString& Msg)
{
    FPrinting = false;
    BtnPrint->setEnabled(true);
    SetStatus(3, QStringLiteral("Fehler: ") + Msg);
}

void TLabelMainForm::PrinterProgress(TNimboBle*, int32_t Sent, int32_t Total)
{
    if (Total <= 0 || !FPrinting)
        return;
    if (FBatch) {
        BatchProgress(Sent, Total);
        return;
    }
    const int64_t pct = static_cast<int64_t>(Sent) * 100 / Total;
    SetStatus(3, QStringLiteral("Drucke … %1 %").arg(pct));
}

void TLabelMainForm::PrinterLog(TNimboBle*, const std::string& Msg)
{
    // Only the cool-down and energy lines of a job concern the user.
    const QString line = QString::fromUtf8(Msg);
    if (line.contains(QStringLiteral("Kopftemperatur")))
        SetStatus(3, line);
}

void TLabelMainForm::PrinterPrintDone(TNimboBle*, bool Success, const std::string& Msg)
{
    if (FBatch) {
        BatchJobDone(Success, QString::fromUtf8(Msg));
        return;
    }
    FPrinting = false;
    BtnPrint->setEnabled(true);
    const QString msg = QString::fromUtf8(Msg);
    if (Success) {
        SetStatus(3, QStringLiteral("Fertig gedruckt."));
        return;
    }
    SetStatus(3, QStringLiteral("Druck fehlgeschlagen: ") + msg);
    FDialogs->ShowError(this, QStringLiteral("Druck fehlgeschlagen:\r\n") + msg + QStringLiteral("\r\n") +
                                  QStringLiteral("\r\n") +
                                  QStringLiteral("Ist der Drucker noch eingeschaltet und in Reichweite?"));
}

void TLabelMainForm::TestPrint(QObject*)
{
    TLabelDoc doc;
    doc.LengthMm = 20;
    doc.BgPreset = bpFrame;
    AddTextElement(doc, 8, 10, 368, 80, QStringLiteral("Testdruck OK"), 52, true, laCenter);
    AddTextElement(doc, 8, 96, 368, 50, QStringLiteral("{DATUM}  {ZEIT}"), 30, false, laCenter);
    SendToPrinter(doc.RenderMono(1), QStringLiteral("Testdruck"));
}
