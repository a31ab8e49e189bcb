// The main window's side of the printer connection: the link and its events,
// the start-up search for the remembered printer, connecting and
// disconnecting, the setup dialog, and the connection state, head
// temperature and printer warnings in the status line.
#include "ble/nimbo_ble.h"
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "printing/printer_setup_form.h"
#include "protocol/notifications.h"
#include "protocol/v5g_commands.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QTimer>

#include <memory>
#include <stdexcept>

namespace {

QString DeviceName(const TBleDevice* Device)
{
    return Device ? QString::fromStdString(Device->Name()) : QString();
}

// Sets the pointer back to none however the scope is left.
struct TDialogSlot {
    TPrinterSetupForm*& Slot;
    ~TDialogSlot() { Slot = nullptr; }
};

}  // namespace

void TLabelMainForm::CreatePrinterLink()
{
    if (!FBle)
        throw std::logic_error("Dem Hauptfenster fehlt der Bluetooth-Zugang für den Drucker");
    // Link events are raised on backend and worker threads; they reach the
    // window through the application's event queue, in order.
    TNbPostToMain post = [](std::function<void()> Call) {
        QMetaObject::invokeMethod(qApp, std::move(Call), Qt::QueuedConnection);
    };
    FPrinter = std::make_unique<TNimboBle>(FBle, std::move(post), FLinkTime);
    FPrinter->SetOnDeviceFound([this](TNimboBle* s, TBleDevice* d, int32_t r) { PrinterDeviceFound(s, d, r); });
    FPrinter->SetOnConnected([this](TNimboBle* s, bool ok, const std::string& m) { PrinterConnected(s, ok, m); });
    FPrinter->SetOnNotify([this](TNimboBle* s, const std::vector<uint8_t>& d) { PrinterNotify(s, d); });
    FPrinter->SetOnPrintDone([this](TNimboBle* s, bool ok, const std::string& m) { PrinterPrintDone(s, ok, m); });
    FPrinter->SetOnProgress([this](TNimboBle* s, int32_t sent, int32_t total) { PrinterProgress(s, sent, total); });
    FPrinter->SetOnLog([this](TNimboBle* s, const std::string& m) { PrinterLog(s, m); });
    ApplyPrinterSettings();
}

void TLabelMainForm::CreateScanTimer()
{
    FScanTimer = new QTimer(this);
    FScanTimer->setInterval(FScanTimerMs);
    connect(FScanTimer, &QTimer::timeout, this, [this] { ScanTimerTimer(); });
}

void TLabelMainForm::ApplyPrinterSettings()
{
    FPrinter->SetPacketSize(FSettings->PacketSize);
    FPrinter->SetIntervalMs(FSettings->IntervalMs);
    FPrinter->SetAutoTemperature(FSettings->AutoTemp);
}

void TLabelMainForm::StartAutoConnect()
{
    const TAppSettings& s = *FSettings;
    if (s.PrinterAddress.isEmpty()) {
        SetStatus(0, QStringLiteral("Kein Drucker eingerichtet – hier klicken"));
        return;
    }
    if (!s.AutoConnect) {
        SetStatus(0, QStringLiteral("Nicht verbunden (%1) – hier klicken").arg(s.PrinterName));
        return;
    }
    FAutoConnectPending = true;
    SetStatus(0, QStringLiteral("Suche Drucker %1 …").arg(s.PrinterName));
    // The name narrows the search; the address decides which device is taken.
    FPrinter->StartScan(s.PrinterName.toStdString(), 10000);
    if (FPrinter->ScanState() == TBleState::bsPoweredOff
        && FDialogs->AskYesNo(this, QStringLiteral("Bluetooth ist ausgeschaltet. Jetzt einschalten?"))
        && FPrinter->PowerOn())
        FPrinter->StartScan(s.PrinterName.toStdString(), 10000);
    const std::string problem = FPrinter->ScanProblem();
    if (!problem.empty()) {
        // No search runs, so there is nothing to wait for.
        FAutoConnectPending = false;
        SetStatus(0, QString::fromStdString(problem));
        return;
    }
    FScanTimer->start();
}

void TLabelMainForm::ScanTimerTimer()
{
    FScanTimer->stop();
    if (!FAutoConnectPending)
        return;
    FAutoConnectPending = false;
    SetStatus(0, QStringLiteral("Drucker %1 nicht gefunden – eingeschaltet? Hier klicken").arg(FSettings->PrinterName));
}

void TLabelMainForm::PrinterDeviceFound(TNimboBle*, TBleDevice* Device, int32_t Rssi)
{
    if (FPrinterDlg)
        FPrinterDlg->DeviceFound(Device, Rssi);
    if (FAutoConnectPending && !FConnected && !FConnecting && Device &&
        QString::fromStdString(Device->Address()).compare(FSettings->PrinterAddress, Qt::CaseInsensitive) == 0) {
        FAutoConnectPending = false;
        FScanTimer->stop();
        ConnectToDevice(Device);
    }
}

void TLabelMainForm::ConnectToDevice(TBleDevice* Device)
{
    if (FConnecting || !Device)
        return;
    if (FConnected)
        DisconnectPrinter(this);
    ApplyPrinterSettings();
    FConnecting = true;
    SetStatus(0, QStringLiteral("Verbinde mit ") + DeviceName(Device) + QStringLiteral(" …"));
    if (FPrinterDlg)
        FPrinterDlg->UpdateState(false, true, QString());
    try {
        FPrinter->Connect(Device);
    } catch (const std::exception& e) {
        FConnecting = false;
        SetStatus(0, QStringLiteral("Fehler: ") + QString::fromUtf8(e.what()));
        // The dialog must not keep saying "Verbinde …" for a connect that never began.
        if (FPrinterDlg)
            FPrinterDlg->UpdateState(false, false, QStringLiteral("Fehler: ") + QString::fromUtf8(e.what()));
    }
}

void TLabelMainForm::PrinterConnected(TNimboBle*, bool Success, const std::string& Msg)
{
    FConnecting = false;
    FConnected = Success;
    QString name;
    if (Success) {
        const TBleDevice* device = FPrinter->Device();
        name = DeviceName(device);
        // Remembered at once, so the next start searches for this device.
        if (device) {
            FSettings->PrinterName = name;
            FSettings->PrinterAddress = QString::fromStdString(device->Address());
            try {
                FSettings->Save();
            } catch (const std::exception& e) {
                // The connection stands; only remembering it for the next start failed.
                SetStatus(3, QStringLiteral("Fehler: ") + QString::fromUtf8(e.what()));
            }
        }
        SetStatus(0, QStringLiteral("Verbunden: ") + name);
        FNoPaperShown = false;
        if (FSettings->Protocol == 0) {
            try {
                FPrinter->SendCommand(NbV5GGetState());
            } catch (...) {
                // The printer answers later or not at all; nothing depends on it.
            }
        }
    } else {
        SetStatus(0, QStringLiteral("Verbindung fehlgeschlagen – hier klicken"));
        SetStatus(3, QString::fromUtf8(Msg));
    }
    if (FPrinterDlg) {
        if (Success)
            FPrinterDlg->UpdateState(true, false, name);
        else
            FPrinterDlg->UpdateState(false, false, QStringLiteral("Fehlgeschlagen: ") + QString::fromUtf8(Msg));
    }
}

void TLabelMainForm::DisconnectPrinter(QObject*)
{
    FPrinter->Disconnect();
    FConnected = false;
    SetStatus(0, QStringLiteral("Getrennt – hier klicken zum Verbinden"));
    SetStatus(1, QString());
    if (FPrinterDlg)
        FPrinterDlg->UpdateState(false, false, QString());
}

void TLabelMainForm::ShowPrinterDialog()
{
    // The dialog is modal; a second request while it is open (the question
    // of a print command started from it) finds the user already there.
    if (FPrinterDlg) {
        FPrinterDlg->raise();
        FPrinterDlg->activateWindow();
        return;
    }
    FAutoConnectPending = false;
    {
        auto dlg = std::make_unique<TPrinterSetupForm>(this, FPrinter.get(), FSettings.get());
        FPrinterDlg = dlg.get();
        TDialogSlot slot{FPrinterDlg};
        dlg->SetOnConnectDevice([this](TBleDevice* d) { ConnectToDevice(d); });
        dlg->SetOnDisconnect([this](QObject* s) { DisconnectPrinter(s); });
        dlg->SetOnTestPrint([this](QObject* s) { TestPrint(s); });
        dlg->UpdateState(FConnected, FConnecting, FConnected ? DeviceName(FPrinter->Device()) : QString());
        dlg->exec();
        dlg->SaveToSettings();
    }
    ApplyPrinterSettings();
    FSettings->Save();
}

void TLabelMainForm::StatusBarClick()
{
    ShowPrinterDialog();
}

void TLabelMainForm::PrinterNotify(TNimboBle*, const std::vector<uint8_t>& Data)
{
    int32_t temp = 0;
    if (NbParseTemperature(Data, temp))
        SetStatus(1, QStringLiteral("Kopf: %1 °C").arg(temp));
    uint8_t code = 0;
    if (!NbParseStatus(Data, code))
        return;
    switch (code) {
    case NbStateReady:
        FNoPaperShown = false;
        break;
    case NbStateNoPaper:
        SetStatus(3, QStringLiteral("Kein Papier!"));
        if (FPrinting && !FNoPaperShown) {
            // Marked before the box opens: reports that arrive while it is
            // shown must not open a second one.
            FNoPaperShown = true;
            FDialogs->ShowWarning(this, QStringLiteral("Der Drucker meldet: kein Papier."));
        }
        break;
    case NbStateOverheated:
        SetStatus(3, QStringLiteral("Druckkopf überhitzt – kurz abkühlen lassen"));
        break;
    case NbStateBatteryLow:
        SetStatus(3, QStringLiteral("Akku schwach – bitte laden"));
        break;
    default:
        break;
    }
}
