// The main window's printer connection against simulated printers: the
// start-up search, connecting, the state request, disconnecting, and the
// printer's reports in the status line.
#include "print_fixture.h"

#include "ble/nimbo_ble.h"
#include "editor/status_bar.h"
#include "printing/printer_setup_form.h"
#include "settings/app_settings.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const char* const kAddr = "C0:FF:EE:00:00:10";

void RememberMx10(TAppSettings& s)
{
    s.PrinterName = QStringLiteral("MX10");
    s.PrinterAddress = QStringLiteral("c0:ff:ee:00:00:10");  // case does not matter
}

TAppSettings SavedSettings()
{
    TAppSettings s;
    s.Load();
    return s;
}

TEST(PrinterStartup, StatusWithoutSearch)
{
    struct Case {
        const char* Label;
        std::function<void(TAppSettings&)> Edit;
        QString Status0;
    };
    const std::vector<Case> cases = {
        {"no printer remembered", [](TAppSettings&) {}, QStringLiteral("Kein Drucker eingerichtet – hier klicken")},
        {"automatic connection off",
         [](TAppSettings& s) {
             RememberMx10(s);
             s.AutoConnect = false;
         },
         QStringLiteral("Nicht verbunden (MX10) – hier klicken")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        TPrintFixture f;
        f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
        TPrintFixture::PrepareSettings(c.Edit);
        f.Create();
        EXPECT_EQ(f.Status(0), c.Status0);
        EXPECT_EQ(f.Ble.ScansStarted(), 0);
        EXPECT_FALSE(f.Form->ScanTimer()->isActive());
        QTest::qWait(50);
        EXPECT_FALSE(f.Form->IsConnected());
    }
}

TEST(PrinterStartup, BluetoothSwitchedOffIsSaidAndSwitchedOnWhenTheUserAgrees)
{
    for (const bool agree : {false, true}) {
        SCOPED_TRACE(agree ? "eingeschaltet" : "ausgeschaltet gelassen");
        TPrintFixture f;
        f.Ble.SetState(TBleState::bsPoweredOff);
        auto mine = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
        TPrintFixture::PrepareSettings(RememberMx10);
        f.Dialogs.YesNo.push_back(agree);
        f.Create();
        ASSERT_EQ(f.Dialogs.Shown.size(), 1u);
        EXPECT_TRUE(f.Dialogs.Shown[0].endsWith(QStringLiteral("Bluetooth ist ausgeschaltet. Jetzt einschalten?")))
            << f.Dialogs.Shown[0].toStdString();
        if (agree) {
            EXPECT_EQ(f.Status(0), QStringLiteral("Suche Drucker MX10 …"));
            ASSERT_TRUE(f.WaitConnected());
            EXPECT_TRUE(mine->IsConnected());
        } else {
            // No search runs, so none can end in "nicht gefunden".
            EXPECT_EQ(f.Status(0), QStringLiteral("Bluetooth ist ausgeschaltet."));
            EXPECT_FALSE(f.Form->ScanTimer()->isActive());
            EXPECT_FALSE(f.Form->IsAutoConnectPending());
        }
    }
}

TEST(PrinterStartup, ConnectsToTheRememberedAddressOnly)
{
    TPrintFixture f;
    // Same name, other address, and reported first: must not be taken.
    auto stranger = f.AddPrinter<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:99");
    auto mine = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    f.AddPrinter<TSimMxPrinter>("GT01", "C0:FF:EE:00:00:77");
    TPrintFixture::PrepareSettings(RememberMx10);
    f.Create();
    EXPECT_EQ(f.Status(0), QStringLiteral("Suche Drucker MX10 …"));
    EXPECT_EQ(f.Form->ScanTimer()->interval(), 11000);
    EXPECT_TRUE(f.Form->ScanTimer()->isActive());

    ASSERT_TRUE(f.WaitConnected());
    EXPECT_EQ(f.Status(0), QStringLiteral("Verbunden: MX10"));
    EXPECT_EQ(f.Form->Printer()->Device(), f.Ble.DeviceOf(mine.get()));
    EXPECT_FALSE(stranger->IsConnected());
    EXPECT_TRUE(mine->IsConnected());
    EXPECT_FALSE(f.Form->ScanTimer()->isActive());
    EXPECT_FALSE(f.Form->IsAutoConnectPending());
    // Name and address as the device reports them are written at once.
    const TAppSettings saved = SavedSettings();
    EXPECT_EQ(saved.PrinterName, QStringLiteral("MX10"));
    EXPECT_EQ(saved.PrinterAddress, QString::fromLatin1(kAddr));
    // The state request is answered with the head temperature.
    EXPECT_TRUE(f.WaitFor([&] { return f.Status(1) == QStringLiteral("Kopf: 35 °C"); }));
}

TEST(PrinterStartup, NotFoundWhenTheSearchTimeEnds)
{
    TPrintFixture f;
    f.ScanTimerMs = 40;
    f.AddPrinter<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:99");
    TPrintFixture::PrepareSettings(RememberMx10);
    f.Create();
    EXPECT_EQ(f.Status(0), QStringLiteral("Suche Drucker MX10 …"));
    ASSERT_TRUE(f.WaitFor([&] { return !f.Form->ScanTimer()->isActive(); }, 5000));
    EXPECT_EQ(f.Status(0), QStringLiteral("Drucker MX10 nicht gefunden – eingeschaltet? Hier klicken"));
    EXPECT_FALSE(f.Form->IsAutoConnectPending());
    EXPECT_FALSE(f.Form->IsConnecting());
}

TEST(PrinterStartup, DialogDuringTheSearchTakesOverItsReports)
{
    TPrintFixture f;
    f.ScanTimerMs = 40;
    auto mine = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    f.AddPrinter<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:99");
    TPrintFixture::PrepareSettings(RememberMx10);
    f.Create();  // not shown: the search's reports are still queued
    f.WithPrinterDialog([&](TPrinterSetupForm& dlg) {
        EXPECT_TRUE(f.WaitFor([&] { return dlg.LbDevices->count() == 2; }));
        QTest::qWait(150);  // past the search time, every report delivered
        EXPECT_EQ(dlg.LbDevices->count(), 2);
        EXPECT_FALSE(f.Form->IsConnecting());
        EXPECT_FALSE(f.Form->IsConnected());
        EXPECT_FALSE(f.Form->ScanTimer()->isActive());
        dlg.BtnClose->click();
    });
    EXPECT_FALSE(mine->IsConnected());
    EXPECT_EQ(f.Status(0), QStringLiteral("Suche Drucker MX10 …"));
}

TEST(PrinterConnection, StateRequestOnlyForV5G)
{
    for (int protocol : {0, 1, 7}) {
        SCOPED_TRACE(protocol);
        TPrintFixture f;
        auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
        TPrintFixture::PrepareSettings([&](TAppSettings& s) {
            RememberMx10(s);
            s.Protocol = protocol;
        });
        f.Create();
        ASSERT_TRUE(f.WaitConnected());
        f.Ble.WaitIdle();
        QTest::qWait(20);
        EXPECT_EQ(printer->StateRequests(), protocol == 0 ? 1 : 0);
    }
}

TEST(PrinterConnection, ConnectingFailureAndRefusal)
{
    TPrintFixture f;
    auto broken = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    TSimFaults faults;
    faults.RefuseDiscovery = true;
    broken->SetFaults(faults);
    TPrintFixture::PrepareSettings([](TAppSettings&) {});
    f.Create();

    // Started from the dialog, whose state line reports the failure as well.
    f.WithPrinterDialog([&](TPrinterSetupForm& dlg) {
        f.Form->ConnectToDevice(f.Ble.DeviceOf(broken.get()));
        EXPECT_EQ(f.Status(0), QStringLiteral("Verbinde mit MX10 …"));
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Verbinde …"));
        EXPECT_TRUE(f.Form->IsConnecting());
        // A second request while connecting is ignored.
        f.Form->ConnectToDevice(f.Ble.DeviceOf(broken.get()));
        EXPECT_TRUE(f.WaitFor([&] { return !f.Form->IsConnecting(); }));
        EXPECT_EQ(dlg.LblState->text(),
                  QStringLiteral("Fehlgeschlagen: Service AE30 / Characteristics AE01+AE02 nicht gefunden (Details im Log)"));
        dlg.BtnClose->click();
    });
    EXPECT_FALSE(f.Form->IsConnected());
    EXPECT_EQ(f.Status(0), QStringLiteral("Verbindung fehlgeschlagen – hier klicken"));
    EXPECT_EQ(f.Status(3),
              QStringLiteral("Service AE30 / Characteristics AE01+AE02 nicht gefunden (Details im Log)"));
    // Nothing is remembered from a failed connection.
    EXPECT_TRUE(SavedSettings().PrinterAddress.isEmpty());

    // The link is busy (a connect it was given directly hangs while time
    // stands still): the window's connect is refused at once.
    auto silent = f.AddPrinter<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:20");
    TSimFaults ignore;
    ignore.IgnoreDiscovery = true;
    silent->SetFaults(ignore);
    auto good = f.AddPrinter<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:30");
    f.Clock.SetAutoAdvance(false);
    f.Form->Printer()->Connect(f.Ble.DeviceOf(silent.get()));
    f.WithPrinterDialog([&](TPrinterSetupForm& dlg) {
        f.Form->ConnectToDevice(f.Ble.DeviceOf(good.get()));
        EXPECT_EQ(f.Status(0), QStringLiteral("Fehler: Es läuft bereits ein Vorgang"));
        EXPECT_FALSE(f.Form->IsConnecting());
        // The dialog does not stay at "Verbinde …" for a connect that never began.
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Fehler: Es läuft bereits ein Vorgang"));
        dlg.BtnClose->click();
    });
    f.Clock.SetAutoAdvance(true);
    EXPECT_TRUE(f.WaitFor([&] { return f.Status(0) == QStringLiteral("Verbindung fehlgeschlagen – hier klicken"); }));
    EXPECT_FALSE(good->IsConnected());
}

TEST(PrinterConnection, DisconnectClearsTemperatureButNotTheJob)
{
    TPrintFixture f;
    auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    printer->SetHeadTemperature(41);
    TPrintFixture::PrepareSettings(RememberMx10);
    f.Create();
    ASSERT_TRUE(f.WaitConnected());
    ASSERT_TRUE(f.WaitFor([&] { return f.Status(1) == QStringLiteral("Kopf: 41 °C"); }));

    f.Form->DisconnectPrinter(nullptr);
    EXPECT_FALSE(f.Form->IsConnected());
    EXPECT_EQ(f.Status(0), QStringLiteral("Getrennt – hier klicken zum Verbinden"));
    EXPECT_EQ(f.Status(1), QString());
    EXPECT_FALSE(printer->IsConnected());
}

TEST(PrinterConnection, PrinterReportsInTheStatusLine)
{
    TPrintFixture f;
    auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    TPrintFixture::PrepareSettings(RememberMx10);
    f.Create();
    ASSERT_TRUE(f.WaitConnected());
    f.Ble.WaitIdle();
    QTest::qWait(20);
    struct Case {
        std::vector<uint8_t> Data;
        QString Status3;  // empty: unchanged
    };
    const std::vector<Case> cases = {
        {{0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0x09, 0x00, 0xFF}, QStringLiteral("Kein Papier!")},
        {{0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0xD2, 0x00, 0xFF},
         QStringLiteral("Druckkopf überhitzt – kurz abkühlen lassen")},
        {{0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0x08, 0x00, 0xFF}, QStringLiteral("Akku schwach – bitte laden")},
        {{0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0x80, 0x00, 0xFF}, QString()},
        {{0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0x02, 0x00, 0xFF}, QString()},
    };
    for (const Case& c : cases) {
        f.Form->SetStatus(3, QStringLiteral("vorher"));
        printer->InjectNotification(kSimUuidAe02, c.Data);
        f.Ble.WaitIdle();  // delivered to the link, which has queued it for the window
        QCoreApplication::processEvents();
        EXPECT_EQ(f.Status(3), c.Status3.isEmpty() ? QStringLiteral("vorher") : c.Status3);
    }
    printer->InjectNotification(kSimUuidAe02, {0x51, 0x78, 0xD3, 0x00, 0x01, 0x00, 0x2D, 0x00, 0xFF});
    EXPECT_TRUE(f.WaitFor([&] { return f.Status(1) == QStringLiteral("Kopf: 45 °C"); }));
    // Outside printing no paper is only a status text.
    EXPECT_TRUE(f.Dialogs.Shown.isEmpty()) << f.Dialogs.Shown.join('\n').toStdString();
}

TEST(PrinterConnection, StatusBarClickOpensTheDialog)
{
    TPrintFixture f;
    TPrintFixture::PrepareSettings([](TAppSettings&) {});
    f.Create();
    f.Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.Form.get()));
    bool shown = false;
    QTimer::singleShot(0, f.Form.get(), [&] {
        TPrinterSetupForm* dlg = f.Form->PrinterDialog();
        shown = dlg != nullptr;
        if (dlg) {
            EXPECT_EQ(dlg->LblState->text(), QStringLiteral("Nicht verbunden"));
            EXPECT_FALSE(dlg->BtnTest->isEnabled());
            dlg->BtnClose->click();
        }
    });
    QTest::mouseClick(f.Form->StatusBar(), Qt::LeftButton, {}, QPoint(500, 10));
    EXPECT_TRUE(shown);
    EXPECT_EQ(f.Form->PrinterDialog(), nullptr);
}

}  // namespace
