#pragma once
// The BLE central on Linux: BlueZ's object tree on the D-Bus system bus (or
// any bus address handed in). Every D-Bus object and the connection live on
// one platform thread of the manager; the blocking operations marshal into it
// and wait for BlueZ's answer, the listener is called on it.

#include "ble/ble_central.h"

#include <QString>
#include <QStringList>

#include <memory>

struct TBluezTimeouts {
    int CallMs = 10000;    // object list, discovery filter and start/stop, notify, disconnect
    int WriteMs = 10000;   // one characteristic write until BlueZ has taken it
    int ConnectMs = 10000; // Device1.Connect, as long as the link waits for the services
    int SettleMs = 2000;   // how long a connect waits for a disconnect of the same device to finish
    int RetryMs = 300;     // pause before a scan start refused as "in progress" is tried again
};

class TBluezBackend;

class TBluezManager final : public TBleManager {
public:
    // An empty address means the system bus.
    explicit TBluezManager(const QString& busAddress = QString(), const TBluezTimeouts& timeouts = {});
    // Releases every caller still waiting (with false), stops a running scan and
    // ends the platform thread. Device objects handed out die with the manager.
    // Must not be called from inside a listener callback.
    ~TBluezManager() override;

    TBluezManager(const TBluezManager&) = delete;
    TBluezManager& operator=(const TBluezManager&) = delete;

    void SetListener(TBleListener* listener) override;
    bool StartDiscovery(uint32_t timeoutMs) override;
    void CancelDiscovery() override;
    TBleState State() override;
    bool PowerOn() override;
    // Everything BlueZ tells about the adapter (device nullptr) or about the
    // device and its GATT objects: a "[path] interface" line per object, then
    // "  Property = value" lines, for a report a user can hand on. Empty when
    // BlueZ does not answer.
    QStringList Describe(const TBleDevice* device);

private:
    std::unique_ptr<TBluezBackend> FBackend;
};
