// Life cycle, events and the worker of the printer link.
#include "ble/nimbo_ble.h"

#include "ble/link_messages.h"

#include <stdexcept>
#include <system_error>

TNimboBle::TNimboBle(TBleManager* AManager, TNbPostToMain APost, TTimeSource* ATime)
    : FManager(AManager)
    , FPost(std::move(APost))
    , FTime(ATime ? ATime : &TSteadyTimeSource::Instance())
    , FMainThread(std::this_thread::get_id())
    , FAlive(std::make_shared<bool>(true))
{
    if (!FPost)
        throw std::invalid_argument("TNimboBle: keine Zustellung an den Hauptthread");
    if (FManager)
        FManager->SetListener(&FListener);
}

TNimboBle::~TNimboBle()
{
    // No callback can run once the listener is gone; then everything the
    // worker could be waiting for is set, so it sees the end and stops.
    if (FManager)
        FManager->SetListener(nullptr);
    FDestroying.store(true);
    FCancelled.store(true);
    WakeWaits();
    FShutdown.Set();
    try {
        Disconnect();
    } catch (...) {
        // Nothing left to report to.
    }
    if (FWorker.joinable())
        FWorker.join();
    *FAlive = false;
}

TBleDevice* TNimboBle::Device() const
{
    std::lock_guard lock(FLock);
    return FDevice;
}

bool TNimboBle::IsReady() const
{
    std::lock_guard lock(FLock);
    return FDevice && FCmdChar && FDataChar;
}

// --- events ------------------------------------------------------------------

void TNimboBle::Queue(std::function<void()> Call)
{
    if (std::this_thread::get_id() == FMainThread)
        Call();
    else
        FPost(std::move(Call));
}

void TNimboBle::Log(const std::string& Msg)
{
    Queue([this, alive = FAlive, Msg] {
        if (!*alive)
            return;
        // A copy: the handler may replace itself while it runs.
        if (TNbLogEvent handler = FOnLog)
            handler(this, Msg);
    });
}

void TNimboBle::DoProgress(int32_t Sent, int32_t Total)
{
    Queue([this, alive = FAlive, Sent, Total] {
        if (!*alive)
            return;
        if (TNbProgressEvent handler = FOnProgress)
            handler(this, Sent, Total);
    });
}

// --- worker ------------------------------------------------------------------

void TNimboBle::AcquireBusy()
{
    int32_t expected = 0;
    if (!FBusy.compare_exchange_strong(expected, 1))
        throw std::runtime_error(kMsgBusy);
}

void TNimboBle::RunAsync(std::function<void()> Work, const TNbDoneEvent& Done)
{
    AcquireBusy();
    StartWorker(std::move(Work), Done);
}

void TNimboBle::StartWorker(std::function<void()> Work, TNbDoneEvent Done)
{
    // The previous worker has released the busy flag; at most it is still
    // queueing its done event.
    if (FWorker.joinable())
        FWorker.join();
    try {
        FWorker = std::thread([this, Work = std::move(Work), Done = std::move(Done)] {
            bool ok = true;
            std::string msg = "OK";
            try {
                Work();
            } catch (const std::exception& e) {
                ok = false;
                msg = e.what();
            } catch (...) {
                ok = false;
                msg = kMsgUnknownError;
            }
            FBusy.exchange(0);
            if (Done && !FDestroying.load()) {
                try {
                    FPost([this, alive = FAlive, Done, ok, msg] {
                        if (*alive)
                            Done(this, ok, msg);
                    });
                } catch (...) {
                    // Out of memory at the very end: the event is lost, the thread must not be.
                }
            }
        });
    } catch (const std::system_error&) {
        FBusy.exchange(0);
        throw std::runtime_error(kMsgNoThread);
    }
}

void TNimboBle::Sleep(uint32_t Ms)
{
    FTime->Wait(FShutdown, Ms);
}

bool TNimboBle::IsCurrent(uint64_t Generation) const
{
    if (FDestroying.load())
        return false;
    std::lock_guard lock(FLock);
    return FGeneration == Generation;
}

void TNimboBle::CheckLink(uint64_t Generation) const
{
    if (!IsCurrent(Generation))
        throw std::runtime_error(kMsgLinkGone);
}

void TNimboBle::WakeWaits()
{
    FServicesDone.Set();
    FCanWrite.Set();
    FStartAck.Set();
}

// --- platform callbacks ------------------------------------------------------

void TNimboBle::TListener::DeviceDiscovered(TBleDevice* device, int rssi)
{
    FLink.ManagerDiscoverDevice(device, rssi);
}

void TNimboBle::TListener::ServicesDiscovered(TBleDevice* device)
{
    FLink.DeviceServicesDiscovered(device);
}

void TNimboBle::TListener::CharacteristicChanged(TBleDevice* device, TBleCharacteristic* characteristic,
                                                 const std::vector<uint8_t>& value)
{
    FLink.DeviceCharacteristicRead(device, characteristic, value);
}
