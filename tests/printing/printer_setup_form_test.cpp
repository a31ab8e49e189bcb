// The printer setup dialog, on its own and opened from the main window.
#include "print_fixture.h"

#include "ble/nimbo_ble.h"
#include "printing/printer_setup_form.h"
#include "settings/app_settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kAddr = "C0:FF:EE:00:00:10";

// A dialog over a link of its own, for the checks that need no window.
struct TLoneDialog {
    TSimBleManager Ble;
    TNimboBle Link{&Ble, [](std::function<void()> c) {
        QMetaObject::invokeMethod(qApp, std::move(c), Qt::QueuedConnection);
    }};
    TAppSettings Settings;
    std::unique_ptr<TPrinterSetupForm> Dlg;

    void Open() { Dlg = std::make_unique<TPrinterSetupForm>(nullptr, &Link, &Settings); }
    TBleDevice* Add(const char* Name, const char* Addr)
    {
        return Ble.AddPrinter(std::make_shared<TSimMxPrinter>(Name, Addr));
    }
    QStringList Items() const
    {
        QStringList out;
        for (int i = 0; i < Dlg->LbDevices->count(); ++i)
            out << Dlg->LbDevices->item(i)->text();
        return out;
    }
};

TEST(PrinterSetupForm, LoadsTheSettings)
{
    TLoneDialog t;
    t.Open();
    EXPECT_EQ(t.Dlg->windowTitle(), QStringLiteral("Drucker & Druckeinstellungen"));
    EXPECT_EQ(t.Dlg->size(), QSize(660, 500));
    EXPECT_EQ(t.Dlg->EdFilter->text(), QStringLiteral("MX"));
    EXPECT_EQ(t.Dlg->LblSaved->text(),
              QStringLiteral("Noch kein Drucker gespeichert – nach dem ersten Verbinden wird er gemerkt."));
    EXPECT_TRUE(t.Dlg->ChkAuto->isChecked());
    EXPECT_EQ(t.Dlg->ProtocolIndex(), 0);
    EXPECT_EQ(t.Dlg->SeEnergy->value(), 30000);
    EXPECT_EQ(t.Dlg->SeEnergy->singleStep(), 1000);
    EXPECT_EQ(t.Dlg->SeV5X->value(), 93);

    t.Settings.PrinterName = QStringLiteral("MXW01");
    t.Settings.PrinterAddress = QStringLiteral("AA:BB");
    t.Settings.Protocol = 1;
    t.Settings.AutoConnect = false;
    t.Settings.AutoTemp = false;
    t.Open();
    EXPECT_EQ(t.Dlg->EdFilter->text(), QStringLiteral("MXW01"));
    EXPECT_EQ(t.Dlg->LblSaved->text(), QStringLiteral("Gespeicherter Drucker: MXW01 (AA:BB)"));
    EXPECT_FALSE(t.Dlg->ChkAuto->isChecked());
    EXPECT_FALSE(t.Dlg->ChkAutoTemp->isChecked());
    EXPECT_EQ(t.Dlg->ProtocolIndex(), 1);
}

TEST(PrinterSetupForm, OutOfRangeValuesAreShownAndSavedWithinRange)
{
    struct Case {
        int32_t TAppSettings::*Field;
        int32_t Stored;
        int32_t Shown;
    };
    const std::vector<Case> cases = {
        {&TAppSettings::PacketSize, 10, 20},   {&TAppSettings::PacketSize, 9999, 512},
        {&TAppSettings::Energy, 70000, 65535}, {&TAppSettings::Energy, 0, 1000},
        {&TAppSettings::Density, -5, 0},       {&TAppSettings::Quality, 0, 1},
        {&TAppSettings::Speed, 300, 255},      {&TAppSettings::V5XDensity, 150, 100},
        {&TAppSettings::FeedMm, -3, 0},        {&TAppSettings::GapMm, 61, 60},
        {&TAppSettings::IntervalMs, 500, 200}, {&TAppSettings::Protocol, 5, 1},
        {&TAppSettings::Protocol, -2, 0},
    };
    for (const Case& c : cases) {
        TLoneDialog t;
        t.Settings.*c.Field = c.Stored;
        t.Open();
        t.Dlg->SaveToSettings();
        EXPECT_EQ(t.Settings.*c.Field, c.Shown) << "stored " << c.Stored;
    }
}

TEST(PrinterSetupForm, DeviceListOneEntryPerDevice)
{
    TLoneDialog t;
    t.Settings.PrinterAddress = QStringLiteral("c0:ff:ee:00:00:02");
    TBleDevice* a = t.Add("MX10", "C0:FF:EE:00:00:01");
    TBleDevice* b = t.Add("MX06", "C0:FF:EE:00:00:02");
    TBleDevice* nameless = t.Add("", "C0:FF:EE:00:00:03");
    // A name is shown as the device sends it, markers of Qt's text filling included.
    TBleDevice* odd = t.Add("Drucker %1 %3", "C0:FF:EE:00:00:04");
    t.Open();
    t.Dlg->UpdateState(false, false, QString());
    EXPECT_FALSE(t.Dlg->BtnConnect->isEnabled());  // nothing selected yet
    for (int i = 0; i < 10; ++i)
        t.Dlg->DeviceFound(a, -40 - i);
    t.Dlg->DeviceFound(nameless, -50);
    t.Dlg->DeviceFound(b, -70);
    t.Dlg->DeviceFound(nullptr, -70);
    t.Dlg->DeviceFound(odd, -80);
    EXPECT_EQ(t.Items(), QStringList({QStringLiteral("MX10   (C0:FF:EE:00:00:01, -40 dBm)"),
                                      QStringLiteral("MX06   (C0:FF:EE:00:00:02, -70 dBm)  ★ gespeichert"),
                                      QStringLiteral("Drucker %1 %3   (C0:FF:EE:00:00:04, -80 dBm)")}));
    EXPECT_EQ(t.Dlg->ItemDevice(0), a);
    EXPECT_EQ(t.Dlg->ItemDevice(1), b);
    // The first entry is selected for the user, but "Verbinden" waits for a click.
    EXPECT_EQ(t.Dlg->LbDevices->currentRow(), 0);
    EXPECT_FALSE(t.Dlg->BtnConnect->isEnabled());
    t.Dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.Dlg.get()));
    const QRect r = t.Dlg->LbDevices->visualItemRect(t.Dlg->LbDevices->item(1));
    QTest::mouseClick(t.Dlg->LbDevices->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(t.Dlg->LbDevices->currentRow(), 1);
    EXPECT_TRUE(t.Dlg->BtnConnect->isEnabled());
}

TEST(PrinterSetupForm, AScanThatCannotStartSaysWhy)
{
    const std::pair<TBleState, const char*> cases[] = {
        {TBleState::bsNoAdapter, "Kein Bluetooth-Adapter gefunden."},
        {TBleState::bsPoweredOff, "Bluetooth ist ausgeschaltet."},
        {TBleState::bsNoService, "Der Bluetooth-Dienst läuft nicht (sudo systemctl start bluetooth)."},
    };
    for (const auto& [state, text] : cases) {
        SCOPED_TRACE(text);
        TLoneDialog t;
        t.Ble.SetState(state);
        t.Open();
        t.Dlg->BtnScan->click();
        EXPECT_EQ(t.Dlg->LblState->text(), QString::fromUtf8(text));
        EXPECT_EQ(t.Ble.ScansStarted(), 0);
    }
}

TEST(PrinterSetupForm, ScanListsWhatTheLinkReports)
{
    TLoneDialog t;
    t.Add("MX10", "C0:FF:EE:00:00:01");
    t.Add("GT01", "C0:FF:EE:00:00:02");
    t.Add("mx11", "C0:FF:EE:00:00:03");
    t.Open();
    t.Link.SetOnDeviceFound([&](TNimboBle*, TBleDevice* d, int32_t r) { t.Dlg->DeviceFound(d, r); });
    t.Dlg->EdFilter->setText(QStringLiteral("  mx "));
    t.Dlg->BtnScan->click();
    EXPECT_EQ(t.Dlg->LblState->text(), QStringLiteral("Suche läuft …"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.Dlg->LbDevices->count() == 2; }));
    t.Ble.WaitIdle();
    QTest::qWait(20);
    EXPECT_EQ(t.Items(), QStringList({QStringLiteral("MX10   (C0:FF:EE:00:00:01, -60 dBm)"),
                                      QStringLiteral("mx11   (C0:FF:EE:00:00:03, -60 dBm)")}));
    // A new search starts with an empty list.
    t.Dlg->BtnScan->click();
    EXPECT_EQ(t.Dlg->LbDevices->count(), 0);
    EXPECT_EQ(t.Ble.ScansStarted(), 2);
}

TEST(PrinterSetupForm, UpdateStateTexts)
{
    TLoneDialog t;
    t.Open();
    t.Dlg->DeviceFound(t.Add("MX10", kAddr), -50);
    struct Case {
        bool Connected, Connecting;
        QString Info, State;
        bool Connect, Disconnect;
    };
    const std::vector<Case> cases = {
        {false, true, QString(), QStringLiteral("Verbinde …"), false, false},
        {true, false, QStringLiteral("MX10"), QStringLiteral("Verbunden: MX10"), false, true},
        {false, false, QStringLiteral("Fehlgeschlagen: x"), QStringLiteral("Fehlgeschlagen: x"), true, false},
        {false, false, QString(), QStringLiteral("Nicht verbunden"), true, false},
    };
    for (const Case& c : cases) {
        t.Dlg->UpdateState(c.Connected, c.Connecting, c.Info);
        EXPECT_EQ(t.Dlg->LblState->text(), c.State);
        EXPECT_EQ(t.Dlg->BtnConnect->isEnabled(), c.Connect) << c.State.toStdString();
        EXPECT_EQ(t.Dlg->BtnDisconnect->isEnabled(), c.Disconnect) << c.State.toStdString();
        EXPECT_EQ(t.Dlg->BtnTest->isEnabled(), c.Disconnect) << c.State.toStdString();
    }
}

TEST(PrinterSetupForm, Mx10ValuesKeepFeedGapAndV5XDensity)
{
    TLoneDialog t;
    t.Settings.Protocol = 1;
    t.Settings.Energy = 5000;
    t.Settings.Density = 0;
    t.Settings.Quality = 2;
    t.Settings.Speed = 40;
    t.Settings.PacketSize = 300;
    t.Settings.IntervalMs = 0;
    t.Settings.AutoTemp = false;
    t.Settings.V5XDensity = 55;
    t.Settings.FeedMm = 12;
    t.Settings.GapMm = 7;
    t.Open();
    t.Dlg->BtnMX10->click();
    t.Dlg->SaveToSettings();
    const TAppSettings& s = t.Settings;
    EXPECT_EQ(s.Protocol, 0);
    EXPECT_EQ(s.Energy, 30000);
    EXPECT_EQ(s.Density, 200);
    EXPECT_EQ(s.Quality, 5);
    EXPECT_EQ(s.Speed, 10);
    EXPECT_EQ(s.PacketSize, 180);
    EXPECT_EQ(s.IntervalMs, 20);
    EXPECT_TRUE(s.AutoTemp);
    EXPECT_EQ(s.V5XDensity, 55);
    EXPECT_EQ(s.FeedMm, 12);
    EXPECT_EQ(s.GapMm, 7);
}

// Opened from the main window: the values on screen are kept however it closes.
TEST(PrinterSetupForm, EscapeAndCloseBothKeepTheValues)
{
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Schließen");
        TPrintFixture f;
        TPrintFixture::PrepareSettings([](TAppSettings&) {});
        f.Create();
        f.WithPrinterDialog([&](TPrinterSetupForm& dlg) {
            dlg.SePacket->setValue(64);
            dlg.RbV5X->setChecked(true);
            dlg.ChkAuto->setChecked(false);
            if (escape)
                QTest::keyClick(&dlg, Qt::Key_Escape);
            else
                QTest::mouseClick(dlg.BtnClose, Qt::LeftButton);
        });
        TAppSettings saved;
        saved.Load();
        EXPECT_EQ(saved.PacketSize, 64);
        EXPECT_EQ(saved.Protocol, 1);
        EXPECT_FALSE(saved.AutoConnect);
        EXPECT_EQ(f.Form->Printer()->PacketSize(), 64);  // applied to the link
    }
}

TEST(PrinterSetupForm, ConnectTestPrintAndDisconnectFromTheDialog)
{
    TPrintFixture f;
    auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kAddr);
    f.AddPrinter<TSimMxPrinter>("MX06", "C0:FF:EE:00:00:06");
    TPrintFixture::PrepareSettings([](TAppSettings&) {});
    f.Create();
    f.WithPrinterDialog([&](TPrinterSetupForm& dlg) {
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Nicht verbunden"));
        dlg.BtnScan->click();
        ASSERT_TRUE(f.WaitFor([&] { return dlg.LbDevices->count() == 2; }));
        int row = dlg.ItemDevice(0) == f.Ble.DeviceOf(printer.get()) ? 0 : 1;
        const QRect r = dlg.LbDevices->visualItemRect(dlg.LbDevices->item(row));
        dlg.SeEnergy->setValue(20000);  // taken along by the double click
        // A double click as the system delivers it: press and release, then the double click.
        QTest::mouseClick(dlg.LbDevices->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(dlg.LbDevices->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Verbinde …"));
        ASSERT_TRUE(f.WaitConnected());
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Verbunden: MX10"));
        EXPECT_EQ(dlg.LblSaved->text(), QStringLiteral("Gespeicherter Drucker: MX10 (C0:FF:EE:00:00:10)"));
        EXPECT_TRUE(dlg.BtnTest->isEnabled());
        EXPECT_FALSE(dlg.BtnConnect->isEnabled());

        // The test print takes the values on screen.
        dlg.SeEnergy->setValue(12000);
        dlg.BtnTest->click();
        EXPECT_EQ(f.Status(3), QStringLiteral("Sende Testdruck …"));
        ASSERT_TRUE(f.WaitJobDone());
        EXPECT_EQ(f.Status(3), QStringLiteral("Fertig gedruckt."));

        dlg.BtnDisconnect->click();
        EXPECT_EQ(dlg.LblState->text(), QStringLiteral("Nicht verbunden"));
        EXPECT_FALSE(dlg.BtnTest->isEnabled());
        dlg.BtnClose->click();
    });
    EXPECT_EQ(f.Status(0), QStringLiteral("Getrennt – hier klicken zum Verbinden"));
    const std::vector<TSimV5GPrint> prints = printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].Raster.Height, 20 * 8);
    EXPECT_EQ(prints[0].Energy, 12000);
    // The test label: a frame and a large bold line; some dots, not all.
    const auto& dots = prints[0].Raster.Dots;
    const auto inked = std::count(dots.begin(), dots.end(), 1);
    EXPECT_GT(inked, 2000);
    EXPECT_LT(inked, static_cast<long>(dots.size()) / 2);
    TAppSettings saved;
    saved.Load();
    EXPECT_EQ(saved.PrinterName, QStringLiteral("MX10"));
    EXPECT_EQ(saved.Energy, 12000);
}

// Every control lies within the dialog as a person sees it.
TEST(PrinterSetupForm, ControlsLieInsideTheDialog)
{
    TLoneDialog t;
    t.Open();
    t.Dlg->DeviceFound(t.Add("MX10", kAddr), -52);
    t.Dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.Dlg.get()));
    EXPECT_EQ(t.Dlg->grab().size(), QSize(660, 500));
    int checked = 0;
    for (QWidget* w : t.Dlg->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        const QRect r(w->mapTo(t.Dlg.get(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(t.Dlg->rect().contains(r)) << w->metaObject()->className();
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

}  // namespace
