#pragma once
// In-process Bluetooth LE central with simulated printers behind it. Callbacks
// come from one dispatcher thread, in the order they arose, as a real backend's
// would. A write returns once the notifications it caused (a pause, a state
// report) have been delivered, like a write the platform has taken: so a pause
// takes effect before the next packet. Printer models are shared with the
// test, which can change them while they are in use.

#include "ble/ble_central.h"
#include "ble/sim/sim_printer_model.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TSimDevice;

class TSimBleManager : public TBleManager {
public:
    TSimBleManager();
    ~TSimBleManager() override;

    // Adds a device to the air; it is reported by every scan (twice, as radios do).
    TBleDevice* AddPrinter(std::shared_ptr<TSimPrinterModel> model, int rssi = -60);
    TBleDevice* DeviceOf(const TSimPrinterModel* model) const;

    void SetDiscoveryRefused(bool refused);
    // Bluetooth as unusable as State() then says: no scan starts. PowerOn
    // makes a powered-off radio ready.
    void SetState(TBleState state);
    int ScansStarted() const;
    int ScansCancelled() const;

    void SetListener(TBleListener* listener) override;
    bool StartDiscovery(uint32_t timeoutMs) override;
    void CancelDiscovery() override;
    TBleState State() override;
    bool PowerOn() override;

    // True when no notification is on its way from a printer, and no callback
    // is queued or running.
    bool IsIdle() const;
    // Blocks until IsIdle (real time, for tests that look at the models).
    void WaitIdle() const;

    // Internal: queues a callback for the dispatcher thread; returns its number.
    uint64_t Post(std::function<void(TBleListener*)> call);
    uint64_t PostedCount() const;
    // Internal: waits until callback number seq has been delivered.
    void WaitDelivered(uint64_t seq) const;

private:
    void Run();
    bool ModelsQuiet() const;

    std::vector<std::unique_ptr<TSimDevice>> FDevices;
    mutable std::mutex FMutex;
    mutable std::condition_variable FCond;
    std::deque<std::function<void(TBleListener*)>> FQueue;
    bool FBusy = false;
    uint64_t FPosted = 0;
    uint64_t FDelivered = 0;
    bool FStop = false;
    bool FRefused = false;
    TBleState FState = TBleState::bsReady;
    int FScans = 0;
    int FCancels = 0;
    std::mutex FDeliverMutex; // held while a callback runs; SetListener waits for it
    TBleListener* FListener = nullptr;
    std::thread::id FDispatcherId;
    std::thread FThread;
};
