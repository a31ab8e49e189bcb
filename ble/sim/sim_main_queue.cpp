#include "ble/sim/sim_main_queue.h"

TNbPostToMain TSimMainQueue::Poster()
{
    return [this](std::function<void()> call) {
        {
            std::lock_guard lock(FMutex);
            FQueue.push_back(std::move(call));
        }
        FCond.notify_all();
    };
}

bool TSimMainQueue::RunUntil(const std::function<bool()>& Pred, std::chrono::milliseconds Limit)
{
    const auto end = std::chrono::steady_clock::now() + Limit;
    for (;;) {
        RunPending();
        if (Pred())
            return true;
        std::unique_lock lock(FMutex);
        if (!FCond.wait_until(lock, end, [this] { return !FQueue.empty(); }))
            return Pred();
    }
}

void TSimMainQueue::RunPending()
{
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(FMutex);
            if (FQueue.empty())
                return;
            call = std::move(FQueue.front());
            FQueue.pop_front();
        }
        call();
    }
}
