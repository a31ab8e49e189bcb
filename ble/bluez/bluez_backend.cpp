#include "ble/bluez/bluez_backend.h"

#include "ble/bluez/bluez_core.h"


namespace {
// A blocking call normally ends through its own D-Bus timeout inside the
// platform thread; the caller's wait is only the last guard against a stalled
// thread, so it gets a little more room.
constexpr int kGuardMarginMs = 2000;
} // namespace

TBluezBackend::TBluezBackend(const QString& busAddress, const TBluezTimeouts& timeouts)
    : Timeouts(timeouts)
    , FThread(*this, busAddress)
{
    FThread.setObjectName(QStringLiteral("bluez"));
    FThread.start();
    std::unique_lock<std::mutex> lock(FGateMutex);
    FGateCv.wait(lock, [this] { return FStarted; });
}

TBluezBackend::~TBluezBackend()
{
    SetListener(nullptr);
    std::set<TBluezWaitPtr> waits;
    {
        std::lock_guard<std::mutex> lock(FGateMutex);
        FClosing = true;
        waits = FWaits;
    }
    for (const TBluezWaitPtr& w : waits)
        w->Finish(false);
    {
        std::unique_lock<std::mutex> lock(FGateMutex);
        FGateCv.wait(lock, [this] { return FInFlight == 0; });
        if (FCore) {
            TBluezCore* core = FCore;
            core->Inbox().Push([core] { core->RunDown(); });
        }
        FGateCv.wait(lock, [this] { return FThreadDone; });
    }
    FThread.wait();
}

void TBluezBackend::CoreStarted(TBluezCore* core)
{
    {
        std::lock_guard<std::mutex> lock(FGateMutex);
        FCore = core;
        FStarted = true;
    }
    FGateCv.notify_all();
}

void TBluezBackend::CoreStopping()
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    FCore = nullptr;
}

void TBluezBackend::ThreadDone()
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    FThreadDone = true;
    FGateCv.notify_all();
}

bool TBluezBackend::Call(int budgetMs, std::function<void(TBluezCore&, const TBluezWaitPtr&)> start)
{
    if (QThread::currentThread() == &FThread)
        return false;
    auto wait = std::make_shared<TBluezWait>();
    {
        std::lock_guard<std::mutex> lock(FGateMutex);
        if (FClosing || !FCore)
            return false;
        ++FInFlight;
        FWaits.insert(wait);
        TBluezCore* core = FCore;
        core->Inbox().Push([core, wait, start = std::move(start)] { start(*core, wait); });
    }
    const bool ok = wait->WaitFor(budgetMs + kGuardMarginMs);
    {
        std::lock_guard<std::mutex> lock(FGateMutex);
        FWaits.erase(wait);
        --FInFlight;
        // Notified under the lock: the destructor may free the gate as soon as it sees zero.
        FGateCv.notify_all();
    }
    return ok;
}

void TBluezBackend::Post(std::function<void(TBluezCore&)> work)
{
    std::lock_guard<std::mutex> lock(FGateMutex);
    if (FClosing || !FCore)
        return;
    TBluezCore* core = FCore;
    core->Inbox().Push([core, work = std::move(work)] { work(*core); });
}

void TBluezBackend::SetListener(TBleListener* listener)
{
    std::lock_guard<std::recursive_mutex> lock(FListenerMutex);
    FListener = listener;
}

void TBluezBackend::Emit(const std::function<void(TBleListener&)>& call)
{
    std::lock_guard<std::recursive_mutex> lock(FListenerMutex);
    if (FListener)
        call(*FListener);
}

void TBluezBackend::TBluezThread::run()
{
    std::unique_ptr<TBluezCore> core;
    try {
        core = std::make_unique<TBluezCore>(FBackend, FBusAddress);
    } catch (const std::exception&) {
        // Without a core every operation answers false.
    }
    FBackend.CoreStarted(core.get());
    if (core) {
        exec();
        FBackend.CoreStopping();
        core.reset();
    }
    // After the core is gone: the destructor may free what it used.
    FBackend.ThreadDone();
}
