#pragma once
// Stands in for the main thread's event loop where there is none (tests,
// benchmarks, a command-line host): the link posts closures here, and the
// thread that owns the link runs them while it waits for something.

#include "ble/link_events.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class TSimMainQueue {
public:
    TNbPostToMain Poster();
    // Runs queued closures until Pred holds; false when it did not within Limit (real time).
    bool RunUntil(const std::function<bool()>& Pred, std::chrono::milliseconds Limit = std::chrono::seconds(20));
    void RunPending();

private:
    std::mutex FMutex;
    std::condition_variable FCond;
    std::deque<std::function<void()>> FQueue;
};
