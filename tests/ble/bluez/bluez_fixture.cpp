#include "bluez_fixture.h"

#include <thread>

TBluezTimeouts ShortTimeouts()
{
    TBluezTimeouts t;
    t.CallMs = 800;
    t.WriteMs = 800;
    t.ConnectMs = 1500;
    return t;
}

void TBluezFixture::SetUp()
{
    Fake = std::make_unique<TFakeBluez>(Bus.Address());
    Fake->AddAdapter(true);
    Manager = std::make_unique<TBluezManager>(Bus.Address(), ShortTimeouts());
    Manager->SetListener(&Listener);
}

void TBluezFixture::TearDown()
{
    if (Manager)
        Manager->SetListener(nullptr);
    Manager.reset();
    Fake.reset();
}

TBleDevice* TBluezFixture::Discover(const QString& path, int rssi)
{
    if (!Manager->StartDiscovery(60000)) {
        ADD_FAILURE() << "StartDiscovery answered false";
        return nullptr;
    }
    const size_t before = Listener.Seen().size();
    Fake->Advertise(path, rssi);
    if (!Listener.WaitSeen(before + 1)) {
        ADD_FAILURE() << "the advertisement of " << path.toStdString() << " was not reported";
        return nullptr;
    }
    return Listener.Seen().back().Device;
}

TBleDevice* TBluezFixture::ConnectTo(const QString& path)
{
    TBleDevice* device = Discover(path);
    if (!device)
        return nullptr;
    const size_t before = Listener.Resolved().size();
    if (!device->DiscoverServices()) {
        ADD_FAILURE() << "DiscoverServices answered false";
        return nullptr;
    }
    if (!Listener.WaitResolved(before + 1)) {
        ADD_FAILURE() << "no ServicesDiscovered; BlueZ saw: " << Fake->Calls().join(", ").toStdString();
        return nullptr;
    }
    return device;
}

TBleCharacteristic* FindChar(TBleDevice* device, const char* uuid)
{
    for (TBleService* s : device->Services())
        if (TBleCharacteristic* c = s->FindCharacteristic(uuid))
            return c;
    return nullptr;
}

bool Eventually(const std::function<bool()>& cond, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

long long MsTaken(const std::function<void()>& fn)
{
    const auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}
