#pragma once
// A manual-reset event: stays set until reset, wakes every waiter when set.
// Waiting costs no CPU (condition variable).

#include <chrono>
#include <condition_variable>
#include <mutex>

class TManualEvent {
public:
    explicit TManualEvent(bool initiallySet = false) : FSet(initiallySet) {}
    TManualEvent(const TManualEvent&) = delete;
    TManualEvent& operator=(const TManualEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // Real-time wait; true when the event is set.
    bool WaitFor(std::chrono::nanoseconds timeout) const;

private:
    mutable std::mutex FMutex;
    mutable std::condition_variable FCond;
    bool FSet;
};
