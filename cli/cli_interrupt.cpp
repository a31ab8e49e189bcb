#include "cli/cli_interrupt.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> GInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int)
{
    GInterrupted.store(true);
    // The next Ctrl+C is not ours to soften.
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

void InstallInterruptHandler()
{
    std::signal(SIGINT, OnInterrupt);
}

bool InterruptRequested()
{
    return GInterrupted.load();
}
