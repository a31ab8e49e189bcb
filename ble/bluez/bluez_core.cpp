#include "ble/bluez/bluez_core.h"

#include "ble/bluez/bluez_backend.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <climits>

namespace {
const QString kManagedObjectsSig = QStringLiteral("a{oa{sa{sv}}}");
// The longest the platform thread lingers at shutdown for the answers to
// Tell calls, so that a stop of the scan or a disconnect still reaches BlueZ.
constexpr int kRunDownMs = 2000;
// Write commands between two writes that wait for the printer's answer.
constexpr int kAnswerEvery = 8;

QString NewConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("pellwerk-bluez-%1").arg(++counter);
}

QDBusConnection OpenBus(const QString& busAddress, const QString& name)
{
    if (busAddress.isEmpty())
        return QDBusConnection::systemBus();
    return QDBusConnection::connectToBus(busAddress, name);
}

QString PathProp(const QVariantMap& props, const char* key)
{
    return props.value(QLatin1String(key)).value<QDBusObjectPath>().path();
}

std::string LowerUuid(const QVariantMap& props)
{
    return props.value(QStringLiteral("UUID")).toString().toLower().toStdString();
}

bool Answered(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage;
}

const QString kErrInProgress = QStringLiteral("org.bluez.Error.InProgress");
const QString kErrAlreadyConnected = QStringLiteral("org.bluez.Error.AlreadyConnected");
const QString kErrUnknownObject = QStringLiteral("org.freedesktop.DBus.Error.UnknownObject");

// A printer that already holds a connection to this adapter no longer
// advertises; it is found by its state instead.
bool HeldPrinter(const QVariantMap& props)
{
    if (!props.value(QStringLiteral("Connected")).toBool())
        return false;
    const QStringList uuids = props.value(QStringLiteral("UUIDs")).toStringList();
    const bool ae30 = std::any_of(uuids.begin(), uuids.end(),
                                  [](const QString& u) { return u.startsWith(QLatin1String("0000ae30"), Qt::CaseInsensitive); });
    return ae30 || !props.value(QStringLiteral("Name")).toString().isEmpty();
}
} // namespace

TBluezCore::TBluezCore(TBluezBackend& backend, const QString& busAddress)
    : FBackend(backend)
    , FConnName(busAddress.isEmpty() ? QString() : NewConnectionName())
    , FBus(OpenBus(busAddress, FConnName))
{
    bluez::RegisterDBusTypes();
    FDiscoveryTimer.setSingleShot(true);
    connect(&FDiscoveryTimer, &QTimer::timeout, this, [this] { StopScan(); });
    if (!FBus.isConnected())
        return;
    FBus.connect(bluez::Service, QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("InterfacesAdded"), this,
                 SLOT(OnInterfacesAdded(QDBusMessage)));
    FBus.connect(bluez::Service, QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("InterfacesRemoved"), this,
                 SLOT(OnInterfacesRemoved(QDBusMessage)));
    // Every object of org.bluez: devices report RSSI and connection state,
    // characteristics their notified values.
    FBus.connect(bluez::Service, QString(), bluez::Properties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(OnPropertiesChanged(QDBusMessage)));
}

TBluezCore::~TBluezCore()
{
    if (!FConnName.isEmpty())
        QDBusConnection::disconnectFromBus(FConnName);
}

void TBluezCore::CallBluez(const QString& path, const QString& iface, const QString& method,
                           const QVariantList& args, int timeoutMs, TReplyFn done)
{
    QDBusMessage call = QDBusMessage::createMethodCall(bluez::Service, path, iface, method);
    call.setArguments(args);
    auto* watcher = new QDBusPendingCallWatcher(FBus.asyncCall(call, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->reply());
    });
}

void TBluezCore::Tell(const QString& path, const QString& iface, const QString& method)
{
    ++FOutstanding;
    CallBluez(path, iface, method, {}, FBackend.Timeouts.CallMs, [this](const QDBusMessage&) {
        --FOutstanding;
        QuitWhenIdle();
    });
}

void TBluezCore::QuitWhenIdle()
{
    if (FClosing && FOutstanding == 0)
        QThread::currentThread()->quit();
}

void TBluezCore::RunDown()
{
    FClosing = true;
    if (FDiscovering)
        StopScan();
    QTimer::singleShot(std::min(FBackend.Timeouts.CallMs, kRunDownMs), this,
                       [] { QThread::currentThread()->quit(); });
    QuitWhenIdle();
}

// --- discovery -------------------------------------------------------------

void TBluezCore::StartDiscovery(uint32_t timeoutMs, const TBluezWaitPtr& wait)
{
    if (!FBus.isConnected()) {
        wait->Finish(false);
        return;
    }
    const int ms = timeoutMs > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
    // The adapter is looked up anew each time: it may have been plugged in,
    // powered on or replaced since the last scan.
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [this, ms, wait](const QDBusMessage& reply) {
                  if (FClosing || !Answered(reply) || reply.signature() != kManagedObjectsSig) {
                      wait->Finish(false);
                      return;
                  }
                  const auto objects = qdbus_cast<TDBusManagedObjects>(reply.arguments().at(0));
                  const QString adapter = bluez::FirstAdapter(objects);
                  const bool powered = !adapter.isEmpty()
                      && objects.value(QDBusObjectPath(adapter)).value(bluez::Adapter).value(QStringLiteral("Powered")).toBool();
                  if (adapter.isEmpty() || !powered) {
                      wait->Finish(false);
                      return;
                  }
                  if (adapter != FAdapterPath && FDiscovering)
                      StopScan();
                  FAdapterPath = adapter;
                  for (auto it = objects.cbegin(); it != objects.cend(); ++it)
                      if (it->contains(bluez::Device) && OnAdapter(it.key().path(), it->value(bluez::Device)))
                          ApplyDeviceProps(DeviceAt(it.key().path()), it->value(bluez::Device));
                  if (FDiscovering) {
                      ScanRunning(ms, objects);
                      wait->Finish(true);
                      return;
                  }
                  StartScanOnAdapter(adapter, ms, objects, wait);
              });
}

void TBluezCore::StartScanOnAdapter(const QString& adapter, int timeoutMs, const TDBusManagedObjects& objects,
                                    const TBluezWaitPtr& wait)
{
    // Low energy only, and every advertisement reported, so that a waiting
    // list sees the RSSI of a printer change while the scan runs.
    const QVariantMap filter{{QStringLiteral("Transport"), QStringLiteral("le")},
                             {QStringLiteral("DuplicateData"), true}};
    CallBluez(adapter, bluez::Adapter, QStringLiteral("SetDiscoveryFilter"), {filter}, FBackend.Timeouts.CallMs,
              [this, adapter, timeoutMs, objects, wait](const QDBusMessage& reply) {
                  if (FClosing || !Answered(reply)) {
                      wait->Finish(false);
                      return;
                  }
                  StartDiscoveryCall(adapter, timeoutMs, objects, wait, false);
              });
}

void TBluezCore::StartDiscoveryCall(const QString& adapter, int timeoutMs, const TDBusManagedObjects& objects,
                                    const TBluezWaitPtr& wait, bool retried)
{
    CallBluez(adapter, bluez::Adapter, QStringLiteral("StartDiscovery"), {}, FBackend.Timeouts.CallMs,
              [this, adapter, timeoutMs, objects, wait, retried](const QDBusMessage& reply) {
                  if (!Answered(reply)) {
                      // Right after a stop BlueZ may still be winding the last scan down.
                      if (!retried && !FClosing && reply.errorName() == kErrInProgress) {
                          QTimer::singleShot(FBackend.Timeouts.RetryMs, this, [=, this] {
                              if (FClosing)
                                  wait->Finish(false);
                              else
                                  StartDiscoveryCall(adapter, timeoutMs, objects, wait, true);
                          });
                          return;
                      }
                      wait->Finish(false);
                      return;
                  }
                  FDiscovering = true;
                  if (FClosing) {
                      StopScan();
                      wait->Finish(false);
                      return;
                  }
                  ScanRunning(timeoutMs, objects);
                  wait->Finish(true);
              });
}

void TBluezCore::ScanRunning(int timeoutMs, const TDBusManagedObjects& objects)
{
    FDiscoveryTimer.start(timeoutMs);
    // Devices BlueZ already holds with a fresh RSSI are in range now, yet
    // will not be added again; report them as the scan's first results.
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const QVariantMap props = it->value(bluez::Device);
        if (!OnAdapter(it.key().path(), props))
            continue;
        if (props.contains(QStringLiteral("RSSI")))
            ReportDevice(DeviceAt(it.key().path()), props.value(QStringLiteral("RSSI")).toInt());
        else if (HeldPrinter(props))
            ReportDevice(DeviceAt(it.key().path()), 0); // no advertisement, so no signal strength
    }
}

void TBluezCore::CancelDiscovery()
{
    if (FDiscovering)
        StopScan();
}

void TBluezCore::StopScan()
{
    FDiscoveryTimer.stop();
    if (!FDiscovering)
        return;
    FDiscovering = false;
    Tell(FAdapterPath, bluez::Adapter, QStringLiteral("StopDiscovery"));
}

bool TBluezCore::OnAdapter(const QString& path, const QVariantMap& deviceProps) const
{
    if (FAdapterPath.isEmpty())
        return true;
    const QString adapter = PathProp(deviceProps, "Adapter");
    if (!adapter.isEmpty())
        return adapter == FAdapterPath;
    return path.startsWith(FAdapterPath + QLatin1Char('/'));
}

void TBluezCore::ReportDevice(TBluezDevice& device, int rssi)
{
    if (!FDiscovering || FClosing)
        return;
    FBackend.Emit([&](TBleListener& l) { l.DeviceDiscovered(&device, rssi); });
}

// --- device objects --------------------------------------------------------

TBluezDevice* TBluezCore::FindDevice(const QString& path) const
{
    const auto it = FDevices.find(path);
    return it == FDevices.end() ? nullptr : it->second;
}

TBluezDevice& TBluezCore::DeviceAt(const QString& path)
{
    if (TBluezDevice* d = FindDevice(path))
        return *d;
    FOwnedDevices.push_back(std::make_unique<TBluezDevice>(FBackend, path));
    TBluezDevice* d = FOwnedDevices.back().get();
    FDevices[path] = d;
    return *d;
}

void TBluezCore::ApplyDeviceProps(TBluezDevice& device, const QVariantMap& props)
{
    if (props.contains(QStringLiteral("Name")))
        device.SetName(props.value(QStringLiteral("Name")).toString().toStdString());
    if (props.contains(QStringLiteral("Address")))
        device.SetAddress(props.value(QStringLiteral("Address")).toString().toStdString());
    if (props.contains(QStringLiteral("Connected"))) {
        device.LinkUp = props.value(QStringLiteral("Connected")).toBool();
        if (!device.LinkUp) {
            DeviceDown(device);
            SettleDone(device);
        }
    }
    if (props.contains(QStringLiteral("ServicesResolved")) && !props.value(QStringLiteral("ServicesResolved")).toBool())
        device.SetServices({});
}

void TBluezCore::OnInterfacesAdded(const QDBusMessage& msg)
{
    if (msg.signature() != QLatin1String("oa{sa{sv}}") || msg.arguments().size() != 2)
        return;
    const QString path = msg.arguments().at(0).value<QDBusObjectPath>().path();
    const auto ifaces = qdbus_cast<TDBusInterfaceMap>(msg.arguments().at(1));
    if (!ifaces.contains(bluez::Device))
        return;
    const QVariantMap props = ifaces.value(bluez::Device);
    if (!OnAdapter(path, props))
        return;
    TBluezDevice& device = DeviceAt(path);
    device.SetGone(false);
    ApplyDeviceProps(device, props);
    if (props.contains(QStringLiteral("RSSI")))
        ReportDevice(device, props.value(QStringLiteral("RSSI")).toInt());
}

void TBluezCore::OnInterfacesRemoved(const QDBusMessage& msg)
{
    if (msg.signature() != QLatin1String("oas") || msg.arguments().size() != 2)
        return;
    const QString path = msg.arguments().at(0).value<QDBusObjectPath>().path();
    const QStringList ifaces = msg.arguments().at(1).toStringList();
    if (ifaces.contains(bluez::Device)) {
        if (TBluezDevice* d = FindDevice(path)) {
            // BlueZ forgets devices of a scan that is long over; the object
            // stays ours, but only a new scan can bring the device back.
            d->SetGone(true);
            d->LinkUp = false;
            DeviceDown(*d);
            SettleDone(*d);
        }
    }
    if (ifaces.contains(bluez::GattService)) {
        const auto it = FServices.find(path);
        if (it != FServices.end())
            for (const auto& d : FOwnedDevices)
                d->DropService(it->second);
    }
    if (ifaces.contains(bluez::GattCharacteristic)) {
        const auto it = FChars.find(path);
        if (it != FChars.end())
            it->second->SetLive(false);
    }
}

void TBluezCore::OnPropertiesChanged(const QDBusMessage& msg)
{
    if (msg.signature() != QLatin1String("sa{sv}as") || msg.arguments().size() != 3)
        return;
    const QString iface = msg.arguments().at(0).toString();
    const auto changed = qdbus_cast<QVariantMap>(msg.arguments().at(1));
    const QString path = msg.path();

    if (iface == bluez::GattCharacteristic) {
        const auto it = FChars.find(path);
        if (it == FChars.end())
            return;
        if (changed.contains(QStringLiteral("MTU")))
            it->second->SetMtu(changed.value(QStringLiteral("MTU")).toInt());
        if (!changed.contains(QStringLiteral("Value")) || !it->second->Live())
            return;
        const QByteArray bytes = changed.value(QStringLiteral("Value")).toByteArray();
        const std::vector<uint8_t> value(bytes.begin(), bytes.end());
        TBluezCharacteristic* ch = it->second;
        FBackend.Emit([&](TBleListener& l) { l.CharacteristicChanged(&ch->Device(), ch, value); });
        return;
    }
    if (iface != bluez::Device)
        return;
    TBluezDevice* device = FindDevice(path);
    if (!device)
        return;
    ApplyDeviceProps(*device, changed);
    if (changed.value(QStringLiteral("ServicesResolved")).toBool())
        FetchServices(*device);
    if (changed.contains(QStringLiteral("RSSI")))
        ReportDevice(*device, changed.value(QStringLiteral("RSSI")).toInt());
}

// --- connection and GATT ---------------------------------------------------

void TBluezCore::DiscoverServices(TBluezDevice& device, const TBluezWaitPtr& wait)
{
    device.SetLastError({});
    if (!FBus.isConnected()) {
        FailDiscovery(device, wait, QStringLiteral("org.freedesktop.DBus.Error.Disconnected"));
        return;
    }
    if (device.Gone()) {
        FailDiscovery(device, wait, kErrUnknownObject);
        return;
    }
    // Whatever the device listed tells of an earlier connection; until this
    // request is answered it has no services.
    device.SetServices({});
    const uint64_t request = ++FResolveRequests;
    FResolvePending[&device] = request;
    device.Request = request;
    if (!device.DownPending) {
        SendConnect(device, request, wait);
        return;
    }
    FHeldConnects[&device] = {request, wait};
    QTimer::singleShot(FBackend.Timeouts.SettleMs, this, [this, &device, request] {
        const auto held = FHeldConnects.find(&device);
        if (held == FHeldConnects.end() || held->second.first != request)
            return;
        // BlueZ never confirmed the disconnect; try all the same.
        device.DownPending = false;
        SettleDone(device);
    });
}

void TBluezCore::SettleDone(TBluezDevice& device)
{
    device.DownPending = false;
    const auto held = FHeldConnects.find(&device);
    if (held == FHeldConnects.end())
        return;
    const auto [request, wait] = held->second;
    FHeldConnects.erase(held);
    if (device.Request != request || FClosing) {
        wait->Finish(false);
        return;
    }
    // Later in the loop: SettleDone may run inside the handling of the very
    // change that releases the device's other waits.
    QTimer::singleShot(0, this, [this, &device, request, wait] { SendConnect(device, request, wait); });
}

void TBluezCore::SendConnect(TBluezDevice& device, uint64_t request, const TBluezWaitPtr& wait)
{
    // BlueZ answers Connect once the link is up, often before the services
    // are resolved; completion is then ServicesResolved turning true. When the
    // device was connected and resolved already, no such change comes, so the
    // answer itself looks at the object tree once.
    if (device.Request != request || FClosing) {
        wait->Finish(false);
        return;
    }
    // From here a disconnect of the device releases the caller.
    TrackWait(device, wait);
    CallBluez(device.Path(), bluez::Device, QStringLiteral("Connect"), {}, FBackend.Timeouts.ConnectMs,
              [this, &device, request, wait](const QDBusMessage& reply) {
                  if (device.Request != request) {
                      AnswerWait(device, wait, false);
                      return;
                  }
                  if (!Answered(reply)) {
                      ConnectRefused(device, request, wait, reply);
                      return;
                  }
                  device.LinkUp = true;
                  AnswerWait(device, wait, true);
                  FetchServices(device);
              });
}

void TBluezCore::ConnectRefused(TBluezDevice& device, uint64_t request, const TBluezWaitPtr& wait,
                                const QDBusMessage& reply)
{
    const QString error = reply.errorName();
    if (error != kErrAlreadyConnected) {
        if (error == kErrUnknownObject)
            device.SetGone(true);
        FResolvePending.erase(&device);
        FailDiscovery(device, wait, error);
        return;
    }
    // Connected already: only as good as the services BlueZ holds for it.
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [this, &device, request, wait, error](const QDBusMessage& objectsReply) {
                  if (device.Request != request || !Answered(objectsReply)
                      || objectsReply.signature() != kManagedObjectsSig) {
                      FailDiscovery(device, wait, error);
                      return;
                  }
                  const auto objects = qdbus_cast<TDBusManagedObjects>(objectsReply.arguments().at(0));
                  const QVariantMap props = objects.value(QDBusObjectPath(device.Path())).value(bluez::Device);
                  if (!props.value(QStringLiteral("ServicesResolved")).toBool()) {
                      FResolvePending.erase(&device);
                      FailDiscovery(device, wait, error);
                      return;
                  }
                  FResolvePending.erase(&device);
                  BuildServices(device, objects);
                  AnswerWait(device, wait, true);
                  FBackend.Emit([&](TBleListener& l) { l.ServicesDiscovered(&device); });
              });
}

void TBluezCore::FailDiscovery(TBluezDevice& device, const TBluezWaitPtr& wait, const QString& error)
{
    device.SetLastError(error.toStdString());
    AnswerWait(device, wait, false);
}

void TBluezCore::FetchServices(TBluezDevice& device)
{
    const auto pending = FResolvePending.find(&device);
    if (pending == FResolvePending.end() || FClosing)
        return;
    // An object list asked for under an earlier request may answer only after
    // the device was disconnected and asked for again; it tells of the old
    // connection and must not complete the new request.
    const uint64_t request = pending->second;
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [this, &device, request](const QDBusMessage& reply) {
                  const auto still = FResolvePending.find(&device);
                  if (still == FResolvePending.end() || still->second != request || !Answered(reply)
                      || reply.signature() != kManagedObjectsSig)
                      return;
                  const auto objects = qdbus_cast<TDBusManagedObjects>(reply.arguments().at(0));
                  const QVariantMap props = objects.value(QDBusObjectPath(device.Path())).value(bluez::Device);
                  if (!props.value(QStringLiteral("ServicesResolved")).toBool())
                      return;
                  FResolvePending.erase(&device);
                  BuildServices(device, objects);
                  FBackend.Emit([&](TBleListener& l) { l.ServicesDiscovered(&device); });
              });
}

void TBluezCore::BuildServices(TBluezDevice& device, const TDBusManagedObjects& objects)
{
    const QString devPath = device.Path();
    std::vector<TBleService*> services;
    // Object paths of one device sort in handle order, which is the order
    // the printer declares its services and characteristics in.
    for (auto s = objects.cbegin(); s != objects.cend(); ++s) {
        if (!s->contains(bluez::GattService))
            continue;
        const QVariantMap sprops = s->value(bluez::GattService);
        const QString spath = s.key().path();
        const QString owner = PathProp(sprops, "Device");
        if (owner.isEmpty() ? !spath.startsWith(devPath + QLatin1Char('/')) : owner != devPath)
            continue;
        std::vector<TBleCharacteristic*> chars;
        for (auto c = objects.cbegin(); c != objects.cend(); ++c) {
            if (!c->contains(bluez::GattCharacteristic))
                continue;
            const QVariantMap cprops = c->value(bluez::GattCharacteristic);
            const QString cpath = c.key().path();
            const QString parent = PathProp(cprops, "Service");
            if (parent.isEmpty() ? !cpath.startsWith(spath + QLatin1Char('/')) : parent != spath)
                continue;
            const uint32_t flags = bluez::CharPropsFromFlags(cprops.value(QStringLiteral("Flags")).toStringList());
            TBluezCharacteristic& ch = CharAt(cpath, device, LowerUuid(cprops), flags);
            ch.SetMtu(cprops.value(QStringLiteral("MTU")).toInt());
            ch.SinceAnswered = 0;
            chars.push_back(&ch);
        }
        services.push_back(&ServiceAt(spath, LowerUuid(sprops), chars));
    }
    device.SetServices(std::move(services));
}

TBluezCharacteristic& TBluezCore::CharAt(const QString& path, TBluezDevice& device, const std::string& uuid,
                                         uint32_t props)
{
    const auto it = FChars.find(path);
    if (it != FChars.end() && &it->second->Device() == &device && it->second->Uuid() == uuid
        && it->second->Properties() == props) {
        it->second->SetLive(true);
        return *it->second;
    }
    // A different characteristic under an old path: the old object stays
    // valid for whoever still holds it, but answers false from now on.
    if (it != FChars.end())
        it->second->SetLive(false);
    FOwnedChars.push_back(std::make_unique<TBluezCharacteristic>(FBackend, device, path, uuid, props));
    FChars[path] = FOwnedChars.back().get();
    return *FOwnedChars.back();
}

TBluezService& TBluezCore::ServiceAt(const QString& path, const std::string& uuid,
                                     const std::vector<TBleCharacteristic*>& chars)
{
    const auto it = FServices.find(path);
    if (it != FServices.end() && it->second->Uuid() == uuid && it->second->Characteristics() == chars)
        return *it->second;
    FOwnedServices.push_back(std::make_unique<TBluezService>(path, uuid, chars));
    FServices[path] = FOwnedServices.back().get();
    return *FOwnedServices.back();
}

void TBluezCore::DeviceDown(TBluezDevice& device)
{
    // A discovery asked for stays asked for: the news of an earlier
    // disconnect may arrive only after the caller has already reconnected.
    for (auto& [path, ch] : FChars)
        if (&ch->Device() == &device)
            ch->SetLive(false);
    device.SetServices({});
    // A write in flight would otherwise hang on until BlueZ's own timeout.
    const auto range = FDeviceWaits.equal_range(&device);
    for (auto it = range.first; it != range.second; ++it)
        it->second->Finish(false);
    FDeviceWaits.erase(range.first, range.second);
}

void TBluezCore::TrackWait(TBluezDevice& device, const TBluezWaitPtr& wait)
{
    FDeviceWaits.emplace(&device, wait);
}

void TBluezCore::AnswerWait(TBluezDevice& device, const TBluezWaitPtr& wait, bool ok)
{
    const auto range = FDeviceWaits.equal_range(&device);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == wait) {
            FDeviceWaits.erase(it);
            break;
        }
    }
    wait->Finish(ok);
}

void TBluezCore::SetNotify(TBluezCharacteristic& ch, bool enable, const TBluezWaitPtr& wait)
{
    if (!ch.Live() || !FBus.isConnected()) {
        wait->Finish(false);
        return;
    }
    TBluezDevice& device = ch.Device();
    TrackWait(device, wait);
    CallBluez(ch.Path(), bluez::GattCharacteristic, enable ? QStringLiteral("StartNotify") : QStringLiteral("StopNotify"),
              {}, FBackend.Timeouts.CallMs,
              [this, &device, wait](const QDBusMessage& reply) { AnswerWait(device, wait, Answered(reply)); });
}

void TBluezCore::Write(TBluezCharacteristic& ch, const QByteArray& value, const TBluezWaitPtr& wait)
{
    if (!ch.Live() || !FBus.isConnected()) {
        wait->Finish(false);
        return;
    }
    // "command" is BlueZ's write without response: it answers once the packet
    // is queued, not when it has left the radio, so a fast sender could queue
    // a whole job ahead of the printer's first pause. Every kAnswerEvery-th
    // packet therefore goes as a request where the characteristic takes one:
    // its answer comes only after the printer has received it and every
    // packet before it, so at most that many packets are ever on their way.
    bool command = (ch.Properties() & cpWriteWithoutResponse) != 0;
    if (command && (ch.Properties() & cpWrite) && ++ch.SinceAnswered >= kAnswerEvery) {
        command = false;
        ch.SinceAnswered = 0;
    }
    const QVariantMap options{{QStringLiteral("type"), command ? QStringLiteral("command") : QStringLiteral("request")}};
    TBluezDevice& device = ch.Device();
    TrackWait(device, wait);
    CallBluez(ch.Path(), bluez::GattCharacteristic, QStringLiteral("WriteValue"), {value, options},
              FBackend.Timeouts.WriteMs,
              [this, &device, wait](const QDBusMessage& reply) { AnswerWait(device, wait, Answered(reply)); });
}

void TBluezCore::Disconnect(TBluezDevice& device)
{
    // The caller gives the device up: a discovery still asked for is void.
    FResolvePending.erase(&device);
    device.Request = 0;
    const auto held = FHeldConnects.find(&device);
    if (held != FHeldConnects.end()) {
        const TBluezWaitPtr wait = held->second.second;
        FHeldConnects.erase(held);
        wait->Finish(false);
    }
    // Until BlueZ confirms, a new Connect would be refused or dropped.
    if (device.LinkUp)
        device.DownPending = true;
    DeviceDown(device);
    Tell(device.Path(), bluez::Device, QStringLiteral("Disconnect"));
}
