#include "fake_bluez.h"

#include "ble/ble_central.h"
#include "ble/bluez/bluez_dbus_types.h"
#include "ble/bluez/bluez_inbox.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {
const QString kAdapterPath = QStringLiteral("/org/bluez/hci0");

QStringList FlagsOf(uint32_t props)
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

QVariant PathVariant(const QString& path)
{
    return QVariant::fromValue(QDBusObjectPath(path));
}
} // namespace

// Lives on the fake's thread; every member runs there.
class TFakeBluezObject : public QDBusVirtualObject {
public:
    explicit TFakeBluezObject(const QString& busAddress);
    ~TFakeBluezObject() override;

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& msg, const QDBusConnection& connection) override;

    void AddAdapter(bool powered);
    QString AddPrinter(std::shared_ptr<TSimPrinterModel> model, bool known, std::optional<int> rssi);
    void Advertise(const QString& path, int rssi);
    void Rename(const QString& path, const QString& name);
    void DropConnection(const QString& path);
    void DetachModels();
    TBluezInbox& Inbox() { return FInbox; }

    std::map<QString, TFakeAnswer> Answers;
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
    static QVariantMap CharProps(const TService& s, const TChar& c);
    TDBusManagedObjects ManagedObjects() const;

    TDevice* DeviceAt(const QString& path);
    std::pair<TDevice*, TChar*> CharAt(const QString& path);

    void HandleAdapter(const QDBusMessage& msg);
    void HandleDevice(const QDBusMessage& msg);
    void HandleChar(const QDBusMessage& msg);
    void LinkDown(TDevice& d);
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
};

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
}

TFakeBluezObject::~TFakeBluezObject()
{
    FPump.stop();
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
    sig << PathVariant(path) << QVariant::fromValue(ifaces);
    Send(sig);
}

void TFakeBluezObject::InterfacesRemoved(const QString& path, const QStringList& ifaces)
{
    QDBusMessage sig = QDBusMessage::createSignal(QStringLiteral("/"), bluez::ObjectManager,
                                                  QStringLiteral("InterfacesRemoved"));
    sig << PathVariant(path) << ifaces;
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
                  {QStringLiteral("Adapter"), PathVariant(kAdapterPath)},
                  {QStringLiteral("Connected"), d.Connected},
                  {QStringLiteral("ServicesResolved"), d.Resolved},
                  {QStringLiteral("Paired"), false}};
    if (!d.Name.isEmpty())
        p.insert(QStringLiteral("Name"), d.Name);
    if (d.Rssi)
        p.insert(QStringLiteral("RSSI"), QVariant::fromValue(static_cast<qint16>(*d.Rssi)));
    return p;
}

QVariantMap TFakeBluezObject::ServiceProps(const TDevice& d, const TService& s)
{
    return {{QStringLiteral("UUID"), s.Uuid},
            {QStringLiteral("Device"), PathVariant(d.Path)},
            {QStringLiteral("Primary"), true}};
}

QVariantMap TFakeBluezObject::CharProps(const TService& s, const TChar& c)
{
    return {{QStringLiteral("UUID"), c.Uuid},
            {QStringLiteral("Service"), PathVariant(s.Path)},
            {QStringLiteral("Flags"), FlagsOf(c.Props)},
            {QStringLiteral("Notifying"), c.Notifying}};
}

TDBusManagedObjects TFakeBluezObject::ManagedObjects() const
{
    TDBusManagedObjects objects;
    if (!FHasAdapter)
        return objects;
    objects[QDBusObjectPath(kAdapterPath)][bluez::Adapter] = AdapterProps();
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
    InterfacesAdded(kAdapterPath, {{bluez::Adapter, AdapterProps()}});
}

QString TFakeBluezObject::AddPrinter(std::shared_ptr<TSimPrinterModel> model, bool known, std::optional<int> rssi)
{
    TDevice d;
    d.Path = kAdapterPath + QStringLiteral("/dev_")
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

void TFakeBluezObject::LinkDown(TDevice& d)
{
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

// --- messages in -----------------------------------------------------------

bool TFakeBluezObject::handleMessage(const QDBusMessage& msg, const QDBusConnection&)
{
    const QString member = msg.member();
    Calls << member + QLatin1Char(' ') + msg.path();
    const auto answer = Answers.find(member);
    if (answer != Answers.end() && answer->second == TFakeAnswer::Never)
        return true;
    if (answer != Answers.end() && answer->second == TFakeAnswer::Error) {
        Fail(msg, QStringLiteral("org.bluez.Error.Failed"), QStringLiteral("Operation failed"));
        return true;
    }
    const QString iface = msg.interface();
    if (iface == bluez::ObjectManager && member == QLatin1String("GetManagedObjects") && msg.path() == QLatin1String("/"))
        Reply(msg, {QVariant::fromValue(ManagedObjects())});
    else if (iface == bluez::Adapter)
        HandleAdapter(msg);
    else if (iface == bluez::Device)
        HandleDevice(msg);
    else if (iface == bluez::GattCharacteristic)
        HandleChar(msg);
    else
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member);
    return true;
}

void TFakeBluezObject::HandleAdapter(const QDBusMessage& msg)
{
    if (!FHasAdapter || msg.path() != kAdapterPath) {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"), msg.path());
        return;
    }
    const QString member = msg.member();
    if (member == QLatin1String("SetDiscoveryFilter") && msg.signature() == QLatin1String("a{sv}")) {
        Filter = qdbus_cast<QVariantMap>(msg.arguments().at(0));
        Reply(msg);
    } else if (member == QLatin1String("StartDiscovery")) {
        if (!FPowered)
            Fail(msg, QStringLiteral("org.bluez.Error.NotReady"), QStringLiteral("Resource Not Ready"));
        else if (Discovering)
            Fail(msg, QStringLiteral("org.bluez.Error.InProgress"), QStringLiteral("Operation already in progress"));
        else {
            Discovering = true;
            Reply(msg);
            PropertiesChanged(kAdapterPath, bluez::Adapter, {{QStringLiteral("Discovering"), true}});
        }
    } else if (member == QLatin1String("StopDiscovery")) {
        if (!Discovering) {
            Fail(msg, QStringLiteral("org.bluez.Error.Failed"), QStringLiteral("No discovery started"));
        } else {
            Discovering = false;
            Reply(msg);
            PropertiesChanged(kAdapterPath, bluez::Adapter, {{QStringLiteral("Discovering"), false}});
        }
    } else {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member);
    }
}

void TFakeBluezObject::HandleDevice(const QDBusMessage& msg)
{
    TDevice* d = DeviceAt(msg.path());
    if (!d) {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"), msg.path());
        return;
    }
    const QString member = msg.member();
    if (member == QLatin1String("Connect")) {
        const TSimFaults faults = d->Model->Faults();
        if (faults.RefuseDiscovery) {
            Fail(msg, QStringLiteral("org.bluez.Error.Failed"), QStringLiteral("Software caused connection abort"));
            return;
        }
        if (!d->Connected) {
            d->Model->Connect();
            d->Connected = true;
            PropertiesChanged(d->Path, bluez::Device, {{QStringLiteral("Connected"), true}});
            if (!faults.IgnoreDiscovery) {
                for (const TService& s : d->Gatt) {
                    InterfacesAdded(s.Path, {{bluez::GattService, ServiceProps(*d, s)}});
                    for (const TChar& c : s.Chars)
                        InterfacesAdded(c.Path, {{bluez::GattCharacteristic, CharProps(s, c)}});
                }
                d->Resolved = true;
                PropertiesChanged(d->Path, bluez::Device, {{QStringLiteral("ServicesResolved"), true}});
            }
        }
        Reply(msg);
    } else if (member == QLatin1String("Disconnect")) {
        d->Model->Disconnect();
        LinkDown(*d);
        Reply(msg);
    } else {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member);
    }
}

void TFakeBluezObject::HandleChar(const QDBusMessage& msg)
{
    auto [d, c] = CharAt(msg.path());
    if (!d) {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"), msg.path());
        return;
    }
    const QString member = msg.member();
    const std::string uuid = c->Uuid.toStdString();
    if (member == QLatin1String("WriteValue") && msg.signature() == QLatin1String("aya{sv}")) {
        const QByteArray bytes = msg.arguments().at(0).toByteArray();
        const QVariantMap options = qdbus_cast<QVariantMap>(msg.arguments().at(1));
        WriteTypes << c->Uuid + QLatin1Char(' ') + options.value(QStringLiteral("type")).toString();
        // The printer may answer (or drop the link) before BlueZ answers the write.
        if (d->Model->Write(uuid, std::vector<uint8_t>(bytes.begin(), bytes.end())))
            Reply(msg);
        else
            Fail(msg, QStringLiteral("org.bluez.Error.Failed"), QStringLiteral("Write failed"));
    } else if (member == QLatin1String("StartNotify") || member == QLatin1String("StopNotify")) {
        const bool enable = member == QLatin1String("StartNotify");
        const bool was = c->Notifying;
        // Subscribed before the printer hears of it: it may greet at once.
        c->Notifying = enable;
        if (!(c->Props & (cpNotify | cpIndicate)) || !d->Model->SetNotify(uuid, enable)) {
            c->Notifying = was;
            Fail(msg, QStringLiteral("org.bluez.Error.NotPermitted"), QStringLiteral("Notify refused"));
            return;
        }
        Reply(msg);
    } else {
        Fail(msg, QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), member);
    }
}

// --- the test's side -------------------------------------------------------

namespace {
class TFakeThread : public QThread {
public:
    TFakeThread(QString address, TFakeBluezObject*& object) : FAddress(std::move(address)), FObject(object) {}
    void WaitReady()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        FCv.wait(lock, [this] { return FReady; });
        if (!FError.empty())
            throw std::runtime_error(FError);
    }

protected:
    void run() override
    {
        std::unique_ptr<TFakeBluezObject> object;
        try {
            object = std::make_unique<TFakeBluezObject>(FAddress);
        } catch (const std::exception& e) {
            std::lock_guard<std::mutex> lock(FMutex);
            FError = e.what();
            FReady = true;
            FCv.notify_all();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FObject = object.get();
            FReady = true;
            FCv.notify_all();
        }
        exec();
        object->DetachModels();
        object.reset();
        std::lock_guard<std::mutex> lock(FMutex);
        FFinished = true;
        FCv.notify_all();
    }

public:
    // Ends the event loop through the fake's own inbox and waits until the
    // fake object is gone.
    void Stop()
    {
        FObject->Inbox().Push([] { QThread::currentThread()->quit(); });
        std::unique_lock<std::mutex> lock(FMutex);
        FCv.wait(lock, [this] { return FFinished; });
    }

private:
    QString FAddress;
    TFakeBluezObject*& FObject;
    std::mutex FMutex;
    std::condition_variable FCv;
    bool FReady = false;
    bool FFinished = false;
    std::string FError;
};

// Runs fn on the fake's thread and waits for it.
template <typename Fn>
auto OnFake(TFakeBluezObject* object, Fn fn)
{
    using R = decltype(fn());
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    auto finish = [&] {
        std::lock_guard<std::mutex> lock(m);
        done = true;
        cv.notify_all();
    };
    auto waitDone = [&] {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return done; });
    };
    if constexpr (std::is_void_v<R>) {
        object->Inbox().Push([&] {
            fn();
            finish();
        });
        waitDone();
    } else {
        R result{};
        object->Inbox().Push([&] {
            result = fn();
            finish();
        });
        waitDone();
        return result;
    }
}
} // namespace

TFakeBluez::TFakeBluez(const QString& busAddress)
{
    auto thread = std::make_unique<TFakeThread>(busAddress, FObject);
    thread->start();
    thread->WaitReady();
    FThread = std::move(thread);
}

TFakeBluez::~TFakeBluez()
{
    static_cast<TFakeThread*>(FThread.get())->Stop();
    FThread->wait();
}

void TFakeBluez::AddAdapter(bool powered)
{
    OnFake(FObject, [=, this] { FObject->AddAdapter(powered); });
}

QString TFakeBluez::AddPrinter(std::shared_ptr<TSimPrinterModel> model)
{
    return OnFake(FObject, [&] { return FObject->AddPrinter(model, false, std::nullopt); });
}

QString TFakeBluez::AddKnownPrinter(std::shared_ptr<TSimPrinterModel> model, std::optional<int> rssi)
{
    return OnFake(FObject, [&] { return FObject->AddPrinter(model, true, rssi); });
}

void TFakeBluez::Advertise(const QString& devicePath, int rssi)
{
    OnFake(FObject, [&] { FObject->Advertise(devicePath, rssi); });
}

void TFakeBluez::Rename(const QString& devicePath, const QString& name)
{
    OnFake(FObject, [&] { FObject->Rename(devicePath, name); });
}

void TFakeBluez::DropConnection(const QString& devicePath)
{
    OnFake(FObject, [&] { FObject->DropConnection(devicePath); });
}

void TFakeBluez::SetAnswer(const QString& member, TFakeAnswer answer)
{
    OnFake(FObject, [&] { FObject->Answers[member] = answer; });
}

bool TFakeBluez::Discovering() const
{
    return OnFake(FObject, [&] { return FObject->Discovering; });
}

QVariantMap TFakeBluez::DiscoveryFilter() const
{
    return OnFake(FObject, [&] { return FObject->Filter; });
}

QStringList TFakeBluez::Calls() const
{
    return OnFake(FObject, [&] { return FObject->Calls; });
}

int TFakeBluez::CallCount(const QString& member) const
{
    int n = 0;
    for (const QString& c : Calls())
        if (c.section(QLatin1Char(' '), 0, 0) == member)
            ++n;
    return n;
}

QStringList TFakeBluez::WriteTypes() const
{
    return OnFake(FObject, [&] { return FObject->WriteTypes; });
}
