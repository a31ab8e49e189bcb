#pragma once
// The printer link (TNimboBle) on top of the BlueZ backend and the fake
// org.bluez: the test thread plays the main thread and runs the link's events.

#include "ble/nimbo_ble.h"
#include "ble/sim/sim_mx_printer.h"
#include "bluez_fixture.h"

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The link's events, queued for the test thread. A plain mutex queue rather
// than Qt's: ThreadSanitizer follows it.
class TEventQueue {
public:
    TNbPostToMain Poster();
    void RunPending();

private:
    std::mutex FMutex;
    std::deque<std::function<void()>> FCalls;
};

class TBluezLinkFixture : public TBluezFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the link's events (real time) until cond holds.
    bool RunUntil(const std::function<bool()>& cond, int ms = 20000);
    // Scans with the link's name filter and returns the device the link reported.
    TBleDevice* FindWithLink(const QString& path);
    // Connects the link and waits for its OnConnected; the verdict.
    std::pair<bool, std::string> ConnectDevice(TBleDevice* device);
    // Scan, connect, and the link is ready.
    bool ConnectLink(const QString& path);
    std::pair<bool, std::string> WaitDone();
    // Prints Mono as a V5G job in packets of 180 bytes and returns what the
    // printer received; empty (with the failure recorded) when it got nothing.
    std::optional<TSimV5GPrint> PrintV5GAndReceive(const TSimMxPrinter& Printer, const TNbMonoImage& Mono);
    // True when a log line contains part.
    bool Logged(const std::string& part) const;
    int LogCount(const std::string& part) const;

    TEventQueue Events;
    std::unique_ptr<TNimboBle> Link;
    std::vector<TBleDevice*> Found;
    std::vector<std::pair<bool, std::string>> Connects;
    std::vector<std::pair<bool, std::string>> Dones;
    std::vector<std::string> LogLines;
    int32_t LastSent = -1;
};

// A raster with a pattern that shows any lost, doubled or shifted byte.
TNbMonoImage Stripes(int32_t height);
