// Whole print jobs from the printer link through the BlueZ backend, the fake
// org.bluez and the simulated printers: what the printer decodes must be
// what was sent, with the printer's flow control in effect on the way.

#include "ble/nimbo_ble.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "bluez_fixture.h"
#include "protocol/nimbo_protocol.h"

#include <deque>
#include <functional>
#include <mutex>

namespace {

// The link's events, queued for the test thread, which plays the main
// thread. A plain mutex queue rather than Qt's: ThreadSanitizer follows it.
class TEventQueue {
public:
    TNbPostToMain Poster()
    {
        return [this](std::function<void()> call) {
            std::lock_guard<std::mutex> lock(FMutex);
            FCalls.push_back(std::move(call));
        };
    }
    void RunPending()
    {
        for (;;) {
            std::function<void()> call;
            {
                std::lock_guard<std::mutex> lock(FMutex);
                if (FCalls.empty())
                    return;
                call = std::move(FCalls.front());
                FCalls.pop_front();
            }
            call();
        }
    }

private:
    std::mutex FMutex;
    std::deque<std::function<void()>> FCalls;
};

class BluezJob : public TBluezFixture {
protected:
    void SetUp() override
    {
        TBluezFixture::SetUp();
        Manager->SetListener(nullptr);
        Link = std::make_unique<TNimboBle>(Manager.get(), Events.Poster());
        Link->SetIntervalMs(0);
        Link->SetOnDeviceFound([this](TNimboBle*, TBleDevice* d, int32_t) { Found.push_back(d); });
        Link->SetOnConnected([this](TNimboBle*, bool ok, const std::string& m) { Connects.push_back({ok, m}); });
        Link->SetOnPrintDone([this](TNimboBle*, bool ok, const std::string& m) { Dones.push_back({ok, m}); });
        Link->SetOnProgress([this](TNimboBle*, int32_t sent, int32_t) { LastSent = sent; });
    }
    void TearDown() override
    {
        Link.reset();
        Events.RunPending();
        TBluezFixture::TearDown();
    }

    // Runs the link's events (real time) until cond holds.
    bool RunUntil(const std::function<bool()>& cond, int ms = 20000)
    {
        return Eventually(
            [&] {
                Events.RunPending();
                return cond();
            },
            ms);
    }

    // Scans with the link's name filter, connects and waits for the link to be ready.
    bool ConnectLink(const QString& path)
    {
        Link->StartScan("MX", 60000);
        Fake->Advertise(path, -50);
        if (!RunUntil([&] { return !Found.empty(); }))
            return false;
        Link->Connect(Found.back());
        if (!RunUntil([&] { return !Connects.empty(); }))
            return false;
        EXPECT_TRUE(Connects.back().first) << Connects.back().second;
        return Connects.back().first && Link->IsReady();
    }

    std::pair<bool, std::string> WaitDone()
    {
        if (!RunUntil([&] { return !Dones.empty(); }))
            return {false, "kein OnPrintDone"};
        return Dones.back();
    }

    TEventQueue Events;
    std::unique_ptr<TNimboBle> Link;
    std::vector<TBleDevice*> Found;
    std::vector<std::pair<bool, std::string>> Connects;
    std::vector<std::pair<bool, std::string>> Dones;
    int32_t LastSent = -1;
};

TNbMonoImage Stripes(int32_t height)
{
    TNbMonoImage m;
    m.Init(384, height, 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < 384; ++x)
            m.Dots[static_cast<size_t>(y) * 384 + x] = (x == 0 || y == 0 || (2 * x + 5 * y) % 13 < 4) ? 1 : 0;
    return m;
}

TEST_F(BluezJob, AFlowControlledV5GJobArrivesIntact)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    // A small buffer, so the job is paused and resumed several times on its way.
    printer->SetBuffer(1024, 256, 32);
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));

    const TNbMonoImage mono = Stripes(240);
    Link->SetPacketSize(180);
    Link->PrintV5G(mono, TNbV5GParams::MX10());
    const auto done = WaitDone();
    ASSERT_TRUE(done.first) << done.second;

    ASSERT_TRUE(Eventually([&] { return !printer->Prints().empty(); }));
    const TSimV5GPrint print = printer->Prints().front();
    EXPECT_EQ(print.Raster.Width, mono.Width);
    EXPECT_EQ(print.Raster.Height, mono.Height);
    EXPECT_TRUE(print.Raster.Dots == mono.Dots);
    EXPECT_EQ(printer->FrameErrors(), 0);
    // The sender was held back at least once and went on after each resume.
    EXPECT_GE(printer->Pauses(), 1);
    EXPECT_GE(printer->Resumes(), printer->Pauses() - 1);
    // The command characteristic allows write without response: every packet went as "command".
    const QStringList types = Fake->WriteTypes();
    EXPECT_EQ(types.size(), printer->PacketsWritten());
    EXPECT_EQ(types.filter(" command").size(), types.size());
}

TEST_F(BluezJob, AV5XJobSendsItsImageThroughTheDataCharacteristic)
{
    auto printer = std::make_shared<TSimMxwPrinter>("MXW01", "C0:FF:EE:00:00:01", true);
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));

    const TNbMonoImage mono = Stripes(96);
    const TNbV5XJob job = NbV5XBuildJob(mono, 93, 0);
    Link->SetPacketSize(180);
    Link->PrintV5X(job);
    const auto done = WaitDone();
    ASSERT_TRUE(done.first) << done.second;

    ASSERT_TRUE(Eventually([&] { return !printer->Prints().empty(); }));
    const TSimV5XPrint print = printer->Prints().front();
    EXPECT_TRUE(print.Raster.Dots == mono.Dots);
    EXPECT_EQ(print.Density, 93);
    EXPECT_EQ(print.Rows, 96);
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe03), static_cast<int64_t>(job.ImageData.size()));
    EXPECT_EQ(printer->ImageBytesOutsideJob(), 0);
    EXPECT_EQ(printer->Errors(), 0);
}

TEST_F(BluezJob, APrinterThatDropsTheLinkMidJobFailsTheJobPromptly)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));
    TSimFaults faults;
    faults.DropAfterBytes = printer->BytesWritten() + 3000;
    printer->SetFaults(faults);

    Link->SetPacketSize(100);
    Link->PrintV5G(Stripes(240), TNbV5GParams::MX10());
    std::pair<bool, std::string> done;
    const long long ms = MsTaken([&] { done = WaitDone(); });
    EXPECT_FALSE(done.first);
    EXPECT_EQ(done.second, "WriteCharacteristic fehlgeschlagen");
    EXPECT_LT(ms, 5000);
    EXPECT_GE(printer->BytesWritten(), faults.DropAfterBytes);
    EXPECT_LT(LastSent, 240 * 48);
    EXPECT_FALSE(printer->IsConnected());
}

} // namespace
