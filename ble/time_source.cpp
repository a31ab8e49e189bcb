#include "ble/time_source.h"

#include <chrono>

uint64_t TSteadyTimeSource::TickMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool TSteadyTimeSource::Wait(const TManualEvent& ev, uint32_t timeoutMs)
{
    return ev.WaitFor(std::chrono::milliseconds(timeoutMs));
}

TSteadyTimeSource& TSteadyTimeSource::Instance()
{
    static TSteadyTimeSource instance;
    return instance;
}
