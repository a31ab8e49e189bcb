#pragma once
// A printer link wired to simulated printers, a simulated clock and a queue
// that stands in for the main thread's event loop. The test thread is the
// link's main thread: it drains the queue while it waits for an event.

#include "ble/nimbo_ble.h"
#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_clock.h"
#include "ble/sim/sim_main_queue.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct TDoneRecord {
    bool Success = false;
    std::string Msg;
};

// Exposes the protected energy compensation.
class TTestLink : public TNimboBle {
public:
    using TNimboBle::TNimboBle;
    using TNimboBle::CompensateEnergy;
};

class TLinkHarness {
public:
    TLinkHarness();
    ~TLinkHarness();

    // Connects to the device and waits for OnConnected; returns its record.
    TDoneRecord ConnectAndWait(TBleDevice* Device);
    TDoneRecord WaitPrintDone();
    // Lets the dispatcher deliver everything that is queued, then runs the main queue.
    void Settle();
    bool HasLog(const std::string& Line) const;

    TSimBleManager Manager;
    TSimClock Clock;
    TSimMainQueue Main;
    std::unique_ptr<TTestLink> Link;

    std::vector<std::string> Logs;
    std::vector<std::pair<int32_t, int32_t>> Progress;
    std::vector<std::vector<uint8_t>> Notifications;
    std::vector<std::pair<TBleDevice*, int32_t>> Found;
    std::vector<TDoneRecord> Connects;
    std::vector<TDoneRecord> PrintDones;
};

// A raster with a recognisable pattern: diagonal stripes and a border.
TNbMonoImage PatternRaster(int32_t Width, int32_t Height);
