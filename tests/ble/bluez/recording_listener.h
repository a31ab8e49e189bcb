#pragma once
// Records every callback of a BLE manager, with the thread it came on, and
// lets the test wait (in real time, bounded) for a number of them.

#include "ble/ble_central.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct TSeenDevice {
    TBleDevice* Device = nullptr;
    int Rssi = 0;
};

struct TNotification {
    TBleDevice* Device = nullptr;
    TBleCharacteristic* Char = nullptr;
    std::vector<uint8_t> Value;
};

class TRecordingListener : public TBleListener {
public:
    void DeviceDiscovered(TBleDevice* device, int rssi) override;
    void ServicesDiscovered(TBleDevice* device) override;
    void CharacteristicChanged(TBleDevice* device, TBleCharacteristic* characteristic,
                               const std::vector<uint8_t>& value) override;

    // Each waits up to ms for at least n records of its kind; false on timeout.
    bool WaitSeen(size_t n, int ms = 3000);
    bool WaitResolved(size_t n, int ms = 3000);
    bool WaitNotified(size_t n, int ms = 3000);

    std::vector<TSeenDevice> Seen() const;
    std::vector<TBleDevice*> Resolved() const;
    std::vector<TNotification> Notified() const;
    // Threads the callbacks came on.
    std::vector<std::thread::id> Threads() const;

private:
    void Note();
    bool WaitFor(int ms, const std::function<bool()>& ready);

    mutable std::mutex FMutex;
    std::condition_variable FCv;
    std::vector<TSeenDevice> FSeen;
    std::vector<TBleDevice*> FResolved;
    std::vector<TNotification> FNotified;
    std::vector<std::thread::id> FThreads;
};
