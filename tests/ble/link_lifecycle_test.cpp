// Jobs whose printer goes away: dropped, disconnected, replaced, or the link destroyed.
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

std::shared_ptr<TSimMxPrinter> StallingPrinter()
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(500, 100, 100);
    TSimFaults f;
    f.NeverResume = true;
    printer->SetFaults(f);
    return printer;
}

bool WaitUntil(const std::function<bool()>& Pred)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        if (Pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(LinkLifecycle, PrinterDroppingTheConnectionEndsTheJob)
{
    struct Case {
        std::string Label;
        bool V5X;
        int64_t DropAfter;
    };
    const std::vector<Case> cases = {{"V5G", false, 2000}, {"V5X", true, 1500}};
    for (const Case& c : cases) {
        TLinkHarness h;
        std::shared_ptr<TSimPrinterModel> printer;
        if (c.V5X)
            printer = std::make_shared<TSimMxwPrinter>();
        else
            printer = std::make_shared<TSimMxPrinter>();
        ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
        TSimFaults f;
        f.DropAfterBytes = c.DropAfter;
        printer->SetFaults(f);
        h.Link->SetPacketSize(100);
        const TNbMonoImage raster = PatternRaster(384, 200);
        if (c.V5X)
            h.Link->PrintV5X(NbV5XBuildJob(raster, 93, 0));
        else
            h.Link->PrintV5G(raster, TNbV5GParams::Default());
        const TDoneRecord r = h.WaitPrintDone();
        EXPECT_FALSE(r.Success) << c.Label;
        EXPECT_EQ(r.Msg, "WriteCharacteristic fehlgeschlagen") << c.Label;
        // The packet that crossed the limit was the last one taken.
        EXPECT_GE(printer->BytesWritten(), c.DropAfter) << c.Label;
        EXPECT_LT(printer->BytesWritten(), c.DropAfter + 100) << c.Label;
        EXPECT_FALSE(printer->IsConnected()) << c.Label;
    }
}

TEST(LinkLifecycle, DisconnectDuringAPausedJobEndsItAtOnce)
{
    TLinkHarness h;
    auto printer = StallingPrinter();
    ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
    h.Clock.SetAutoAdvance(false); // a timeout would take forever
    h.Link->SetIntervalMs(0);
    h.Link->PrintV5GRaw(std::vector<uint8_t>(3000, 0x00));
    ASSERT_TRUE(WaitUntil([&] { return printer->Paused() && h.Manager.IsIdle(); }));
    h.Link->Disconnect();
    const TDoneRecord r = h.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_EQ(r.Msg, "Verbindung zum Drucker wurde getrennt");
    EXPECT_EQ(printer->BytesWritten(), 500);
}

TEST(LinkLifecycle, DisconnectDuringConnectEndsIt)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>();
    TSimFaults f;
    f.IgnoreDiscovery = true;
    printer->SetFaults(f);
    h.Clock.SetAutoAdvance(false);
    h.Link->Connect(h.Manager.AddPrinter(printer));
    ASSERT_TRUE(h.Main.RunUntil([&] { return !h.Logs.empty(); }));
    h.Link->Disconnect();
    ASSERT_TRUE(h.Main.RunUntil([&] { return !h.Connects.empty(); }));
    EXPECT_FALSE(h.Connects[0].Success);
    EXPECT_EQ(h.Connects[0].Msg, "Verbindung zum Drucker wurde getrennt");
    EXPECT_EQ(h.Link->Device(), nullptr);
}

TEST(LinkLifecycle, DoneHandlerMayStartTheNextJob)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>();
    ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
    h.Link->SetIntervalMs(0);
    int jobs = 0;
    h.Link->SetOnPrintDone([&](TNimboBle* sender, bool ok, const std::string& msg) {
        h.PrintDones.push_back({ok, msg});
        if (++jobs == 1)
            sender->PrintV5GRaw(std::vector<uint8_t>(300, 0x00));
    });
    h.Link->PrintV5GRaw(std::vector<uint8_t>(200, 0x00));
    ASSERT_TRUE(h.Main.RunUntil([&] { return h.PrintDones.size() == 2; }));
    EXPECT_TRUE(h.PrintDones[0].Success);
    EXPECT_TRUE(h.PrintDones[1].Success);
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), 500);
}

// Where the worker is when the link goes: waiting for flow control, in the
// cool-down, waiting for service discovery; with simulated and with real time.
enum class TStage { Paused, CoolDown, Discovery };

void DestroyDuring(TStage Stage, bool RealTime)
{
    TSimBleManager manager;
    TSimClock clock;
    clock.SetAutoAdvance(false);
    TSimMainQueue main;
    auto printer = Stage == TStage::Paused ? StallingPrinter() : std::make_shared<TSimMxPrinter>();
    if (Stage == TStage::CoolDown)
        printer->SetHeadTemperature(90);
    TBleDevice* device = manager.AddPrinter(printer);

    auto link = std::make_unique<TNimboBle>(&manager, main.Poster(), RealTime ? nullptr : &clock);
    int done = 0;
    int connects = 0;
    std::vector<std::string> logs;
    link->SetOnPrintDone([&](TNimboBle*, bool, const std::string&) { ++done; });
    link->SetOnConnected([&](TNimboBle*, bool, const std::string&) { ++connects; });
    link->SetOnLog([&](TNimboBle*, const std::string& m) { logs.push_back(m); });
    link->SetIntervalMs(0);

    if (Stage == TStage::Discovery) {
        TSimFaults f;
        f.IgnoreDiscovery = true;
        printer->SetFaults(f);
        link->Connect(device);
        ASSERT_TRUE(main.RunUntil([&] { return !logs.empty(); }));
    } else {
        link->Connect(device);
        ASSERT_TRUE(main.RunUntil([&] { return connects == 1; }));
        manager.WaitIdle();
        link->PrintV5G(PatternRaster(384, 100), TNbV5GParams::Default());
        if (Stage == TStage::Paused)
            ASSERT_TRUE(WaitUntil([&] { return printer->Paused() && manager.IsIdle(); }));
        else
            ASSERT_TRUE(main.RunUntil([&] { return logs.size() >= 2; })); // the cool-down message
    }
    const int64_t written = printer->BytesWritten();
    const auto start = std::chrono::steady_clock::now();
    link.reset();
    // The real waits are 15 s, 30 s and 10 s; the destruction cuts them short.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(printer->IsConnected());
    // Whatever the worker queued before it ended finds the link gone and does nothing.
    main.RunPending();
    EXPECT_EQ(done, 0);
    EXPECT_EQ(printer->BytesWritten(), written);
}

TEST(LinkLifecycle, DestroyedLinkStopsItsWorker)
{
    for (TStage stage : {TStage::Paused, TStage::CoolDown, TStage::Discovery})
        for (bool realTime : {false, true}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(stage)) + (realTime ? " real" : " simulated"));
            DestroyDuring(stage, realTime);
        }
}

} // namespace
