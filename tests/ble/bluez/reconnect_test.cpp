// Connecting as bluetoothd really answers: a device keeps no services from an
// earlier connection, a refused Connect is a refused request, a failed connect
// lets the printer go, devices expire after a scan, a printer may already be
// connected, and a disconnect takes its time.

#include "ble/link_messages.h"
#include "ble/sim/sim_mx_printer.h"
#include "bluez_link_fixture.h"

#include <chrono>
#include <thread>

namespace {

class BluezReconnect : public TBluezLinkFixture {};

TEST_F(BluezReconnect, AReconnectToAPrinterThatIsOffEndsNotConnectedWithoutTheOldServices)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    const QString path = Fake->AddPrinter(printer);
    ASSERT_TRUE(ConnectLink(path));
    TBleDevice* device = Link->Device();
    Link->Disconnect();
    ASSERT_TRUE(Eventually([&] { return !printer->IsConnected(); }));
    EXPECT_TRUE(Eventually([&] { return device->Services().empty(); }));

    // Switched off: bluetoothd's Connect fails after its own attempt.
    TSimFaults off;
    off.RefuseDiscovery = true;
    printer->SetFaults(off);
    LogLines.clear();
    std::pair<bool, std::string> verdict;
    const long long ms = MsTaken([&] { verdict = ConnectDevice(device); });
    EXPECT_FALSE(verdict.first);
    EXPECT_EQ(verdict.second, kMsgNoService);
    EXPECT_FALSE(Link->IsReady());
    // Each attempt is refused at once instead of waiting out the 10 s.
    EXPECT_EQ(LogCount("DiscoverServices liefert False (org.bluez.Error.Failed)"), 3);
    EXPECT_EQ(LogCount("0 Service(s) gemeldet"), 3);
    EXPECT_FALSE(Logged("1 Service(s) gemeldet"));
    EXPECT_FALSE(Logged("OnServicesDiscovered kam nicht"));
    EXPECT_LT(ms, 3 * 1500 + 3000);
}

TEST_F(BluezReconnect, AConnectThatFindsNoPrinterServiceLetsTheDeviceGo)
{
    // Connects fine, but offers nothing the link can print with.
    auto printer = std::make_shared<TSimMxPrinter>(
        "MX10", "C0:FF:EE:00:00:10",
        std::vector<TSimServiceSpec>{{"0000180f-0000-1000-8000-00805f9b34fb", {{"00002a19-0000-1000-8000-00805f9b34fb", cpRead | cpNotify}}}});
    TBleDevice* device = FindWithLink(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);
    const auto verdict = ConnectDevice(device);
    EXPECT_FALSE(verdict.first);
    EXPECT_EQ(verdict.second, kMsgNoService);
    // Left connected, the printer would stop advertising for everyone.
    EXPECT_TRUE(Eventually([&] { return !printer->IsConnected(); }));
    EXPECT_GE(Fake->CallCount("Disconnect"), 1);
}

TEST_F(BluezReconnect, ADeviceFromAnExpiredScanGetsAClearMessageAtOnce)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    const QString path = Fake->AddPrinter(printer);
    TBleDevice* device = FindWithLink(path);
    ASSERT_NE(device, nullptr);
    Link->StopScan();
    Fake->Expire(path);
    ASSERT_TRUE(Eventually([&] { return device->Gone(); }));

    std::pair<bool, std::string> verdict;
    const long long ms = MsTaken([&] { verdict = ConnectDevice(device); });
    EXPECT_FALSE(verdict.first);
    EXPECT_EQ(verdict.second, kMsgDeviceGone);
    EXPECT_EQ(LogCount("Dienstsuche, Versuch"), 1);
    EXPECT_TRUE(Logged("DiscoverServices liefert False (org.freedesktop.DBus.Error.UnknownObject)"));
    EXPECT_LT(ms, 1500);

    // A new scan brings it back, and the same object connects again.
    EXPECT_EQ(FindWithLink(path), device);
    EXPECT_FALSE(device->Gone());
    EXPECT_TRUE(ConnectDevice(device).first);
}

TEST_F(BluezReconnect, APrinterAlreadyConnectedToTheAdapterIsFoundAndConnects)
{
    for (const bool alreadyConnectedError : {false, true}) {
        SCOPED_TRACE(alreadyConnectedError ? "Connect answers AlreadyConnected" : "Connect answers at once");
        TFakeBehaviour b;
        b.AlreadyConnectedError = alreadyConnectedError;
        Fake->SetBehaviour(b);
        const std::string address = alreadyConnectedError ? "C0:FF:EE:00:00:21" : "C0:FF:EE:00:00:20";
        auto printer = std::make_shared<TSimMxPrinter>("MX10", address);
        Fake->AddConnectedPrinter(printer);

        // No advertisement: the scan finds it by its state.
        const size_t before = Found.size();
        Link->StartScan("MX", 60000);
        ASSERT_TRUE(RunUntil([&] { return Found.size() > before; }, 3000));
        TBleDevice* device = Found.back();
        EXPECT_EQ(device->Address(), address);
        Link->StopScan();

        const auto verdict = ConnectDevice(device);
        ASSERT_TRUE(verdict.first) << verdict.second;
        Link->PrintV5G(Stripes(40), TNbV5GParams::MX10());
        const auto done = WaitDone();
        ASSERT_TRUE(done.first) << done.second;
        ASSERT_TRUE(Eventually([&] { return !printer->Prints().empty(); }));
        EXPECT_TRUE(printer->Prints().front().Raster.Dots == Stripes(40).Dots);
        Link->Disconnect();
        ASSERT_TRUE(Eventually([&] { return !printer->IsConnected(); }));
    }
}

TEST_F(BluezReconnect, AConnectRightAfterADisconnectEndsConnectedAndStaysSo)
{
    for (const bool drops : {false, true}) {
        SCOPED_TRACE(drops ? "Connect answered, then dropped" : "Connect refused with InProgress");
        auto printer = std::make_shared<TSimMxPrinter>("MX10", drops ? "C0:FF:EE:00:00:31" : "C0:FF:EE:00:00:30");
        const QString path = Fake->AddPrinter(printer);
        ASSERT_TRUE(ConnectLink(path));
        TBleDevice* device = Link->Device();
        TFakeBehaviour b;
        b.DisconnectSettleMs = 400;
        b.ConnectWhileSettlingDrops = drops;
        Fake->SetBehaviour(b);

        // "Trennen", then "Verbinden" at once.
        Link->Disconnect();
        const auto verdict = ConnectDevice(device);
        ASSERT_TRUE(verdict.first) << verdict.second;
        // Not "Verbunden" followed by silence: still there after the old disconnect is long done.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        Events.RunPending();
        EXPECT_TRUE(printer->IsConnected());
        Link->PrintV5G(Stripes(40), TNbV5GParams::MX10());
        const auto done = WaitDone();
        EXPECT_TRUE(done.first) << done.second;
        Fake->SetBehaviour({});
        Link->Disconnect();
        ASSERT_TRUE(Eventually([&] { return !printer->IsConnected(); }));
    }
}

} // namespace
