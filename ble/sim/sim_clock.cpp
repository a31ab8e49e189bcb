#include "ble/sim/sim_clock.h"

#include <chrono>

namespace {
// How long a waiter looks again at its event and the clock while something
// else may still happen (simulated time only; real waits use the event alone).
constexpr auto kSlice = std::chrono::microseconds(500);
} // namespace

TSimClock::TSimClock(uint64_t startMs) : FNow(startMs) {}

uint64_t TSimClock::TickMs()
{
    std::lock_guard lock(FMutex);
    return FNow;
}

bool TSimClock::Wait(const TManualEvent& ev, uint32_t timeoutMs)
{
    uint64_t deadline;
    {
        std::lock_guard lock(FMutex);
        deadline = FNow + timeoutMs;
    }
    for (;;) {
        if (ev.IsSet())
            return true;
        std::function<bool()> idle;
        bool autoAdvance;
        {
            std::lock_guard lock(FMutex);
            if (FNow >= deadline) {
                ++FTimeouts;
                return false;
            }
            autoAdvance = FAuto;
            if (autoAdvance)
                idle = FIdle;
        }
        if (autoAdvance && (!idle || idle())) {
            // Nothing can set the event any more: the time runs out at once.
            if (ev.IsSet())
                return true;
            std::lock_guard lock(FMutex);
            if (FNow < deadline)
                FNow = deadline;
            ++FTimeouts;
            return false;
        }
        if (ev.WaitFor(kSlice))
            return true;
    }
}

void TSimClock::Advance(uint64_t ms)
{
    std::lock_guard lock(FMutex);
    FNow += ms;
}

void TSimClock::SetAutoAdvance(bool on)
{
    std::lock_guard lock(FMutex);
    FAuto = on;
}

void TSimClock::SetIdleProbe(std::function<bool()> probe)
{
    std::lock_guard lock(FMutex);
    FIdle = std::move(probe);
}

int TSimClock::Timeouts() const
{
    std::lock_guard lock(FMutex);
    return FTimeouts;
}
