// Print jobs end to end: what the simulated printers decode equals what was sent.
#include "link_fixture.h"

#include "lineprinter/line_printer.h"

#include <gtest/gtest.h>

namespace {

template <class TPrinter>
struct TReady {
    TLinkHarness H;
    std::shared_ptr<TPrinter> Printer;

    explicit TReady(std::shared_ptr<TPrinter> printer) : Printer(std::move(printer))
    {
        const TDoneRecord r = H.ConnectAndWait(H.Manager.AddPrinter(Printer));
        EXPECT_TRUE(r.Success) << r.Msg;
        H.Logs.clear();
        H.Progress.clear();
        H.Link->SetPacketSize(180);
        H.Link->SetIntervalMs(0);
    }
};

void ExpectSameRaster(const TNbMonoImage& Got, const TNbMonoImage& Want)
{
    EXPECT_EQ(Got.Width, Want.Width);
    EXPECT_EQ(Got.Height, Want.Height);
    EXPECT_TRUE(Got.Dots == Want.Dots) << "printed raster differs from the raster sent";
}

TEST(LinkV5G, FullRasterIsPrintedAsSent)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(2048, 512, 256); // small buffer: several pauses during the job
    TReady<TSimMxPrinter> t(printer);
    const TNbMonoImage raster = PatternRaster(384, 300);
    const TNbV5GParams params = TNbV5GParams::Default();
    t.H.Link->PrintV5G(raster, params);
    const TDoneRecord r = t.H.WaitPrintDone();
    ASSERT_TRUE(r.Success) << r.Msg;

    const std::vector<TSimV5GPrint> prints = printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    ExpectSameRaster(prints[0].Raster, raster);
    EXPECT_EQ(prints[0].Energy, 10000); // 35 °C: no compensation
    EXPECT_EQ(prints[0].Quality, 3);
    EXPECT_EQ(prints[0].FeedLines, 48);
    EXPECT_EQ(printer->FrameErrors(), 0);
    EXPECT_GT(printer->Pauses(), 2);
    EXPECT_EQ(printer->Resumes(), printer->Pauses());
    const int32_t total = 121 + 300 * 56;
    ASSERT_FALSE(t.H.Progress.empty());
    EXPECT_EQ(t.H.Progress.front(), std::make_pair(0, total));
    EXPECT_EQ(t.H.Progress.back(), std::make_pair(total, total));
    // One event per 16 packets, plus the first and the last.
    const int32_t packets = (total + 179) / 180;
    EXPECT_EQ(t.H.Progress.size(), static_cast<size_t>(1 + packets / 16 + (packets % 16 ? 1 : 0)));
    // The job's own state requests were answered.
    EXPECT_EQ(printer->StateRequests(), 3);
}

TEST(LinkV5G, HeadTemperatureDecidesCoolDownAndEnergy)
{
    struct Case {
        std::string Label;
        int ReportedTemp;     // -1: the printer reports none
        uint64_t AgeMs;       // how old the report is when the job starts
        bool AutoTemperature;
        uint16_t Energy;
        uint64_t WaitMs;      // expected cool-down
        int PrintedEnergy;    // -1: no energy frame
        std::vector<std::string> Logs;
    };
    const std::vector<Case> cases = {
        {"hot", 66, 0, true, 30000, 30000, 18000,
         {"Kopftemperatur 66 °C – warte 30 s zum Abkühlen …", "Kopftemperatur 66 °C: Energie 30000 → 18000"}},
        {"hot, 2:59 old", 66, 179000, true, 30000, 30000, 18000,
         {"Kopftemperatur 66 °C – warte 30 s zum Abkühlen …", "Kopftemperatur 66 °C: Energie 30000 → 18000"}},
        {"stale", 66, 180001, true, 30000, 0, 30000, {}},
        {"none", -1, 0, true, 30000, 0, 30000, {}},
        {"warm", 52, 0, true, 30000, 0, 27000, {"Kopftemperatur 52 °C: Energie 30000 → 27000"}},
        {"cool", 35, 0, true, 30000, 0, 30000, {}},
        {"automatic off", 66, 0, false, 30000, 0, 30000, {}},
        {"no energy", 70, 0, true, 0, 30000, -1, {"Kopftemperatur 70 °C – warte 30 s zum Abkühlen …"}},
        {"low energy", 70, 0, true, 9000, 30000, 9000, {"Kopftemperatur 70 °C – warte 30 s zum Abkühlen …"}},
    };
    for (const Case& c : cases) {
        auto printer = std::make_shared<TSimMxPrinter>();
        printer->SetHeadTemperature(c.ReportedTemp);
        TReady<TSimMxPrinter> t(printer);
        t.H.Link->SetAutoTemperature(c.AutoTemperature);
        t.H.Clock.Advance(c.AgeMs);
        TNbV5GParams params = TNbV5GParams::Default();
        params.Energy = c.Energy;
        const uint64_t start = t.H.Clock.TickMs();
        t.H.Link->PrintV5G(PatternRaster(384, 20), params);
        const TDoneRecord r = t.H.WaitPrintDone();
        ASSERT_TRUE(r.Success) << c.Label << ": " << r.Msg;
        EXPECT_EQ(t.H.Clock.TickMs() - start, c.WaitMs) << c.Label;
        EXPECT_EQ(t.H.Logs, c.Logs) << c.Label;
        ASSERT_EQ(printer->Prints().size(), 1u) << c.Label;
        EXPECT_EQ(printer->Prints()[0].Energy, c.PrintedEnergy) << c.Label;
    }
}

TEST(LinkV5G, CompensateEnergy)
{
    struct Case {
        uint16_t Energy;
        int32_t Temp;
        uint16_t Result;
    };
    const std::vector<Case> cases = {
        {30000, -1, 30000}, {30000, 49, 30000}, {30000, 50, 27000}, {30000, 54, 27000}, {30000, 55, 24000},
        {30000, 60, 21000}, {30000, 65, 18000}, {30000, 69, 18000}, {30000, 70, 15000}, {30000, 253, 15000},
        {20003, 75, 10002}, // 10001.5 goes to the even neighbour
        {20001, 75, 10000}, // 10000.5 likewise
        {12000, 80, 10000}, {8000, 80, 8000},   {10000, 70, 10000}, {65535, 70, 32768}, {0, 70, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TTestLink::CompensateEnergy(c.Energy, c.Temp), c.Result) << c.Energy << " at " << c.Temp;
}

TEST(LinkV5G, CancelDuringCoolDownStopsAfterIt)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetHeadTemperature(80);
    TReady<TSimMxPrinter> t(printer);
    t.H.Clock.SetAutoAdvance(false);
    const int64_t before = printer->BytesWritten();
    t.H.Link->PrintV5G(PatternRaster(384, 10), TNbV5GParams::Default());
    ASSERT_TRUE(t.H.Main.RunUntil([&] { return !t.H.Logs.empty(); }));
    t.H.Link->CancelSending();
    // The wait is not cut short by the cancel ...
    EXPECT_FALSE(t.H.Main.RunUntil([&] { return !t.H.PrintDones.empty(); }, std::chrono::milliseconds(50)));
    t.H.Clock.Advance(30000);
    // ... and the job stops when it is over, before sending anything.
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_EQ(r.Msg, "Abgebrochen");
    EXPECT_EQ(printer->BytesWritten(), before);
}

TEST(LinkV5G, CallerMayChangeItsRasterAtOnce)
{
    TReady<TSimMxPrinter> t(std::make_shared<TSimMxPrinter>());
    TNbMonoImage raster = PatternRaster(384, 40);
    const TNbMonoImage sent = raster;
    t.H.Link->PrintV5G(raster, TNbV5GParams::Default());
    raster.Dots.assign(raster.Dots.size(), 0);
    raster.Height = 0;
    ASSERT_TRUE(t.H.WaitPrintDone().Success);
    ExpectSameRaster(t.Printer->Prints().at(0).Raster, sent);
}

TEST(LinkV5G, BrokenRasterFailsTheJobWithTheBuildersMessage)
{
    TReady<TSimMxPrinter> t(std::make_shared<TSimMxPrinter>());
    TNbMonoImage broken;
    broken.Width = 384;
    broken.Height = 2;
    broken.Dots.assign(10, 1); // not Width * Height
    t.H.Link->PrintV5G(broken, TNbV5GParams::Default());
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_FALSE(r.Msg.empty());
    EXPECT_NE(r.Msg, "OK");
}

TEST(LinkV5X, FullRasterIsPrintedAsSent)
{
    auto printer = std::make_shared<TSimMxwPrinter>();
    printer->SetBuffer(2048, 512, 256);
    TReady<TSimMxwPrinter> t(printer);
    const TNbMonoImage raster = PatternRaster(384, 200);
    const uint64_t start = t.H.Clock.TickMs();
    t.H.Link->PrintV5X(NbV5XBuildJob(raster, 93, 0));
    const TDoneRecord r = t.H.WaitPrintDone();
    ASSERT_TRUE(r.Success) << r.Msg;
    const std::vector<TSimV5XPrint> prints = printer->Prints();
    ASSERT_EQ(prints.size(), 1u);
    ExpectSameRaster(prints[0].Raster, raster);
    EXPECT_EQ(prints[0].Density, 93);
    EXPECT_EQ(prints[0].Rows, 200);
    EXPECT_EQ(printer->Errors(), 0);
    EXPECT_GT(printer->Pauses(), 1);
    // Commands on AE01, only the image on AE03.
    EXPECT_EQ(printer->PacketSizes(kSimUuidAe01), (std::vector<size_t>{9, 12, 9}));
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe03), 200 * 48);
    EXPECT_EQ(t.H.Progress.front(), std::make_pair(0, 200 * 48));
    EXPECT_EQ(t.H.Progress.back(), std::make_pair(200 * 48, 200 * 48));
    // The density settles for 60 ms before the start.
    EXPECT_EQ(t.H.Clock.TickMs() - start, 60u);
}

TEST(LinkV5X, NoDensityCommandNoSettlingPause)
{
    auto printer = std::make_shared<TSimMxwPrinter>();
    TReady<TSimMxwPrinter> t(printer);
    TNbV5XJob job = NbV5XBuildJob(PatternRaster(384, 3), 50, 0);
    job.DensityCmd.clear();
    const uint64_t start = t.H.Clock.TickMs();
    t.H.Link->PrintV5X(job);
    ASSERT_TRUE(t.H.WaitPrintDone().Success);
    EXPECT_EQ(t.H.Clock.TickMs() - start, 0u);
    EXPECT_EQ(printer->PacketSizes(kSimUuidAe01), (std::vector<size_t>{12, 9}));
}

TEST(LinkV5X, StartNotAcceptedSendsNoImage)
{
    struct Case {
        std::string Label;
        bool Answer;
        bool Accept;
        bool EarlyAck; // an acceptance that came before the start command
        std::string Msg;
        uint64_t Elapsed;
    };
    const std::vector<Case> cases = {
        {"refused", true, false, false, "Drucker lehnt Druck ab (Papier, Akku oder Temperatur prüfen)", 60},
        {"silent", false, true, false, "Keine Antwort auf A9 (Startbefehl)", 60 + 5000},
        {"silent after an old ack", false, true, true, "Keine Antwort auf A9 (Startbefehl)", 60 + 5000},
    };
    for (const Case& c : cases) {
        auto printer = std::make_shared<TSimMxwPrinter>();
        printer->SetAnswerStart(c.Answer);
        printer->SetAcceptStart(c.Accept);
        TReady<TSimMxwPrinter> t(printer);
        if (c.EarlyAck) {
            printer->InjectNotification(kSimUuidAe02, {0x22, 0x21, 0xA9, 0x00, 0x01, 0x00, 0x00, 0x00, 0xFF});
            t.H.Settle();
        }
        const uint64_t start = t.H.Clock.TickMs();
        t.H.Link->PrintV5X(NbV5XBuildJob(PatternRaster(384, 50), 93, 0));
        const TDoneRecord r = t.H.WaitPrintDone();
        EXPECT_FALSE(r.Success) << c.Label;
        EXPECT_EQ(r.Msg, c.Msg) << c.Label;
        EXPECT_EQ(printer->BytesWritten(kSimUuidAe03), 0) << c.Label;
        EXPECT_EQ(printer->StartCommands(), 1) << c.Label;
        EXPECT_EQ(t.H.Clock.TickMs() - start, c.Elapsed) << c.Label;
        EXPECT_TRUE(t.H.Progress.empty()) << c.Label;
    }
}

TEST(LinkText, PrintTextPrintsTheLaidOutText)
{
    struct Case {
        std::u16string Text;
        int32_t CharsPerLine;
    };
    const std::vector<Case> cases = {{u"", 32}, {u"Hallo Welt\nZeile 2\tTab", 32}, {u"abc", 16}};
    for (const Case& c : cases) {
        auto printer = std::make_shared<TSimMxPrinter>();
        TReady<TSimMxPrinter> t(printer);
        TNbV5GParams params = TNbV5GParams::Default();
        params.FeedLines = 24;
        t.H.Link->PrintText(c.Text, params, c.CharsPerLine, 384, u"");
        ASSERT_TRUE(t.H.WaitPrintDone().Success);
        ASSERT_EQ(printer->Prints().size(), 1u);
        ExpectSameRaster(printer->Prints()[0].Raster, TNbLinePrinter::TextToMono(c.Text, 384, c.CharsPerLine, u""));
        EXPECT_EQ(printer->Prints()[0].FeedLines, 24);
    }
}

TEST(LinkText, BadLineWidthIsReportedEvenWithoutAPrinter)
{
    TLinkHarness h;
    try {
        h.Link->PrintText(u"x", TNbV5GParams::Default(), 129, 384, u"");
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "129 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)");
    }
    try {
        h.Link->PrintText(u"x", TNbV5GParams::Default(), 32, 384, u"");
        ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Kein Drucker verbunden");
    }
}

TEST(LinkText, PrintLinesTwiceGivesTheSameRasterTwice)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    TReady<TSimMxPrinter> t(printer);
    TNbLinePrinter lp(384, 24);
    lp.AddText(u"Erste Zeile\nZweite Zeile");
    lp.Separator(u'-');
    // Time stands still, so the first job is still in its first packet pause.
    t.H.Clock.SetAutoAdvance(false);
    t.H.Link->SetIntervalMs(30);
    t.H.Link->PrintLines(lp, TNbV5GParams::Default());
    try {
        t.H.Link->PrintLines(lp, TNbV5GParams::Default());
        ADD_FAILURE() << "second job started while the first ran";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Es läuft bereits ein Vorgang");
    }
    t.H.Clock.SetAutoAdvance(true);
    ASSERT_TRUE(t.H.WaitPrintDone().Success);
    t.H.Link->PrintLines(lp, TNbV5GParams::Default());
    ASSERT_TRUE(t.H.Main.RunUntil([&] { return t.H.PrintDones.size() == 2; }));
    EXPECT_TRUE(t.H.PrintDones[0].Success && t.H.PrintDones[1].Success);
    t.H.Settle();
    const std::vector<TSimV5GPrint> prints = printer->Prints();
    ASSERT_EQ(prints.size(), 2u);
    ExpectSameRaster(prints[0].Raster, lp.Render());
    ExpectSameRaster(prints[1].Raster, lp.Render());
    EXPECT_EQ(lp.LineCount(), 3);
}

} // namespace
