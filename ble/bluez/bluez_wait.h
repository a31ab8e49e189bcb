#pragma once
// The answer slot of one blocking call: the caller sleeps on it, the platform
// thread (or shutdown) fills it exactly once; later fills are ignored.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

class TBluezWait {
public:
    void Finish(bool ok)
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            if (FDone)
                return;
            FDone = true;
            FOk = ok;
        }
        FCv.notify_all();
    }

    // The answer, or false when none came within ms.
    bool WaitFor(int ms)
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FCv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return FDone; });
        return FDone && FOk;
    }

private:
    std::mutex FMutex;
    std::condition_variable FCv;
    bool FDone = false;
    bool FOk = false;
};

using TBluezWaitPtr = std::shared_ptr<TBluezWait>;
