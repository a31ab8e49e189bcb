// The print command end to end: what the simulated printers decode is
// compared dot for dot with the label's own rendering.
#include "print_fixture.h"

#include "ble/nimbo_ble.h"
#include "editor/controls/modern_button.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"
#include "printing/printer_setup_form.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kMxAddr = "C0:FF:EE:00:00:10";
const char* const kMxwAddr = "C0:FF:EE:00:00:01";
const QString kSend3 = QStringLiteral("Sende \"Nummerierung\" (3×) …");

// A window connected to one simulated printer at start.
template <class TPrinter>
struct TConnected {
    TPrintFixture F;
    std::shared_ptr<TPrinter> Printer;

    TConnected(const char* Name, const char* Addr, const std::function<void(TAppSettings&)>& Edit = {})
    {
        Printer = F.AddPrinter<TPrinter>(Name, Addr);
        TPrintFixture::PrepareSettings([&](TAppSettings& s) {
            s.PrinterName = QString::fromLatin1(Name);
            s.PrinterAddress = QString::fromLatin1(Addr);
            if (Edit)
                Edit(s);
        });
        F.Create();
        EXPECT_TRUE(F.WaitConnected());
        F.Ble.WaitIdle();
        QTest::qWait(20);
        F.Status3.clear();
    }

    void OpenNummerierung()
    {
        F.Form->OpenTemplate(QDir(TAppSettings::TemplateDir()).filePath(QStringLiteral("Nummerierung") + kLabelFileExt));
        ASSERT_EQ(F.Form->Doc().Name, QStringLiteral("Nummerierung"));
    }

    // Copies 1..n of the open label, stacked as the printer must receive them.
    TNbMonoImage Expected(int Copies, int GapDots) const
    {
        std::vector<TNbMonoImage> r;
        for (int n = 1; n <= Copies; ++n)
            r.push_back(F.Form->Doc().RenderMono(n));
        return StackMonoImages(r, GapDots);
    }
};

void ExpectSameRaster(const TNbMonoImage& Got, const TNbMonoImage& Want)
{
    EXPECT_EQ(Got.Width, Want.Width);
    EXPECT_EQ(Got.Height, Want.Height);
    EXPECT_TRUE(Got.Dots == Want.Dots) << "printed raster differs from the rendered copies";
}

TEST(PrintCommand, ThreeNumberedCopiesAsOneV5GRaster)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr);
    t.OpenNummerierung();
    // Each copy shows its own number, so a mix-up of copies would show.
    const TLabelDoc& doc = t.F.Form->Doc();
    ASSERT_FALSE(doc.RenderMono(1).Dots == doc.RenderMono(2).Dots);
    ASSERT_FALSE(doc.RenderMono(2).Dots == doc.RenderMono(3).Dots);

    t.F.Form->CopiesBox()->setValue(3);
    t.F.Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.F.Form.get()));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : t.F.Form.get(), Qt::Key_P, Qt::ControlModifier);
    t.F.RecordStatus3();
    EXPECT_EQ(t.F.Status(3), kSend3);
    EXPECT_TRUE(t.F.Form->IsPrinting());
    EXPECT_FALSE(t.F.Form->PrintButton()->isEnabled());
    ASSERT_TRUE(t.F.WaitJobDone());
    EXPECT_TRUE(t.F.Form->PrintButton()->isEnabled());
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Fertig gedruckt."));

    const std::vector<TSimV5GPrint> prints = t.Printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    const TSimV5GPrint& p = prints[0];
    EXPECT_EQ(p.Raster.Height, 3 * 160 + 2 * 32);
    ExpectSameRaster(p.Raster, t.Expected(3, 32));
    EXPECT_EQ(p.FeedLines, 8 * 8);
    EXPECT_EQ(p.Energy, 30000);
    EXPECT_EQ(p.Quality, 5);
    EXPECT_EQ(p.Density, 200);
    EXPECT_EQ(t.Printer->FrameErrors(), 0);
    // Status texts as the job went on: sending, progress from 0 up to 100, done.
    ASSERT_GE(t.F.Status3.size(), 4);
    EXPECT_EQ(t.F.Status3[0], kSend3);
    EXPECT_EQ(t.F.Status3[1], QStringLiteral("Drucke … 0 %"));
    EXPECT_EQ(t.F.Status3.back(), QStringLiteral("Fertig gedruckt."));
    EXPECT_EQ(t.F.Status3[t.F.Status3.size() - 2], QStringLiteral("Drucke … 100 %"));
    EXPECT_TRUE(t.F.Dialogs.Shown.isEmpty()) << t.F.Dialogs.Shown.join('\n').toStdString();
}

TEST(PrintCommand, SameLabelThroughV5XWithItsDensity)
{
    TConnected<TSimMxwPrinter> t("MXW01", kMxwAddr, [](TAppSettings& s) {
        s.Protocol = 1;
        s.V5XDensity = 77;
        s.GapMm = 2;
    });
    t.OpenNummerierung();
    t.F.Form->CopiesBox()->setValue(3);
    t.F.Form->PrintLabel();
    EXPECT_EQ(t.F.Status(3), kSend3);
    ASSERT_TRUE(t.F.WaitJobDone());
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Fertig gedruckt."));
    const std::vector<TSimV5XPrint> prints = t.Printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].Density, 77);
    EXPECT_EQ(prints[0].Mode, 0);
    EXPECT_EQ(prints[0].Rows, 3 * 160 + 2 * 16);
    ExpectSameRaster(prints[0].Raster, t.Expected(3, 16));
    EXPECT_EQ(t.Printer->Errors(), 0);
}

TEST(PrintCommand, ProgressInPercentOfTheBytes)
{
    // 120 rows of 48 bytes: 5760 bytes of image data in packets of 180 give
    // progress after packets 16 and 32, that is 0, 2880 and 5760 bytes.
    TConnected<TSimMxwPrinter> t("MXW01", kMxwAddr, [](TAppSettings& s) {
        s.Protocol = 1;
        s.PacketSize = 180;
    });
    t.F.Form->Doc().LengthMm = 15;
    t.F.Form->PrintLabel();
    t.F.RecordStatus3();
    ASSERT_TRUE(t.F.WaitJobDone());
    EXPECT_EQ(t.F.Status3, QStringList({QStringLiteral("Sende \"Neues Etikett\" (1×) …"), QStringLiteral("Drucke … 0 %"), QStringLiteral("Drucke … 50 %"),
                                        QStringLiteral("Drucke … 100 %"), QStringLiteral("Fertig gedruckt.")}));
}

TEST(PrintCommand, CopiesBelowOnePrintOnce)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr);
    t.OpenNummerierung();
    t.F.Form->CopiesBox()->setValue(0);
    t.F.Form->PrintLabel();
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Sende \"Nummerierung\" (1×) …"));
    ASSERT_TRUE(t.F.WaitJobDone());
    const std::vector<TSimV5GPrint> prints = t.Printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    ExpectSameRaster(prints[0].Raster, t.Expected(1, 0));
}

TEST(PrintCommand, HotHeadCoolsDownAndLowersTheEnergy)
{
    TPrintFixture f;
    auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kMxAddr);
    printer->SetHeadTemperature(66);
    TPrintFixture::PrepareSettings([](TAppSettings& s) {
        s.PrinterName = QStringLiteral("MX10");
        s.PrinterAddress = QString::fromLatin1(kMxAddr);
    });
    f.Create();
    ASSERT_TRUE(f.WaitConnected());
    ASSERT_TRUE(f.WaitFor([&] { return f.Status(1) == QStringLiteral("Kopf: 66 °C"); }));
    f.Status3.clear();
    const uint64_t before = f.Clock.TickMs();
    f.Form->PrintLabel();
    f.RecordStatus3();
    ASSERT_TRUE(f.WaitJobDone());
    EXPECT_GE(f.Clock.TickMs() - before, 30000u);
    ASSERT_GE(f.Status3.size(), 4);
    EXPECT_EQ(f.Status3[0], QStringLiteral("Sende \"Neues Etikett\" (1×) …"));
    EXPECT_EQ(f.Status3[1], QStringLiteral("Kopftemperatur 66 °C – warte 30 s zum Abkühlen …"));
    EXPECT_EQ(f.Status3[2], QStringLiteral("Kopftemperatur 66 °C: Energie 30000 → 18000"));
    EXPECT_EQ(f.Status3[3], QStringLiteral("Drucke … 0 %"));
    ASSERT_EQ(printer->Prints().size(), 1u);
    EXPECT_EQ(printer->Prints()[0].Energy, 18000);
}

TEST(PrintCommand, FailedJobEnablesTheButtonBeforeTheBox)
{
    struct Case {
        const char* Label;
        TSimFaults Faults;
        QString Msg;
    };
    TSimFaults neverResume;
    neverResume.NeverResume = true;
    TSimFaults refuseWrites;
    refuseWrites.RefuseWrites = true;
    const std::vector<Case> cases = {
        {"pause without resume", neverResume,
         QStringLiteral("Drucker hat die Flusskontrolle nicht freigegeben (Timeout)")},
        {"writes refused", refuseWrites, QStringLiteral("WriteCharacteristic fehlgeschlagen")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        TConnected<TSimMxPrinter> t("MX10", kMxAddr);
        t.Printer->SetBuffer(500, 100, 100);
        t.Printer->SetFaults(c.Faults);
        bool enabledAtBox = false;
        bool printingAtBox = true;
        t.F.Dialogs.OnBox = [&](const QString&) {
            enabledAtBox = t.F.Form->PrintButton()->isEnabled();
            printingAtBox = t.F.Form->IsPrinting();
        };
        t.F.Form->PrintLabel();
        ASSERT_TRUE(t.F.WaitJobDone());
        EXPECT_EQ(t.F.Status(3), QStringLiteral("Druck fehlgeschlagen: ") + c.Msg);
        ASSERT_EQ(t.F.Dialogs.Shown.size(), 1);
        EXPECT_EQ(t.F.Dialogs.Shown[0],
                  QStringLiteral("error: Druck fehlgeschlagen:\r\n") + c.Msg +
                      QStringLiteral("\r\n\r\nIst der Drucker noch eingeschaltet und in Reichweite?"));
        EXPECT_TRUE(enabledAtBox);
        EXPECT_FALSE(printingAtBox);
    }
}

TEST(PrintCommand, RunningJobIgnoresPrintsAndOutlivesADisconnect)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr, [](TAppSettings& s) { s.IntervalMs = 0; });
    // The printer pauses and time stands still: the job waits for the resume.
    t.F.Clock.SetAutoAdvance(false);
    TSimFaults faults;
    faults.NeverResume = true;
    t.Printer->SetFaults(faults);
    t.Printer->SetBuffer(500, 100, 100);
    t.F.Form->PrintLabel();
    ASSERT_TRUE(t.F.WaitFor([&] { return t.Printer->Paused(); }));
    const int64_t written = t.Printer->BytesWritten();

    t.F.Form->SetStatus(3, QStringLiteral("vorher"));
    t.F.Form->PrintLabel();  // ignored: no second job, no box
    EXPECT_EQ(t.F.Status(3), QStringLiteral("vorher"));
    EXPECT_TRUE(t.F.Dialogs.Shown.isEmpty());
    EXPECT_FALSE(t.F.Form->PrintButton()->isEnabled());

    // Only the end of the job ends the printing state, not the disconnect.
    t.F.Form->DisconnectPrinter(nullptr);
    EXPECT_TRUE(t.F.Form->IsPrinting());
    EXPECT_FALSE(t.F.Form->PrintButton()->isEnabled());
    t.F.Clock.SetAutoAdvance(true);
    ASSERT_TRUE(t.F.WaitJobDone());
    EXPECT_TRUE(t.F.Form->PrintButton()->isEnabled());
    EXPECT_TRUE(t.F.Status(3).startsWith(QStringLiteral("Druck fehlgeschlagen: "))) << t.F.Status(3).toStdString();
    EXPECT_EQ(t.Printer->BytesWritten(), written);
    EXPECT_TRUE(t.Printer->Prints().empty());
}

TEST(PrintCommand, LinkRefusingAtOnceShowsTheError)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr);
    t.F.Form->Printer()->Disconnect();  // the link lost the printer; the window still thinks it is there
    t.F.Form->PrintLabel();
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Fehler: Kein Drucker verbunden"));
    EXPECT_FALSE(t.F.Form->IsPrinting());
    EXPECT_TRUE(t.F.Form->PrintButton()->isEnabled());
}

TEST(PrintCommand, NotConnectedAsksAndDropsTheJob)
{
    TPrintFixture f;
    auto printer = f.AddPrinter<TSimMxPrinter>("MX10", kMxAddr);
    TPrintFixture::PrepareSettings([](TAppSettings&) {});
    f.Create();
    const QString question =
        QStringLiteral("yesno: Es ist kein Drucker verbunden.\r\nDrucker jetzt suchen und verbinden?");

    f.Dialogs.YesNo = {false};
    f.Form->PrintLabel();
    EXPECT_EQ(f.Dialogs.Shown, QStringList({question}));

    f.Dialogs.YesNo = {true};
    bool dialogShown = false;
    QTimer::singleShot(0, f.Form.get(), [&] {
        if (TPrinterSetupForm* dlg = f.Form->PrinterDialog()) {
            dialogShown = true;
            dlg->BtnClose->click();
        }
    });
    f.Form->PrintLabel();
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(f.Form->IsPrinting());
    QTest::qWait(20);
    EXPECT_EQ(printer->BytesWritten(), 0);
}

TEST(PrintCommand, NoPaperBoxOncePerJobUntilReadyOrReconnect)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr);
    const QString box = QStringLiteral("warning: Der Drucker meldet: kein Papier.");
    auto boxes = [&] { return t.F.Dialogs.Shown.count(box); };
    auto printOnce = [&] {
        t.F.Form->PrintLabel();
        ASSERT_TRUE(t.F.WaitJobDone());
        t.F.Ble.WaitIdle();
        QTest::qWait(20);
    };
    t.Printer->SetState(0x01);
    // Outside printing: only the status text.
    t.Printer->InjectNotification(kSimUuidAe02, {0x51, 0x78, 0xA3, 0x00, 0x01, 0x00, 0x01, 0x00, 0xFF});
    ASSERT_TRUE(t.F.WaitFor([&] { return t.F.Status(3) == QStringLiteral("Kein Papier!"); }));
    EXPECT_EQ(boxes(), 0);

    printOnce();  // the job's state requests report no paper more than once
    EXPECT_EQ(boxes(), 1);
    printOnce();  // not re-armed
    EXPECT_EQ(boxes(), 1);

    t.Printer->SetState(0x00);
    printOnce();  // ready reports re-arm
    t.Printer->SetState(0x01);
    printOnce();
    EXPECT_EQ(boxes(), 2);

    // A new connection re-arms too.
    t.F.Form->DisconnectPrinter(nullptr);
    t.F.Form->ConnectToDevice(t.F.Ble.DeviceOf(t.Printer.get()));
    ASSERT_TRUE(t.F.WaitConnected());
    printOnce();
    EXPECT_EQ(boxes(), 3);
}

// Codes print as they are drawn, numbered per copy; a code that cannot be
// drawn stops the print before anything reaches the printer.
TEST(PrintCommand, CodesPrintAsDrawnAndAnInvalidOneSendsNothing)
{
    TConnected<TSimMxPrinter> t("MX10", kMxAddr, [](TAppSettings& s) { s.GapMm = 2; });
    TLabelDoc& doc = t.F.Form->Doc();
    auto e = std::make_unique<TLabelElement>(ekCode);
    e->Text = QStringLiteral("Fach {NR}");
    e->W = 160;
    e->H = 160;
    TLabelElement* code = doc.Elements.Add(std::move(e));
    t.F.Form->RefreshAll();
    t.F.Form->CopiesBox()->setValue(2);
    t.F.Form->PrintLabel();
    ASSERT_TRUE(t.F.WaitJobDone());
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Fertig gedruckt."));
    ASSERT_EQ(t.Printer->Prints().size(), 1u);
    ExpectSameRaster(t.Printer->Prints()[0].Raster, t.Expected(2, 16));
    ASSERT_FALSE(doc.RenderMono(1).Dots == doc.RenderMono(2).Dots);

    code->CodeType = ctEan8;
    t.F.Form->RefreshAll();
    t.F.Form->PrintLabel();
    EXPECT_EQ(t.F.Status(3), QStringLiteral("Code ungültig: EAN-8 erlaubt nur Ziffern"));
    EXPECT_FALSE(t.F.Form->IsPrinting());
    EXPECT_TRUE(t.F.Form->PrintButton()->isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(t.Printer->Prints().size(), 1u);
    EXPECT_TRUE(t.F.Dialogs.Shown.isEmpty()) << t.F.Dialogs.Shown.join('\n').toStdString();
}

}  // namespace
