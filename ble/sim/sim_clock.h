#pragma once
// Simulated time for the link in tests and benchmarks: the tick moves only
// when told to, or (auto-advance) when a waiter would otherwise block with
// nothing left that could wake it — then time jumps to the waiter's deadline.
// "Nothing left" is what the idle probe says (usually TSimBleManager::IsIdle:
// no notification queued, no printer work pending).

#include "ble/time_source.h"

#include <functional>
#include <mutex>

class TSimClock : public TTimeSource {
public:
    explicit TSimClock(uint64_t startMs = 1'000'000);

    uint64_t TickMs() override;
    bool Wait(const TManualEvent& ev, uint32_t timeoutMs) override;

    void Advance(uint64_t ms);
    void SetAutoAdvance(bool on);
    void SetIdleProbe(std::function<bool()> probe);
    // Number of waits that ended by timeout (for tests).
    int Timeouts() const;

private:
    mutable std::mutex FMutex;
    uint64_t FNow;
    bool FAuto = true;
    std::function<bool()> FIdle;
    int FTimeouts = 0;
};
