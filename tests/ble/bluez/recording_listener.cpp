#include "recording_listener.h"

#include <algorithm>
#include <chrono>
#include <functional>

void TRecordingListener::Note()
{
    const auto id = std::this_thread::get_id();
    if (std::find(FThreads.begin(), FThreads.end(), id) == FThreads.end())
        FThreads.push_back(id);
}

void TRecordingListener::DeviceDiscovered(TBleDevice* device, int rssi)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        Note();
        FSeen.push_back({device, rssi});
    }
    FCv.notify_all();
}

void TRecordingListener::ServicesDiscovered(TBleDevice* device)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        Note();
        FResolved.push_back(device);
    }
    FCv.notify_all();
}

void TRecordingListener::CharacteristicChanged(TBleDevice* device, TBleCharacteristic* characteristic,
                                               const std::vector<uint8_t>& value)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        Note();
        FNotified.push_back({device, characteristic, value});
    }
    FCv.notify_all();
}

bool TRecordingListener::WaitFor(int ms, const std::function<bool()>& ready)
{
    std::unique_lock<std::mutex> lock(FMutex);
    return FCv.wait_for(lock, std::chrono::milliseconds(ms), ready);
}

bool TRecordingListener::WaitSeen(size_t n, int ms)
{
    return WaitFor(ms, [&] { return FSeen.size() >= n; });
}

bool TRecordingListener::WaitResolved(size_t n, int ms)
{
    return WaitFor(ms, [&] { return FResolved.size() >= n; });
}

bool TRecordingListener::WaitNotified(size_t n, int ms)
{
    return WaitFor(ms, [&] { return FNotified.size() >= n; });
}

std::vector<TSeenDevice> TRecordingListener::Seen() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FSeen;
}

std::vector<TBleDevice*> TRecordingListener::Resolved() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FResolved;
}

std::vector<TNotification> TRecordingListener::Notified() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FNotified;
}

std::vector<std::thread::id> TRecordingListener::Threads() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FThreads;
}
