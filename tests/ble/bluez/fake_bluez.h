#pragma once
// A stand-in for bluetoothd on a private bus: claims org.bluez and serves an
// object manager with one adapter (hci0), devices, and their GATT services and
// characteristics. Behind each device sits a simulated printer model, which
// receives the written packets per characteristic and sends notifications.
//
// The fake runs on its own thread with its own event loop, so a test may make
// blocking calls through the backend from its main thread. Every member may
// be called from the test's thread.

#include "ble/sim/sim_printer_model.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>

class TFakeBluezObject;
class QThread;

// How the fake answers one method (by member name, e.g. "WriteValue").
enum class TFakeAnswer { Normal, Error, Never };

// Where bluetoothd is less kind than a plain object tree. Defaults: as the
// fake always was, but with an MTU on every characteristic.
struct TFakeBehaviour {
    // MTU property of every characteristic; a write command longer than
    // Mtu - 3 bytes is refused ("Failed to initiate write").
    int Mtu = 247;
    // > 0: a write command is answered as soon as it is queued, and the radio
    // hands one queued packet to the printer every RadioIntervalMs; a write
    // request is answered once it and everything queued before it arrived.
    int RadioIntervalMs = 0;
    // > 0: Disconnect is answered at once but the link goes down only this
    // much later. A Connect meanwhile is refused with InProgress, or, with
    // ConnectWhileSettlingDrops, answered at once and dropped when the
    // disconnect completes.
    int DisconnectSettleMs = 0;
    bool ConnectWhileSettlingDrops = false;
    // Connect on a device already connected fails with AlreadyConnected.
    bool AlreadyConnectedError = false;
    // StartDiscovery within this many ms after a StopDiscovery fails with InProgress.
    int DiscoveryRestartMs = 0;
};

class TFakeBluez {
public:
    explicit TFakeBluez(const QString& busAddress);
    ~TFakeBluez();
    TFakeBluez(const TFakeBluez&) = delete;
    TFakeBluez& operator=(const TFakeBluez&) = delete;

    // /org/bluez/hci0; without it the bus has org.bluez but no adapter.
    void AddAdapter(bool powered = true);
    // A printer in range that BlueZ has not seen yet; it appears with its
    // first advertisement during a scan. Returns its object path.
    QString AddPrinter(std::shared_ptr<TSimPrinterModel> model);
    // A printer BlueZ already holds from earlier, with a fresh RSSI or none.
    QString AddKnownPrinter(std::shared_ptr<TSimPrinterModel> model, std::optional<int> rssi);
    // A printer already connected to the adapter (an earlier run that
    // crashed, another program): it does not advertise and has no RSSI.
    QString AddConnectedPrinter(std::shared_ptr<TSimPrinterModel> model);
    // BlueZ forgets a device of a finished scan (InterfacesRemoved); calls on
    // it fail with UnknownObject until an advertisement brings it back.
    void Expire(const QString& devicePath);
    // One advertisement. While discovering, the first adds the device to the
    // bus and the following ones change its RSSI; otherwise it is not heard.
    void Advertise(const QString& devicePath, int rssi);
    // The printer's name as the air now tells it (BlueZ signals the change).
    void Rename(const QString& devicePath, const QString& name);
    // The radio link to the device breaks.
    void DropConnection(const QString& devicePath);
    void SetAnswer(const QString& member, TFakeAnswer answer);
    // Answers member with an error of this name (e.g. "org.freedesktop.DBus.Error.AccessDenied").
    void SetError(const QString& member, const QString& errorName);
    void SetBehaviour(const TFakeBehaviour& behaviour);
    bool Powered() const;

    bool Discovering() const;
    QVariantMap DiscoveryFilter() const;
    // "Member path" of every method call, in arrival order.
    QStringList Calls() const;
    int CallCount(const QString& member) const;
    // "uuid type" of every WriteValue, in order.
    QStringList WriteTypes() const;

private:
    std::unique_ptr<QThread> FThread;
    TFakeBluezObject* FObject = nullptr;
};
