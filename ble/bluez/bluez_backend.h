#pragma once
// What the manager, its device objects and the platform thread share: the
// thread itself, the gate through which other threads hand work into it, and
// the listener. Internal to the BlueZ backend.

#include "ble/ble_central.h"
#include "ble/bluez/bluez_manager.h"
#include "ble/bluez/bluez_wait.h"

#include <QString>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>

class TBluezCore;

class TBluezBackend {
public:
    TBluezBackend(const QString& busAddress, const TBluezTimeouts& timeouts);
    ~TBluezBackend();

    const TBluezTimeouts Timeouts;

    // Runs start in the platform thread and blocks until it fills the wait, or
    // budgetMs (plus a margin) ran out, or shutdown began. False from the
    // platform thread itself, where waiting would stall the very loop that
    // must answer.
    bool Call(int budgetMs, std::function<void(TBluezCore&, const TBluezWaitPtr&)> start);
    // Hands work to the platform thread without waiting; dropped after shutdown began.
    void Post(std::function<void(TBluezCore&)> work);

    void SetListener(TBleListener* listener);
    // Platform thread: calls the listener, if any. Holds the listener lock for
    // the duration, so SetListener(nullptr) returns only once no call runs.
    void Emit(const std::function<void(TBleListener&)>& call);

    // Platform thread, from TBluezThread::run.
    void CoreStarted(TBluezCore* core);
    void CoreStopping();
    void ThreadDone();

private:
    class TBluezThread : public QThread {
    public:
        TBluezThread(TBluezBackend& backend, QString busAddress)
            : FBackend(backend), FBusAddress(std::move(busAddress)) {}
    protected:
        void run() override;
    private:
        TBluezBackend& FBackend;
        QString FBusAddress;
    };

    std::mutex FGateMutex;
    std::condition_variable FGateCv;
    TBluezCore* FCore = nullptr;
    bool FStarted = false;
    bool FClosing = false;
    bool FThreadDone = false;
    int FInFlight = 0;
    std::set<TBluezWaitPtr> FWaits;

    std::recursive_mutex FListenerMutex;
    TBleListener* FListener = nullptr;

    TBluezThread FThread;
};
