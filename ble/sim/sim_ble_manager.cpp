#include "ble/sim/sim_ble_manager.h"

#include "ble/gatt_text.h"

#include <algorithm>
#include <atomic>
#include <chrono>

class TSimDevice;

class TSimCharacteristic : public TBleCharacteristic {
public:
    TSimCharacteristic(TSimDevice& device, TSimCharSpec layout) : FDevice(device), FSpec(std::move(layout)) {}
    std::string Uuid() const override { return FSpec.Uuid; }
    uint32_t Properties() const override { return FSpec.Properties; }
    bool SetNotify(bool enable) override;
    bool Write(const std::vector<uint8_t>& value) override;

private:
    TSimDevice& FDevice;
    const TSimCharSpec FSpec;
};

class TSimService : public TBleService {
public:
    explicit TSimService(std::string uuid) : FUuid(std::move(uuid)) {}
    std::string Uuid() const override { return FUuid; }
    std::vector<TBleCharacteristic*> Characteristics() const override
    {
        std::vector<TBleCharacteristic*> out;
        for (const auto& c : FChars)
            out.push_back(c.get());
        return out;
    }
    std::vector<std::unique_ptr<TSimCharacteristic>> FChars;

private:
    const std::string FUuid;
};

class TSimDevice : public TBleDevice {
public:
    TSimDevice(TSimBleManager& manager, std::shared_ptr<TSimPrinterModel> model, int rssi)
        : FManager(manager), FModel(std::move(model)), FRssi(rssi)
    {
        for (const TSimServiceSpec& s : FModel->Services()) {
            auto service = std::make_unique<TSimService>(s.Uuid);
            for (const TSimCharSpec& c : s.Characteristics)
                service->FChars.push_back(std::make_unique<TSimCharacteristic>(*this, c));
            FServices.push_back(std::move(service));
        }
        FModel->SetNotifySink([this](const std::string& uuid, const std::vector<uint8_t>& value) {
            TSimCharacteristic* c = Find(uuid);
            if (!c)
                return;
            FManager.Post([this, c, value](TBleListener* l) { l->CharacteristicChanged(this, c, value); });
        });
        FModel->SetDropSink([this] {
            FConnected.store(false);
            FDiscovered.store(false);
        });
    }
    ~TSimDevice() override
    {
        FModel->SetNotifySink(nullptr);
        FModel->SetDropSink(nullptr);
    }

    std::string Name() const override { return FModel->Name(); }
    std::string Address() const override { return FModel->Address(); }
    bool DiscoverServices() override
    {
        const TSimFaults faults = FModel->Faults();
        if (faults.RefuseDiscovery)
            return false;
        FModel->Connect();
        FConnected.store(true);
        FDiscovered.store(!faults.IgnoreDiscovery);
        if (!faults.IgnoreDiscovery)
            FManager.Post([this](TBleListener* l) { l->ServicesDiscovered(this); });
        return true;
    }
    std::vector<TBleService*> Services() const override
    {
        // Nothing is known of a device whose discovery never finished.
        std::vector<TBleService*> out;
        if (FDiscovered.load())
            for (const auto& s : FServices)
                out.push_back(s.get());
        return out;
    }
    void Disconnect() override
    {
        // As BlueZ does: the services of a connection that is gone are not listed.
        FConnected.store(false);
        FDiscovered.store(false);
        FModel->Disconnect();
    }

    TSimCharacteristic* Find(const std::string& uuid) const
    {
        for (const auto& s : FServices)
            for (const auto& c : s->FChars)
                if (NbSameUuid(c->Uuid(), uuid))
                    return c.get();
        return nullptr;
    }

    TSimBleManager& FManager;
    const std::shared_ptr<TSimPrinterModel> FModel;
    const int FRssi;
    std::atomic<bool> FConnected{false};
    std::atomic<bool> FDiscovered{false};
    std::vector<std::unique_ptr<TSimService>> FServices;
};

bool TSimCharacteristic::SetNotify(bool enable)
{
    return FDevice.FConnected.load() && FDevice.FModel->SetNotify(FSpec.Uuid, enable);
}

bool TSimCharacteristic::Write(const std::vector<uint8_t>& value)
{
    if (!FDevice.FConnected.load())
        return false;
    const uint64_t before = FDevice.FManager.PostedCount();
    const bool ok = FDevice.FModel->Write(FSpec.Uuid, value);
    const uint64_t after = FDevice.FManager.PostedCount();
    if (after > before)
        FDevice.FManager.WaitDelivered(after);
    return ok;
}

// --- manager -------------------------------------------------------------------

TSimBleManager::TSimBleManager()
{
    FThread = std::thread([this] { Run(); });
    std::lock_guard lock(FMutex);
    FDispatcherId = FThread.get_id();
}

TSimBleManager::~TSimBleManager()
{
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FCond.notify_all();
    FThread.join();
    FDevices.clear();
}

TBleDevice* TSimBleManager::AddPrinter(std::shared_ptr<TSimPrinterModel> model, int rssi)
{
    auto device = std::make_unique<TSimDevice>(*this, std::move(model), rssi);
    TBleDevice* out = device.get();
    std::lock_guard lock(FMutex);
    FDevices.push_back(std::move(device));
    return out;
}

TBleDevice* TSimBleManager::DeviceOf(const TSimPrinterModel* model) const
{
    std::lock_guard lock(FMutex);
    for (const auto& d : FDevices)
        if (d->FModel.get() == model)
            return d.get();
    return nullptr;
}

void TSimBleManager::SetDiscoveryRefused(bool refused)
{
    std::lock_guard lock(FMutex);
    FRefused = refused;
}

void TSimBleManager::SetState(TBleState state)
{
    std::lock_guard lock(FMutex);
    FState = state;
}

TBleState TSimBleManager::State()
{
    std::lock_guard lock(FMutex);
    return FState;
}

bool TSimBleManager::PowerOn()
{
    std::lock_guard lock(FMutex);
    if (FState != TBleState::bsPoweredOff)
        return FState == TBleState::bsReady;
    FState = TBleState::bsReady;
    return true;
}

int TSimBleManager::ScansStarted() const
{
    std::lock_guard lock(FMutex);
    return FScans;
}

int TSimBleManager::ScansCancelled() const
{
    std::lock_guard lock(FMutex);
    return FCancels;
}

void TSimBleManager::SetListener(TBleListener* listener)
{
    bool onDispatcher;
    {
        std::lock_guard lock(FMutex);
        onDispatcher = std::this_thread::get_id() == FDispatcherId;
    }
    if (onDispatcher) {
        FListener = listener; // the delivery lock is ours already
        return;
    }
    std::lock_guard deliver(FDeliverMutex);
    FListener = listener;
}

bool TSimBleManager::StartDiscovery(uint32_t)
{
    std::vector<std::pair<TSimDevice*, int>> devices;
    {
        std::lock_guard lock(FMutex);
        if (FRefused || FState != TBleState::bsReady)
            return false;
        ++FScans;
        for (const auto& d : FDevices)
            devices.emplace_back(d.get(), d->FRssi);
    }
    // Radios report a device more than once during a scan.
    for (int round = 0; round < 2; ++round)
        for (auto [device, rssi] : devices)
            Post([device, rssi](TBleListener* l) { l->DeviceDiscovered(device, rssi); });
    return true;
}

void TSimBleManager::CancelDiscovery()
{
    std::lock_guard lock(FMutex);
    ++FCancels;
}

uint64_t TSimBleManager::Post(std::function<void(TBleListener*)> call)
{
    uint64_t seq;
    {
        std::lock_guard lock(FMutex);
        FQueue.push_back(std::move(call));
        seq = ++FPosted;
    }
    FCond.notify_all();
    return seq;
}

uint64_t TSimBleManager::PostedCount() const
{
    std::lock_guard lock(FMutex);
    return FPosted;
}

void TSimBleManager::WaitDelivered(uint64_t seq) const
{
    std::unique_lock lock(FMutex);
    FCond.wait(lock, [&] { return FDelivered >= seq; });
}

bool TSimBleManager::ModelsQuiet() const
{
    std::vector<TSimPrinterModel*> models;
    {
        std::lock_guard lock(FMutex);
        for (const auto& d : FDevices)
            models.push_back(d->FModel.get());
    }
    return std::none_of(models.begin(), models.end(),
                        [](const TSimPrinterModel* m) { return m->HasPendingNotifications(); });
}

bool TSimBleManager::IsIdle() const
{
    // Models first: a notification leaves a model before it enters the queue.
    if (!ModelsQuiet())
        return false;
    std::lock_guard lock(FMutex);
    return FQueue.empty() && !FBusy;
}

void TSimBleManager::WaitIdle() const
{
    while (!IsIdle()) {
        std::unique_lock lock(FMutex);
        FCond.wait_for(lock, std::chrono::milliseconds(1), [this] { return FQueue.empty() && !FBusy; });
    }
}

void TSimBleManager::Run()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        if (!FQueue.empty()) {
            auto call = std::move(FQueue.front());
            FQueue.pop_front();
            FBusy = true;
            lock.unlock();
            {
                std::lock_guard deliver(FDeliverMutex);
                if (FListener)
                    call(FListener);
            }
            lock.lock();
            ++FDelivered;
            FCond.notify_all();
            continue;
        }
        if (FStop)
            break;
        if (FBusy) {
            // Everything is delivered: the printers may get on with their work.
            std::vector<TSimDevice*> devices;
            for (const auto& d : FDevices)
                devices.push_back(d.get());
            lock.unlock();
            for (TSimDevice* d : devices)
                while (d->FConnected.load() && d->FModel->Pump()) {
                }
            lock.lock();
            if (!FQueue.empty())
                continue;
            FBusy = false;
            FCond.notify_all();
        }
        FCond.wait(lock, [this] { return FStop || !FQueue.empty(); });
    }
}
