// Discovery through the adapter: the filter, repeated reports, known devices,
// the scan ending by itself, and every way BlueZ can refuse to scan.

#include "ble/sim/sim_mx_printer.h"
#include "bluez_fixture.h"

#include <thread>

namespace {

class BluezScan : public TBluezFixture {};

TEST_F(BluezScan, SetsLowEnergyFilterAndReportsEveryAdvertisementThroughOneDevice)
{
    const QString path = Fake->AddPrinter(std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10"));
    ASSERT_TRUE(Manager->StartDiscovery(60000));

    const QVariantMap filter = Fake->DiscoveryFilter();
    EXPECT_EQ(filter.value("Transport").toString(), "le");
    EXPECT_EQ(filter.value("DuplicateData").toBool(), true);
    EXPECT_TRUE(filter.value("DuplicateData").metaType() == QMetaType::fromType<bool>());
    const QStringList calls = Fake->Calls();
    EXPECT_LT(calls.indexOf("SetDiscoveryFilter /org/bluez/hci0"), calls.indexOf("StartDiscovery /org/bluez/hci0"));
    EXPECT_TRUE(Fake->Discovering());

    for (int rssi : {-71, -64, -58})
        Fake->Advertise(path, rssi);
    ASSERT_TRUE(Listener.WaitSeen(3));
    const auto seen = Listener.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Rssi, -71);
    EXPECT_EQ(seen[1].Rssi, -64);
    EXPECT_EQ(seen[2].Rssi, -58);
    EXPECT_EQ(seen[1].Device, seen[0].Device);
    EXPECT_EQ(seen[2].Device, seen[0].Device);
    EXPECT_EQ(seen[0].Device->Name(), "MX10");
    EXPECT_EQ(seen[0].Device->Address(), "C0:FF:EE:00:00:10");

    // Callbacks come on the backend's own thread, never on the caller's.
    const auto threads = Listener.Threads();
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(threads[0], std::this_thread::get_id());

    Fake->Rename(path, QString::fromUtf8("Kühlschrank"));
    EXPECT_TRUE(Eventually([&] { return seen[0].Device->Name() == "Kühlschrank"; }));
}

TEST_F(BluezScan, KeepsSeparateObjectsForSeparateDevicesAndForAScanLater)
{
    const QString a = Fake->AddPrinter(std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10"));
    const QString b = Fake->AddPrinter(std::make_shared<TSimMxPrinter>("", "C0:FF:EE:00:00:11"));
    TBleDevice* first = Discover(a);
    TBleDevice* second = Discover(b);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->Name(), "");

    Manager->CancelDiscovery();
    ASSERT_TRUE(Eventually([&] { return !Fake->Discovering(); }));
    EXPECT_EQ(Discover(a, -40), first);
}

TEST_F(BluezScan, ReportsKnownDevicesWithAFreshSignalAtTheStart)
{
    Fake->AddKnownPrinter(std::make_shared<TSimMxPrinter>("MX06", "C0:FF:EE:00:00:06"), -55);
    const QString stale = Fake->AddKnownPrinter(std::make_shared<TSimMxPrinter>("MX05", "C0:FF:EE:00:00:05"),
                                                std::nullopt);
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    ASSERT_TRUE(Listener.WaitSeen(1));
    // Only the device in range is reported; the cached one comes once it advertises.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto seen = Listener.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Device->Name(), "MX06");
    EXPECT_EQ(seen[0].Rssi, -55);

    Fake->Advertise(stale, -80);
    ASSERT_TRUE(Listener.WaitSeen(2));
    seen = Listener.Seen();
    EXPECT_EQ(seen[1].Device->Name(), "MX05");
    EXPECT_EQ(seen[1].Rssi, -80);
}

TEST_F(BluezScan, StopsByItselfWhenTheTimeoutRunsOut)
{
    ASSERT_TRUE(Manager->StartDiscovery(150));
    EXPECT_TRUE(Fake->Discovering());
    EXPECT_TRUE(Eventually([&] { return !Fake->Discovering(); }));
    EXPECT_EQ(Fake->CallCount("StopDiscovery"), 1);
}

TEST_F(BluezScan, ASecondStartWhileScanningExtendsTheRunningScan)
{
    ASSERT_TRUE(Manager->StartDiscovery(300));
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_TRUE(Fake->Discovering());
    EXPECT_EQ(Fake->CallCount("StartDiscovery"), 1);
    EXPECT_EQ(Fake->CallCount("StopDiscovery"), 0);
}

TEST_F(BluezScan, CancelStopsTheScanAndIsHarmlessWithoutOne)
{
    Manager->CancelDiscovery();
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    Manager->CancelDiscovery();
    Manager->CancelDiscovery();
    EXPECT_TRUE(Eventually([&] { return !Fake->Discovering(); }));
    // Only the running scan was stopped; BlueZ never heard a stop without a start.
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    EXPECT_EQ(Fake->CallCount("StopDiscovery"), 1);
}

TEST(BluezScanRefused, StartDiscoveryAnswersFalse)
{
    struct TCase {
        const char* Name;
        std::function<void(TFakeBluez&)> Arrange;
    };
    const TCase cases[] = {
        {"no adapter", [](TFakeBluez&) {}},
        {"adapter powered off", [](TFakeBluez& f) { f.AddAdapter(false); }},
        {"filter refused",
         [](TFakeBluez& f) {
             f.AddAdapter(true);
             f.SetAnswer("SetDiscoveryFilter", TFakeAnswer::Error);
         }},
        {"start refused (no permission)",
         [](TFakeBluez& f) {
             f.AddAdapter(true);
             f.SetAnswer("StartDiscovery", TFakeAnswer::Error);
         }},
        {"object list never answered",
         [](TFakeBluez& f) {
             f.AddAdapter(true);
             f.SetAnswer("GetManagedObjects", TFakeAnswer::Never);
         }},
        {"start never answered",
         [](TFakeBluez& f) {
             f.AddAdapter(true);
             f.SetAnswer("StartDiscovery", TFakeAnswer::Never);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrivateBus bus;
        TFakeBluez fake(bus.Address());
        c.Arrange(fake);
        TBluezManager manager(bus.Address(), ShortTimeouts());
        bool started = true;
        const long long ms = MsTaken([&] { started = manager.StartDiscovery(5000); });
        EXPECT_FALSE(started);
        // A silent BlueZ costs one call timeout, not the caller's guard.
        EXPECT_LT(ms, ShortTimeouts().CallMs + 1000);
    }
}

TEST(BluezScanRefused, NoBluetoothServiceOrNoBusAnswersFalse)
{
    {
        TPrivateBus bus; // a bus on which nobody owns org.bluez
        TBluezManager manager(bus.Address(), ShortTimeouts());
        EXPECT_FALSE(manager.StartDiscovery(1000));
        manager.CancelDiscovery();
    }
    TBluezManager nowhere("unix:path=/nonexistent/pellwerk-bus", ShortTimeouts());
    EXPECT_FALSE(nowhere.StartDiscovery(1000));
    nowhere.CancelDiscovery();
}

} // namespace
