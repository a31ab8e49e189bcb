#pragma once
// The BlueZ client proper. Lives on the backend's platform thread: owns the
// D-Bus connection and every device, service and characteristic object, turns
// the blocking operations into asynchronous calls with timeouts (so the thread
// keeps taking notifications while a write waits for BlueZ) and feeds the
// listener from org.bluez's signals.

#include "ble/bluez/bluez_dbus_types.h"
#include "ble/bluez/bluez_inbox.h"
#include "ble/bluez/bluez_objects.h"
#include "ble/bluez/bluez_wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class TBluezBackend;

class TBluezCore : public QObject {
    Q_OBJECT
public:
    TBluezCore(TBluezBackend& backend, const QString& busAddress);
    ~TBluezCore() override;

    // Where other threads hand their work in.
    TBluezInbox& Inbox() { return FInbox; }

    void StartDiscovery(uint32_t timeoutMs, const TBluezWaitPtr& wait);
    void CancelDiscovery();
    void DiscoverServices(TBluezDevice& device, const TBluezWaitPtr& wait);
    void SetNotify(TBluezCharacteristic& ch, bool enable, const TBluezWaitPtr& wait);
    void Write(TBluezCharacteristic& ch, const QByteArray& value, const TBluezWaitPtr& wait);
    void Disconnect(TBluezDevice& device);
    // How usable Bluetooth is now; answers wait with true and fills state.
    void QueryState(const std::shared_ptr<TBleState>& state, const TBluezWaitPtr& wait);
    void PowerOn(const TBluezWaitPtr& wait);
    void Describe(const QString& devicePath, const std::shared_ptr<QStringList>& lines, const TBluezWaitPtr& wait);
    // Stops a running scan, gives the calls still on their way a short while
    // to reach BlueZ, then ends the thread's event loop.
    void RunDown();

private slots:
    void OnInterfacesAdded(const QDBusMessage& msg);
    void OnInterfacesRemoved(const QDBusMessage& msg);
    void OnPropertiesChanged(const QDBusMessage& msg);

private:
    using TReplyFn = std::function<void(const QDBusMessage& reply)>;
    void CallBluez(const QString& path, const QString& iface, const QString& method, const QVariantList& args,
                   int timeoutMs, TReplyFn done);
    // A call whose answer does not matter but which must reach BlueZ: the
    // thread does not end before it is answered (or a short run-down passed).
    void Tell(const QString& path, const QString& iface, const QString& method);
    void StartScanOnAdapter(const QString& adapter, int timeoutMs, const TDBusManagedObjects& objects,
                            const TBluezWaitPtr& wait);
    void ScanRunning(int timeoutMs, const TDBusManagedObjects& objects);
    void StopScan();
    void StartDiscoveryCall(const QString& adapter, int timeoutMs, const TDBusManagedObjects& objects,
                            const TBluezWaitPtr& wait, bool retried);
    // Device1.Connect for the request asked for; a disconnect of ours still
    // under way is waited out first (a connect into it is dropped or refused).
    void SendConnect(TBluezDevice& device, uint64_t request, const TBluezWaitPtr& wait);
    void ConnectRefused(TBluezDevice& device, uint64_t request, const TBluezWaitPtr& wait, const QDBusMessage& reply);
    void FailDiscovery(TBluezDevice& device, const TBluezWaitPtr& wait, const QString& error);
    void SettleDone(TBluezDevice& device);
    void FetchServices(TBluezDevice& device);
    void BuildServices(TBluezDevice& device, const TDBusManagedObjects& objects);
    void DeviceDown(TBluezDevice& device);
    void TrackWait(TBluezDevice& device, const TBluezWaitPtr& wait);
    void AnswerWait(TBluezDevice& device, const TBluezWaitPtr& wait, bool ok);
    bool OnAdapter(const QString& path, const QVariantMap& deviceProps) const;
    TBluezDevice& DeviceAt(const QString& path);
    TBluezDevice* FindDevice(const QString& path) const;
    void ApplyDeviceProps(TBluezDevice& device, const QVariantMap& props);
    void ReportDevice(TBluezDevice& device, int rssi);
    TBluezCharacteristic& CharAt(const QString& path, TBluezDevice& device, const std::string& uuid, uint32_t props);
    TBluezService& ServiceAt(const QString& path, const std::string& uuid,
                             const std::vector<TBleCharacteristic*>& chars);
    void QuitWhenIdle();

    TBluezBackend& FBackend;
    TBluezInbox FInbox;
    QString FConnName;
    QDBusConnection FBus;
    QString FAdapterPath;
    bool FDiscovering = false;
    bool FClosing = false;
    int FOutstanding = 0;
    QTimer FDiscoveryTimer;

    std::vector<std::unique_ptr<TBluezDevice>> FOwnedDevices;
    std::vector<std::unique_ptr<TBluezService>> FOwnedServices;
    std::vector<std::unique_ptr<TBluezCharacteristic>> FOwnedChars;
    std::map<QString, TBluezDevice*> FDevices;
    std::map<QString, TBluezService*> FServices;
    std::map<QString, TBluezCharacteristic*> FChars;
    // Devices whose services were asked for, with the number of that request.
    std::map<TBluezDevice*, uint64_t> FResolvePending;
    uint64_t FResolveRequests = 0;
    std::multimap<TBluezDevice*, TBluezWaitPtr> FDeviceWaits;
    // Connects held back until the device's disconnect is confirmed.
    std::map<TBluezDevice*, std::pair<uint64_t, TBluezWaitPtr>> FHeldConnects;
};
