#include "ble/manual_event.h"

void TManualEvent::Set()
{
    {
        std::lock_guard lock(FMutex);
        FSet = true;
    }
    FCond.notify_all();
}

void TManualEvent::Reset()
{
    std::lock_guard lock(FMutex);
    FSet = false;
}

bool TManualEvent::IsSet() const
{
    std::lock_guard lock(FMutex);
    return FSet;
}

bool TManualEvent::WaitFor(std::chrono::nanoseconds timeout) const
{
    std::unique_lock lock(FMutex);
    return FCond.wait_for(lock, timeout, [this] { return FSet; });
}
