#pragma once
// Where the printer link gets its time: the millisecond tick and the timed
// waits (sleeping is a timed wait on an event that only shutdown sets). The
// program uses the steady clock; tests use a simulated clock so the long
// timeouts of the link pass in an instant.

#include "ble/manual_event.h"

#include <cstdint>

class TTimeSource {
public:
    virtual ~TTimeSource() = default;
    // Monotonic milliseconds.
    virtual uint64_t TickMs() = 0;
    // Waits until ev is set or timeoutMs have passed; true when ev is set.
    virtual bool Wait(const TManualEvent& ev, uint32_t timeoutMs) = 0;
};

class TSteadyTimeSource : public TTimeSource {
public:
    uint64_t TickMs() override;
    bool Wait(const TManualEvent& ev, uint32_t timeoutMs) override;
    // One shared instance for links that are given no time source.
    static TSteadyTimeSource& Instance();
};
