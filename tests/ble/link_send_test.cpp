// Packets, progress, flow control, cancellation and notifications of the link.
#include "link_fixture.h"

#include "ble/ble_central.h"
#include "lineprinter/line_printer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const std::vector<uint8_t> kPauseMsg = {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF};

struct TConnected {
    TLinkHarness H;
    std::shared_ptr<TSimMxPrinter> Printer;

    explicit TConnected(std::shared_ptr<TSimMxPrinter> printer = std::make_shared<TSimMxPrinter>())
        : Printer(std::move(printer))
    {
        const TDoneRecord r = H.ConnectAndWait(H.Manager.AddPrinter(Printer));
        EXPECT_TRUE(r.Success) << r.Msg;
        H.Logs.clear();
        H.Notifications.clear();
    }

    // Waits (real time) until the printer has paused the sender and the pause was delivered.
    bool WaitPaused()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            if (Printer->Paused() && H.Manager.IsIdle())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
};

TEST(LinkSend, PacketsProgressAndPauses)
{
    struct Case {
        int32_t Bytes;
        int32_t PacketSize;
        std::vector<size_t> Sizes;
        std::vector<std::pair<int32_t, int32_t>> Progress;
    };
    const std::vector<Case> cases = {
        {1000, 180, {180, 180, 180, 180, 180, 100}, {{0, 1000}, {1000, 1000}}},
        {5760, 180, std::vector<size_t>(32, 180), {{0, 5760}, {2880, 5760}, {5760, 5760}}},
        {3200, 100, std::vector<size_t>(32, 100), {{0, 3200}, {1600, 3200}, {3200, 3200}}},
        // A packet size below 1 from a damaged settings file still advances, one byte at a time.
        {5, 0, {1, 1, 1, 1, 1}, {{0, 5}, {5, 5}}},
        {3, -7, {1, 1, 1}, {{0, 3}, {3, 3}}},
    };
    for (const Case& c : cases) {
        TConnected t;
        t.H.Link->SetPacketSize(c.PacketSize);
        const uint64_t start = t.H.Clock.TickMs();
        t.H.Link->PrintV5GRaw(std::vector<uint8_t>(static_cast<size_t>(c.Bytes), 0x00));
        const TDoneRecord r = t.H.WaitPrintDone();
        EXPECT_TRUE(r.Success) << r.Msg;
        EXPECT_EQ(r.Msg, "OK");
        EXPECT_EQ(t.Printer->PacketSizes(kSimUuidAe01), c.Sizes) << c.Bytes;
        EXPECT_EQ(t.H.Progress, c.Progress) << c.Bytes;
        // The default pause of 30 ms follows every packet, the last one too.
        EXPECT_EQ(t.H.Clock.TickMs() - start, 30u * c.Sizes.size()) << c.Bytes;
    }
}

TEST(LinkSend, SendCommandWritesPiecesWithPausesBetween)
{
    TConnected t;
    t.H.Link->SetPacketSize(20);
    const uint64_t start = t.H.Clock.TickMs();
    t.H.Link->SendCommand(std::vector<uint8_t>(50, 0x00));
    EXPECT_EQ(t.Printer->PacketSizes(kSimUuidAe01), (std::vector<size_t>{20, 20, 10}));
    EXPECT_EQ(t.H.Clock.TickMs() - start, 60u);
    // No progress, no busy flag: a job may start right away.
    t.H.Main.RunPending();
    EXPECT_TRUE(t.H.Progress.empty());

    t.H.Link->SetPacketSize(0);
    t.H.Link->SendCommand(NbV5GGetState());
    t.H.Settle();
    EXPECT_EQ(t.Printer->StateRequests(), 1);
}

TEST(LinkSend, NothingWorksWithoutAPrinter)
{
    TLinkHarness h;
    TNbMonoImage mono;
    mono.Init(8, 1, 1);
    const std::vector<std::function<void()>> ops = {
        [&] { h.Link->SendCommand(NbV5GGetState()); },
        [&] { h.Link->PrintV5G(mono, TNbV5GParams::Default()); },
        [&] { h.Link->PrintV5GRaw({1, 2, 3}); },
        [&] { h.Link->PrintV5X(NbV5XBuildJob(mono, 93, 0)); },
        [&] { h.Link->PrintText(u"Hallo", TNbV5GParams::Default(), 32, 384, u""); },
    };
    for (size_t i = 0; i < ops.size(); ++i) {
        try {
            ops[i]();
            ADD_FAILURE() << "operation " << i << " did not raise";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Kein Drucker verbunden") << i;
        }
    }
    h.Settle();
    EXPECT_TRUE(h.PrintDones.empty());
}

TEST(LinkSend, PauseWithoutResumeTimesOut)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(500, 100, 100);
    TSimFaults f;
    f.NeverResume = true;
    printer->SetFaults(f);
    TConnected t(printer);
    t.H.Link->SetIntervalMs(0);
    t.H.Link->SetPacketSize(100);
    const uint64_t start = t.H.Clock.TickMs();
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(5760, 0x00));
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_EQ(r.Msg, "Drucker hat die Flusskontrolle nicht freigegeben (Timeout)");
    EXPECT_EQ(t.H.Clock.TickMs() - start, 15000u);
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), 500);
}

TEST(LinkSend, PausedSendResumesAndFinishes)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(500, 100, 100);
    TSimFaults f;
    f.NeverResume = true;
    printer->SetFaults(f);
    TConnected t(printer);
    t.H.Clock.SetAutoAdvance(false);
    t.H.Link->SetIntervalMs(0);
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(2000, 0x00));
    ASSERT_TRUE(t.WaitPaused());
    // The pause came with the packet that filled the buffer; nothing follows it.
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), 500);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), 500) << "wrote while paused";
    t.H.Main.RunPending();
    EXPECT_TRUE(t.H.PrintDones.empty());
    printer->SetFaults(TSimFaults{}); // from now on it resumes by itself
    printer->Resume();
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_TRUE(r.Success) << r.Msg;
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), 2000);
}

TEST(LinkSend, CancelWakesAPausedSend)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(500, 100, 100);
    TSimFaults f;
    f.NeverResume = true;
    printer->SetFaults(f);
    TConnected t(printer);
    t.H.Clock.SetAutoAdvance(false);
    t.H.Link->SetIntervalMs(0);
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(5000, 0x00));
    ASSERT_TRUE(t.WaitPaused());
    t.H.Link->CancelSending();
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_EQ(r.Msg, "Abgebrochen");
    EXPECT_LT(printer->BytesWritten(kSimUuidAe01), 5000);

    // The next job starts with the gate open and the cancel forgotten.
    printer->SetFaults(TSimFaults{});
    t.H.Clock.SetAutoAdvance(true);
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(100, 0x00));
    EXPECT_TRUE(t.H.WaitPrintDone().Success);
}

TEST(LinkSend, RefusedWriteEndsTheJob)
{
    TConnected t;
    TSimFaults f;
    f.RefuseWrites = true;
    t.Printer->SetFaults(f);
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(100, 0x00));
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_FALSE(r.Success);
    EXPECT_EQ(r.Msg, "WriteCharacteristic fehlgeschlagen");
    try {
        t.H.Link->SendCommand({0x01});
        ADD_FAILURE() << "SendCommand did not raise";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "WriteCharacteristic fehlgeschlagen");
    }
}

TEST(LinkSend, SecondOperationWhileBusyIsRefused)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetBuffer(500, 100, 100);
    TSimFaults f;
    f.NeverResume = true;
    printer->SetFaults(f);
    TConnected t(printer);
    TBleDevice* device = t.H.Link->Device();
    TBleDevice* other = t.H.Manager.AddPrinter(std::make_shared<TSimMxPrinter>("MX06", "C0:FF:EE:00:00:06"));
    t.H.Clock.SetAutoAdvance(false);
    t.H.Link->SetIntervalMs(0);
    t.H.Link->PrintV5GRaw(std::vector<uint8_t>(2000, 0x00));
    ASSERT_TRUE(t.WaitPaused());

    TNbMonoImage mono;
    mono.Init(8, 1, 1);
    const std::vector<std::function<void()>> ops = {
        [&] { t.H.Link->PrintV5GRaw({1}); },
        [&] { t.H.Link->PrintV5G(mono, TNbV5GParams::Default()); },
        [&] { t.H.Link->PrintV5X(NbV5XBuildJob(mono, 93, 0)); },
        [&] { t.H.Link->Connect(other); },
    };
    for (size_t i = 0; i < ops.size(); ++i) {
        try {
            ops[i]();
            ADD_FAILURE() << "operation " << i << " did not raise";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Es läuft bereits ein Vorgang") << i;
        }
    }
    // The refused connect left the running job its printer.
    EXPECT_EQ(t.H.Link->Device(), device);
    printer->SetFaults(TSimFaults{});
    printer->Resume();
    const TDoneRecord r = t.H.WaitPrintDone();
    EXPECT_TRUE(r.Success) << r.Msg;
    t.H.Settle();
    EXPECT_EQ(t.H.PrintDones.size(), 1u);
    EXPECT_TRUE(t.H.Connects.size() == 1u); // only the first connect reported
}

TEST(LinkNotify, OnlyTheNotificationCharacteristicCounts)
{
    const uint32_t all = cpWrite | cpWriteWithoutResponse | cpNotify;
    auto printer = std::make_shared<TSimMxPrinter>(
        "MX10", "C0:FF:EE:00:00:10",
        std::vector<TSimServiceSpec>{{kSimUuidAe30, {{kSimUuidAe01, all}, {kSimUuidAe02, cpNotify}, {kSimUuidAe03, all}}}});
    TConnected t(printer);
    ASSERT_TRUE(printer->SetNotify(kSimUuidAe01, true));
    ASSERT_TRUE(printer->SetNotify(kSimUuidAe03, true));
    const std::vector<uint8_t> temp = {0x51, 0x78, 0xD3, 0x00, 0x01, 0x00, 0x2D, 0x00, 0xFF};
    printer->InjectNotification(kSimUuidAe01, kPauseMsg);
    printer->InjectNotification(kSimUuidAe03, temp);
    t.H.Settle();
    EXPECT_TRUE(t.H.Notifications.empty());
    EXPECT_EQ(t.H.Link->Temperature(), 35); // the printer's own report at connect
    // The pause on AE01 did not close the gate.
    t.H.Link->SetIntervalMs(0);
    t.H.Link->PrintV5GRaw({0x00, 0x00});
    EXPECT_TRUE(t.H.WaitPrintDone().Success);

    printer->InjectNotification(kSimUuidAe02, temp);
    t.H.Settle();
    ASSERT_EQ(t.H.Notifications.size(), 1u);
    EXPECT_EQ(t.H.Notifications[0], temp);
    EXPECT_EQ(t.H.Link->Temperature(), 45);
}

TEST(LinkNotify, OddNotificationsPassUnchangedAndChangeNothing)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetHeadTemperature(40);
    TSimFaults f;
    f.MalformedNotifications = true;
    printer->SetFaults(f);
    TConnected t(printer);
    t.H.Link->SendCommand(NbV5GGetState());
    t.H.Settle();
    // State, temperature, the cut-off frame and the oversized one, in order.
    ASSERT_EQ(t.H.Notifications.size(), 4u);
    EXPECT_EQ(t.H.Notifications[2], (std::vector<uint8_t>{0x51, 0x78, 0xD3, 0x00}));
    EXPECT_EQ(t.H.Notifications[3].size(), 600u);
    EXPECT_EQ(t.H.Link->Temperature(), 40);
    t.H.Link->SetIntervalMs(0);
    t.H.Link->PrintV5GRaw({0x00, 0x00});
    EXPECT_TRUE(t.H.WaitPrintDone().Success);
}

TEST(LinkNotify, TemperatureAgesAfterThreeMinutes)
{
    TConnected t;
    EXPECT_EQ(t.H.Link->Temperature(), 35);
    t.H.Clock.Advance(180000);
    EXPECT_EQ(t.H.Link->Temperature(), 35);
    t.H.Clock.Advance(1);
    EXPECT_EQ(t.H.Link->Temperature(), -1);
    // A report without a reading (0xFF) leaves the old one alone.
    t.Printer->InjectNotification(kSimUuidAe02, {0x51, 0x78, 0xD3, 0x00, 0x01, 0x00, 0xFF, 0x00, 0xFF});
    t.H.Settle();
    EXPECT_EQ(t.H.Link->Temperature(), -1);
    t.Printer->InjectNotification(kSimUuidAe02, {0x51, 0x78, 0xD3, 0x00, 0x01, 0x00, 0x3C, 0x00, 0xFF});
    t.H.Settle();
    EXPECT_EQ(t.H.Link->Temperature(), 60);
}

TEST(LinkNotify, NoTemperatureBeforeAnyReport)
{
    TLinkHarness h;
    EXPECT_EQ(h.Link->Temperature(), -1);
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetHeadTemperature(-1);
    ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
    EXPECT_EQ(h.Link->Temperature(), -1);
}

} // namespace
