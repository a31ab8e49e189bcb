// Destroying the manager in the middle of things, and calls made from the
// callback thread: nothing may hang, crash or call a listener that has left.

#include "ble/sim/sim_mx_printer.h"
#include "bluez_fixture.h"

#include <atomic>
#include <future>
#include <thread>

namespace {

class BluezShutdown : public TBluezFixture {
protected:
    // A manager whose own timeouts are far beyond the test's patience, so
    // that only the shutdown can end what waits.
    void UsePatientManager()
    {
        Manager->SetListener(nullptr);
        TBluezTimeouts t;
        t.CallMs = 20000;
        t.WriteMs = 20000;
        t.ConnectMs = 20000;
        Manager = std::make_unique<TBluezManager>(Bus.Address(), t);
        Manager->SetListener(&Listener);
    }
};

TEST_F(BluezShutdown, ReleasesAWriteThatWaitsForBlueZ)
{
    UsePatientManager();
    TBleDevice* device = ConnectTo(Fake->AddPrinter(std::make_shared<TSimMxPrinter>()));
    ASSERT_NE(device, nullptr);
    TBleCharacteristic* cmd = FindChar(device, kSimUuidAe01);
    Fake->SetAnswer("WriteValue", TFakeAnswer::Never);
    auto write = std::async(std::launch::async, [cmd] { return cmd->Write({0x51, 0x78}); });
    ASSERT_TRUE(Eventually([&] { return Fake->CallCount("WriteValue") == 1; }));

    Manager->SetListener(nullptr);
    const long long ms = MsTaken([&] { Manager.reset(); });
    EXPECT_LT(ms, 3000);
    EXPECT_FALSE(write.get());
}

TEST_F(BluezShutdown, ReleasesAStartDiscoveryThatWaitsForBlueZ)
{
    UsePatientManager();
    Fake->SetAnswer("GetManagedObjects", TFakeAnswer::Never);
    TBluezManager* manager = Manager.get();
    auto start = std::async(std::launch::async, [manager] { return manager->StartDiscovery(10000); });
    ASSERT_TRUE(Eventually([&] { return Fake->CallCount("GetManagedObjects") == 1; }));

    Manager->SetListener(nullptr);
    const long long ms = MsTaken([&] { Manager.reset(); });
    EXPECT_LT(ms, 3000);
    EXPECT_FALSE(start.get());
}

TEST_F(BluezShutdown, StopsARunningScanOnTheWayOut)
{
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    Manager->SetListener(nullptr);
    Manager.reset();
    EXPECT_FALSE(Fake->Discovering());
    EXPECT_EQ(Fake->CallCount("StopDiscovery"), 1);
}

TEST_F(BluezShutdown, DoesNotWaitLongForABlueZThatNeverAnswersTheLastCalls)
{
    TBleDevice* device = ConnectTo(Fake->AddPrinter(std::make_shared<TSimMxPrinter>()));
    ASSERT_NE(device, nullptr);
    Fake->SetAnswer("Disconnect", TFakeAnswer::Never);
    Fake->SetAnswer("StopDiscovery", TFakeAnswer::Never);
    device->Disconnect();
    Manager->SetListener(nullptr);
    const long long ms = MsTaken([&] { Manager.reset(); });
    EXPECT_LT(ms, 2500);
    EXPECT_EQ(Fake->CallCount("Disconnect"), 1);
    EXPECT_EQ(Fake->CallCount("StopDiscovery"), 1);
}

// Calls back into the manager's objects from the callback itself.
class TReentrantListener : public TRecordingListener {
public:
    void DeviceDiscovered(TBleDevice* device, int rssi) override
    {
        Answers.push_back(device->DiscoverServices());
        TRecordingListener::DeviceDiscovered(device, rssi);
    }
    std::vector<bool> Answers; // touched on the callback thread only until the test reads it
};

TEST_F(BluezShutdown, ABlockingCallFromTheCallbackThreadAnswersFalseInsteadOfHanging)
{
    TReentrantListener reentrant;
    Manager->SetListener(&reentrant);
    const QString path = Fake->AddPrinter(std::make_shared<TSimMxPrinter>());
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    Fake->Advertise(path, -60);
    Fake->Advertise(path, -61);
    ASSERT_TRUE(reentrant.WaitSeen(2));
    Manager->SetListener(nullptr);
    EXPECT_EQ(reentrant.Answers, std::vector<bool>({false, false}));
    EXPECT_EQ(Fake->CallCount("Connect"), 0);
}

// Sits in its callback for a while; counts calls that start after detaching.
class TSlowListener : public TRecordingListener {
public:
    void DeviceDiscovered(TBleDevice* device, int rssi) override
    {
        if (Detached.load())
            LateCalls.fetch_add(1);
        Inside.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Inside.store(false);
        TRecordingListener::DeviceDiscovered(device, rssi);
    }
    std::atomic<bool> Inside{false};
    std::atomic<bool> Detached{false};
    std::atomic<int> LateCalls{0};
};

TEST_F(BluezShutdown, DetachingTheListenerWaitsForTheRunningCallbackAndStopsTheRest)
{
    TSlowListener slow;
    Manager->SetListener(&slow);
    const QString path = Fake->AddPrinter(std::make_shared<TSimMxPrinter>());
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    for (int rssi : {-60, -61, -62})
        Fake->Advertise(path, rssi);
    ASSERT_TRUE(Eventually([&] { return slow.Inside.load(); }));
    Manager->SetListener(nullptr);
    slow.Detached.store(true);
    EXPECT_FALSE(slow.Inside.load());
    const size_t atDetach = slow.Seen().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(slow.LateCalls.load(), 0);
    EXPECT_EQ(slow.Seen().size(), atDetach);
}

} // namespace
