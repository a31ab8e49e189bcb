// The fake's object tree, the signals it sends and the test's controls.
#include "fake_bluez_object.h"

#include "ble/ble_central.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QThread>

#include <stdexcept>

QStringList FakeFlagsOf(uint32_t props)
{
    QStringList flags;
    if (props & cpRead)
        flags << QStringLiteral("read");
    if (props & cpWriteWithoutResponse)
        flags << QStringLiteral("write-without-response");
    if (props & cpWrite)
        flags << QStringLiteral("write");
    if (props & cpNotify)
        flags << QStringLiteral("notify");
    if (props & cpIndicate)
        flags << QStringLiteral("indicate");
    return flags;
}

QVariant FakePathVariant(const QString& path)
{
    return QVariant::fromValue(QDBusObjectPath(path));
}

TFakeBluezObject::TFakeBluezObject(const QString& busAddress)
    : FConnName(QStringLiteral("fake-bluez-%1").arg(reinterpret_cast<quintptr>(this)))
    , FBus(QDBusConnection::connectToBus(busAddress, FConnName))
{
    bluez::RegisterDBusTypes();
    if (!FBus.isConnected())
        throw std::runtime_error("fake org.bluez: no connection to the private bus");
    if (!FBus.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath))
        throw std::runtime_error("fake org.bluez: cannot register the object tree");
    if (!FBus.registerService(bluez::Service))
        throw std::runtime_error("fake org.bluez: cannot own org.bluez");
    // The printers print (and release flow-control pauses) in the gaps
    // between the central's requests.
    FPump.setInterval(1);
    QObject::connect(&FPump, &QTimer::timeout, this, [this] { PumpModels(); });
    FPump.start();
    QObject::connect(&FRadio, &QTimer::timeout, this, [this] { SendOnAir(); });
}

TFakeBluezObject::~TFakeBluezObject()
{
    FPump.stop();
    FRadio.stop();
    FBus.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    QDBusConnection::disconnectFromBus(FConnName);
}

void TFakeBluezObject::DetachModels()
{
    for (TDevice& d : FDevices) {
        d.Model->SetNotifySink({});
        d.Model->SetDropSink({});
    }
}

void TFakeBluezObject::OnOwnThread(std::function<void()> fn)
{
    if (QThread::currentThread() == thread())
        fn();
    else
        FInbox.Push(std::move(fn));
}

// --- messages out ----------------------------------------------------------

void TFakeBluezObject::Reply(const QDBusMessage& call, const QVariantList& args)
{
    QDBusMessage reply = call.createReply();
    reply.setArguments(args);
    Send(reply);
}

void TFakeBluezObject::Fail(const QDBusMessage& call, const QString& name, const QString& text)
{
    Send(call.createErrorReply(name, text));
}

void TFakeBluezObject::PropertiesChanged(const QString& path, const QString& iface, const QVariantMap& changed)
{
    QDBusMessage sig = QDBusMessage::createSignal(path, bluez::Properties, QStringLiteral("PropertiesChanged"));
    sig << iface << changed << QStringList();
    Send(sig);
}

void TFakeBluezObject::InterfacesAdded(const QString& path, const TDBusInterfaceMap& ifaces)
{
    QDBusMessage sig = QDBusMessage::createSignal(QStringLiteral("/"), bluez::ObjectManager,
                                                  QStringLiteral("InterfacesAdded"));
    sig << FakePathVariant(path) << QVariant::fromValue(ifaces);
    Send(sig);
}

void TFakeBluezObject::InterfacesRemoved(const QString& path, const QStringList& ifaces)
{
    QDBusMessage sig = QDBusMessage::createSignal(QStringLiteral("/"), bluez::ObjectManager,
                                                  QStringLiteral("InterfacesRemoved"));
    sig << FakePathVariant(path) << ifaces;
    Send(sig);
}

// --- object tree -----------------------------------------------------------

QVariantMap TFakeBluezObject::AdapterProps() const
{
    return {{QStringLiteral("Address"), QStringLiteral("00:1A:7D:DA:71:13")},
            {QStringLiteral("Powered"), FPowered},
            {QStringLiteral("Discovering"), Discovering}};
}

QVariantMap TFakeBluezObject::DeviceProps(const TDevice& d) const
{
    QVariantMap p{{QStringLiteral("Address"), QString::fromStdString(d.Model->Address())},
                  {QStringLiteral("Adapter"), FakePathVariant(kFakeAdapterPath)},
                  {QStringLiteral("Connected"), d.Connected},
                  {QStringLiteral("ServicesResolved"), d.Resolved},
                  {QStringLiteral("Paired"), false}};
    QStringList uuids;
    for (const TService& s : d.Gatt)
        uuids << s.Uuid;
    p.insert(QStringLiteral("UUIDs"), uuids);
    if (!d.Name.isEmpty())
        p.insert(QStringLiteral("Name"), d.Name);
    if (d.Rssi)
        p.insert(QStringLiteral("RSSI"), QVariant::fromValue(static_cast<qint16>(*d.Rssi)));
    return p;
}

QVariantMap TFakeBluezObject::ServiceProps(const TDevice& d, const TService& s)
{
    return {{QStringLiteral("UUID"), s.Uuid},
            {QStringLiteral("Device"), FakePathVariant(d.Path)},
            {QStringLiteral("Primary"), true}};
}

QVariantMap TFakeBluezObject::CharProps(const TService& s, const TChar& c) const
{
    return {{QStringLiteral("UUID"), c.Uuid},
            {QStringLiteral("Service"), FakePathVariant(s.Path)},
            {QStringLiteral("Flags"), FakeFlagsOf(c.Props)},
            {QStringLiteral("Notifying"), c.Notifying},
            {QStringLiteral("MTU"), QVariant::fromValue(static_cast<quint16>(Behaviour.Mtu))}};
}

TDBusManagedObjects TFakeBluezObject::ManagedObjects() const
{
    TDBusManagedObjects objects;
    if (!FHasAdapter)
        return objects;
    objects[QDBusObjectPath(kFakeAdapterPath)][bluez::Adapter] = AdapterProps();
    for (const TDevice& d : FDevices) {
        if (!d.OnBus)
            continue;
        objects[QDBusObjectPath(d.Path)][bluez::Device] = DeviceProps(d);
        if (!d.Resolved)
            continue;
        for (const TService& s : d.Gatt) {
            objects[QDBusObjectPath(s.Path)][bluez::GattService] = ServiceProps(d, s);
            for (const TChar& c : s.Chars)
                objects[QDBusObjectPath(c.Path)][bluez::GattCharacteristic] = CharProps(s, c);
        }
    }
    return objects;
}

TFakeBluezObject::TDevice* TFakeBluezObject::DeviceAt(const QString& path)
{
    for (TDevice& d : FDevices)
        if (d.Path == path && d.OnBus)
            return &d;
    return nullptr;
}

std::pair<TFakeBluezObject::TDevice*, TFakeBluezObject::TChar*> TFakeBluezObject::CharAt(const QString& path)
{
    for (TDevice& d : FDevices) {
        if (!d.Resolved)
            continue;
        for (TService& s : d.Gatt)
            for (TChar& c : s.Chars)
                if (c.Path == path)
                    return {&d, &c};
    }
    return {nullptr, nullptr};
}

// --- test controls ---------------------------------------------------------

void TFakeBluezObject::AddAdapter(bool powered)
{
    FHasAdapter = true;
    FPowered = powered;
    InterfacesAdded(kFakeAdapterPath, {{bluez::Adapter, AdapterProps()}});
}

QString TFakeBluezObject::AddPrinter(std::shared_ptr<TSimPrinterModel> model, bool known, std::optional<int> rssi,
                                     bool connected)
{
    TDevice d;
    d.Path = kFakeAdapterPath + QStringLiteral("/dev_")
        + QString::fromStdString(model->Address()).replace(QLatin1Char(':'), QLatin1Char('_'));
    d.Name = QString::fromStdString(model->Name());
    d.Model = model;
    for (const TSimServiceSpec& service : model->Services()) {
        TService s;
        s.Path = d.Path + QStringLiteral("/service%1").arg(FNextHandle++, 4, 16, QLatin1Char('0'));
        s.Uuid = QString::fromStdString(service.Uuid);
        for (const TSimCharSpec& cs : service.Characteristics) {
            TChar c;
            c.Path = s.Path + QStringLiteral("/char%1").arg(FNextHandle++, 4, 16, QLatin1Char('0'));
            c.Uuid = QString::fromStdString(cs.Uuid);
            c.Props = cs.Properties;
            s.Chars.push_back(c);
        }
        d.Gatt.push_back(s);
    }
    TSimPrinterModel* raw = model.get();
    model->SetNotifySink([this, raw](const std::string& uuid, const std::vector<uint8_t>& value) {
        OnOwnThread([this, raw, uuid, value] { ModelNotified(raw, uuid, value); });
    });
    model->SetDropSink([this, raw] { OnOwnThread([this, raw] { ModelDropped(raw); }); });
    if (known) {
        d.OnBus = true;
        d.Rssi = rssi;
    }
    if (connected) {
        model->Connect();
        d.Connected = true;
        d.Resolved = true;
    }
    FDevices.push_back(d);
    if (known)
        InterfacesAdded(d.Path, {{bluez::Device, DeviceProps(d)}});
    return d.Path;
}

void TFakeBluezObject::Advertise(const QString& path, int rssi)
{
    if (!Discovering)
        return;
    for (TDevice& d : FDevices) {
        if (d.Path != path)
            continue;
        d.Rssi = rssi;
        if (!d.OnBus) {
            d.OnBus = true;
            InterfacesAdded(d.Path, {{bluez::Device, DeviceProps(d)}});
        } else {
            PropertiesChanged(d.Path, bluez::Device, {{QStringLiteral("RSSI"), QVariant::fromValue(static_cast<qint16>(rssi))}});
        }
    }
}

void TFakeBluezObject::Rename(const QString& path, const QString& name)
{
    for (TDevice& d : FDevices) {
        if (d.Path != path)
            continue;
        d.Name = name;
        if (d.OnBus)
            PropertiesChanged(d.Path, bluez::Device, {{QStringLiteral("Name"), name}});
    }
}

void TFakeBluezObject::DropConnection(const QString& path)
{
    if (TDevice* d = DeviceAt(path)) {
        d->Model->Disconnect();
        LinkDown(*d);
    }
}

void TFakeBluezObject::Expire(const QString& path)
{
    TDevice* d = DeviceAt(path);
    if (!d)
        return;
    d->Model->Disconnect();
    LinkDown(*d);
    d->OnBus = false;
    d->Rssi.reset();
    InterfacesRemoved(d->Path, {bluez::Device, bluez::Properties});
}

void TFakeBluezObject::LinkDown(TDevice& d)
{
    // What was still queued never reaches the printer.
    for (TAirPacket& p : d.Air)
        if (p.Request)
            Fail(p.Call, QStringLiteral("org.bluez.Error.Failed"), QStringLiteral("Not connected"));
    d.Air.clear();
    if (!d.Connected)
        return;
    if (d.Resolved) {
        for (const TService& s : d.Gatt) {
            for (const TChar& c : s.Chars)
                InterfacesRemoved(c.Path, {bluez::GattCharacteristic});
            InterfacesRemoved(s.Path, {bluez::GattService});
        }
    }
    for (TService& s : d.Gatt)
        for (TChar& c : s.Chars)
            c.Notifying = false;
    d.Connected = false;
    d.Resolved = false;
    PropertiesChanged(d.Path, bluez::Device,
                      {{QStringLiteral("ServicesResolved"), false}, {QStringLiteral("Connected"), false}});
}

void TFakeBluezObject::ModelNotified(TSimPrinterModel* model, const std::string& uuid,
                                     const std::vector<uint8_t>& value)
{
    for (TDevice& d : FDevices) {
        if (d.Model.get() != model || !d.Resolved)
            continue;
        for (const TService& s : d.Gatt)
            for (const TChar& c : s.Chars)
                if (c.Uuid.compare(QString::fromStdString(uuid), Qt::CaseInsensitive) == 0 && c.Notifying) {
                    const QByteArray bytes(reinterpret_cast<const char*>(value.data()),
                                           static_cast<qsizetype>(value.size()));
                    PropertiesChanged(c.Path, bluez::GattCharacteristic, {{QStringLiteral("Value"), bytes}});
                    return;
                }
    }
}

void TFakeBluezObject::ModelDropped(TSimPrinterModel* model)
{
    for (TDevice& d : FDevices)
        if (d.Model.get() == model)
            LinkDown(d);
}

void TFakeBluezObject::PumpModels()
{
    for (TDevice& d : FDevices)
        if (d.Connected)
            d.Model->Pump();
}

