#pragma once
// The fake's D-Bus object tree and its answers, as they run on the fake's own
// thread. Internal to the fake; tests use TFakeBluez (fake_bluez.h).

#include "fake_bluez.h"

#include "ble/bluez/bluez_dbus_types.h"
#include "ble/bluez/bluez_inbox.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <vector>

inline const QString kFakeAdapterPath = QStringLiteral("/org/bluez/hci0");

// BlueZ's GattCharacteristic1.Flags for a TBleCharProp bit set.
QStringList FakeFlagsOf(uint32_t props);
QVariant FakePathVariant(const QString& path);

// Lives on the fake's thread; every member runs there.
class TFakeBluezObject : public QDBusVirtualObject {
public:
    explicit TFakeBluezObject(const QString& busAddress);
    ~TFakeBluezObject() override;

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& msg, const QDBusConnection& connection) override;

    void AddAdapter(bool powered);
    QString AddPrinter(std::shared_ptr<TSimPrinterModel> model, bool known, std::optional<int> rssi,
                       bool connected = false);
    void Expire(const QString& path);
    void Advertise(const QString& path, int rssi);
    void Rename(const QString& path, const QString& name);
    void DropConnection(const QString& path);
    void DetachModels();
    bool IsPowered() const { return FPowered; }
    TBluezInbox& Inbox() { return FInbox; }

    std::map<QString, TFakeAnswer> Answers;
    std::map<QString, QString> ErrorNames; // member -> error name for TFakeAnswer::Error
    TFakeBehaviour Behaviour;
    bool Discovering = false;
    QVariantMap Filter;
    QStringList Calls;
    QStringList WriteTypes;

private:
    struct TChar {
        QString Path;
        QString Uuid;
        uint32_t Props = 0;
        bool Notifying = false;
    };
    // A packet BlueZ has queued for the radio; a request is answered once delivered.
    struct TAirPacket {
        std::string Uuid;
        std::vector<uint8_t> Bytes;
        bool Request = false;
        QDBusMessage Call;
    };
    struct TService {
        QString Path;
        QString Uuid;
        std::vector<TChar> Chars;
    };
    struct TDevice {
        QString Path;
        QString Name;
        std::shared_ptr<TSimPrinterModel> Model;
        bool OnBus = false;
        bool Connected = false;
        bool Resolved = false;
        std::optional<int> Rssi;
        std::vector<TService> Gatt;
        std::deque<TAirPacket> Air;
        bool Settling = false;     // a disconnect answered but not yet done
        bool DropAfterSettle = false;
    };

    void Send(const QDBusMessage& msg) { FBus.send(msg); }
    void Reply(const QDBusMessage& call, const QVariantList& args = {});
    void Fail(const QDBusMessage& call, const QString& name, const QString& text);
    void PropertiesChanged(const QString& path, const QString& iface, const QVariantMap& changed);
    void InterfacesAdded(const QString& path, const TDBusInterfaceMap& ifaces);
    void InterfacesRemoved(const QString& path, const QStringList& ifaces);
    // Runs fn on this thread: at once when already here, else queued (in order).
    void OnOwnThread(std::function<void()> fn);

    QVariantMap AdapterProps() const;
    QVariantMap DeviceProps(const TDevice& d) const;
    static QVariantMap ServiceProps(const TDevice& d, const TService& s);
    QVariantMap CharProps(const TService& s, const TChar& c) const;
    TDBusManagedObjects ManagedObjects() const;

    TDevice* DeviceAt(const QString& path);
    std::pair<TDevice*, TChar*> CharAt(const QString& path);

    void HandleAdapter(const QDBusMessage& msg);
    void HandleDevice(const QDBusMessage& msg);
    void HandleChar(const QDBusMessage& msg);
    void LinkDown(TDevice& d);
    void Connect(TDevice& d, const QDBusMessage& msg);
    void Disconnect(TDevice& d, const QDBusMessage& msg);
    void SettleDone(const QString& path);
    void Write(TDevice& d, TChar& c, const QDBusMessage& msg);
    void SendOnAir();
    void HandleProperties(const QDBusMessage& msg);
    void StartDiscovery(const QDBusMessage& msg);
    void ModelNotified(TSimPrinterModel* model, const std::string& uuid, const std::vector<uint8_t>& value);
    void ModelDropped(TSimPrinterModel* model);
    void PumpModels();

    TBluezInbox FInbox;
    QString FConnName;
    QDBusConnection FBus;
    bool FHasAdapter = false;
    bool FPowered = false;
    std::vector<TDevice> FDevices;
    int FNextHandle = 0x000a;
    QTimer FPump;
    QTimer FRadio;
    QElapsedTimer FSinceStop; // since the last StopDiscovery
    bool FStopped = false;
};
