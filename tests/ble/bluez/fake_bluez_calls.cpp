// How the fake answers the central's method calls, and the radio that carries
// queued writes to the printers.
#include "fake_bluez_object.h"

#include "ble/ble_central.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace {
const QString kErrFailed = QStringLiteral("org.bluez.Error.Failed");
const QString kErrInProgress = QStringLiteral("org.bluez.Error.InProgress");
const QString kErrUnknownObject = QStringLiteral("org.freedesktop.DBus.Error.UnknownObject");
const QString kErrUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
} // namespace

bool TFakeBluezObject::handleMessage(const QDBusMessage& msg, const QDBusConnection&)
{
    const QString member = msg.member();
    Calls << member + QLatin1Char(' ') + msg.path();
    const auto answer = Answers.find(member);
    if (answer != Answers.end() && answer->second == TFakeAnswer::Never)
        return true;
    if (answer != Answers.end() && answer->second == TFakeAnswer::Error) {
        const auto name = ErrorNames.find(member);
        Fail(msg, name == ErrorNames.end() ? kErrFailed : name->second, QStringLiteral("Operation failed"));
        return true;
    }
    const QString iface = msg.interface();
    if (iface == bluez::ObjectManager && member == QLatin1String("GetManagedObjects") && msg.path() == QLatin1String("/"))
        Reply(msg, {QVariant::fromValue(ManagedObjects())});
    else if (iface == bluez::Properties)
        HandleProperties(msg);
    else if (iface == bluez::Adapter)
        HandleAdapter(msg);
    else if (iface == bluez::Device)
        HandleDevice(msg);
    else if (iface == bluez::GattCharacteristic)
        HandleChar(msg);
    else
        Fail(msg, kErrUnknownMethod, member);
    return true;
}

void TFakeBluezObject::HandleProperties(const QDBusMessage& msg)
{
    // Only what a central sets: the adapter's power.
    const QVariantList args = msg.arguments();
    if (msg.member() != QLatin1String("Set") || args.size() != 3 || msg.path() != kFakeAdapterPath || !FHasAdapter
        || args.at(0).toString() != bluez::Adapter || args.at(1).toString() != QLatin1String("Powered")) {
        Fail(msg, kErrUnknownMethod, msg.member());
        return;
    }
    FPowered = args.at(2).value<QDBusVariant>().variant().toBool();
    Reply(msg);
    PropertiesChanged(kFakeAdapterPath, bluez::Adapter, {{QStringLiteral("Powered"), FPowered}});
}

void TFakeBluezObject::HandleAdapter(const QDBusMessage& msg)
{
    if (!FHasAdapter || msg.path() != kFakeAdapterPath) {
        Fail(msg, kErrUnknownObject, msg.path());
        return;
    }
    const QString member = msg.member();
    if (member == QLatin1String("SetDiscoveryFilter") && msg.signature() == QLatin1String("a{sv}")) {
        Filter = qdbus_cast<QVariantMap>(msg.arguments().at(0));
        Reply(msg);
    } else if (member == QLatin1String("StartDiscovery")) {
        StartDiscovery(msg);
    } else if (member == QLatin1String("StopDiscovery")) {
        if (!Discovering) {
            Fail(msg, kErrFailed, QStringLiteral("No discovery started"));
        } else {
            Discovering = false;
            FStopped = true;
            FSinceStop.start();
            Reply(msg);
            PropertiesChanged(kFakeAdapterPath, bluez::Adapter, {{QStringLiteral("Discovering"), false}});
        }
    } else {
        Fail(msg, kErrUnknownMethod, member);
    }
}

void TFakeBluezObject::StartDiscovery(const QDBusMessage& msg)
{
    if (!FPowered) {
        Fail(msg, QStringLiteral("org.bluez.Error.NotReady"), QStringLiteral("Resource Not Ready"));
    } else if (Discovering
               || (FStopped && Behaviour.DiscoveryRestartMs > 0 && FSinceStop.elapsed() < Behaviour.DiscoveryRestartMs)) {
        // The controller is still winding the last scan down.
        Fail(msg, kErrInProgress, QStringLiteral("Operation already in progress"));
    } else {
        Discovering = true;
        Reply(msg);
        PropertiesChanged(kFakeAdapterPath, bluez::Adapter, {{QStringLiteral("Discovering"), true}});
    }
}

void TFakeBluezObject::HandleDevice(const QDBusMessage& msg)
{
    TDevice* d = DeviceAt(msg.path());
    if (!d) {
        Fail(msg, kErrUnknownObject, msg.path());
        return;
    }
    const QString member = msg.member();
    if (member == QLatin1String("Connect"))
        Connect(*d, msg);
    else if (member == QLatin1String("Disconnect"))
        Disconnect(*d, msg);
    else
        Fail(msg, kErrUnknownMethod, member);
}

void TFakeBluezObject::Connect(TDevice& d, const QDBusMessage& msg)
{
    const TSimFaults faults = d.Model->Faults();
    if (faults.RefuseDiscovery) {
        Fail(msg, kErrFailed, QStringLiteral("Software caused connection abort"));
        return;
    }
    if (d.Settling) {
        if (!Behaviour.ConnectWhileSettlingDrops) {
            Fail(msg, kErrInProgress, QStringLiteral("In Progress"));
            return;
        }
        // Looks connected, and the old disconnect takes the link down after all.
        d.DropAfterSettle = true;
        Reply(msg);
        return;
    }
    if (d.Connected && Behaviour.AlreadyConnectedError) {
        Fail(msg, QStringLiteral("org.bluez.Error.AlreadyConnected"), QStringLiteral("Already Connected"));
        return;
    }
    if (!d.Connected) {
        d.Model->Connect();
        d.Connected = true;
        PropertiesChanged(d.Path, bluez::Device, {{QStringLiteral("Connected"), true}});
        if (!faults.IgnoreDiscovery) {
            for (const TService& s : d.Gatt) {
                InterfacesAdded(s.Path, {{bluez::GattService, ServiceProps(d, s)}});
                for (const TChar& c : s.Chars)
                    InterfacesAdded(c.Path, {{bluez::GattCharacteristic, CharProps(s, c)}});
            }
            d.Resolved = true;
            PropertiesChanged(d.Path, bluez::Device, {{QStringLiteral("ServicesResolved"), true}});
        }
    }
    Reply(msg);
}

void TFakeBluezObject::Disconnect(TDevice& d, const QDBusMessage& msg)
{
    if (Behaviour.DisconnectSettleMs <= 0 || !d.Connected) {
        d.Model->Disconnect();
        LinkDown(d);
        Reply(msg);
        return;
    }
    d.Settling = true;
    Reply(msg);
    const QString path = d.Path;
    QTimer::singleShot(Behaviour.DisconnectSettleMs, this, [this, path] { SettleDone(path); });
}

void TFakeBluezObject::SettleDone(const QString& path)
{
    for (TDevice& d : FDevices) {
        if (d.Path != path || !d.Settling)
            continue;
        d.Settling = false;
        d.DropAfterSettle = false;
        d.Model->Disconnect();
        LinkDown(d);
    }
}

void TFakeBluezObject::HandleChar(const QDBusMessage& msg)
{
    auto [d, c] = CharAt(msg.path());
    if (!d) {
        Fail(msg, kErrUnknownObject, msg.path());
        return;
    }
    const QString member = msg.member();
    const std::string uuid = c->Uuid.toStdString();
    if (member == QLatin1String("WriteValue") && msg.signature() == QLatin1String("aya{sv}")) {
        Write(*d, *c, msg);
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
        Fail(msg, kErrUnknownMethod, member);
    }
}

void TFakeBluezObject::Write(TDevice& d, TChar& c, const QDBusMessage& msg)
{
    const QByteArray bytes = msg.arguments().at(0).toByteArray();
    const QVariantMap options = qdbus_cast<QVariantMap>(msg.arguments().at(1));
    const QString type = options.value(QStringLiteral("type")).toString();
    WriteTypes << c.Uuid + QLatin1Char(' ') + type;
    const bool command = type == QLatin1String("command");
    // A write without response must fit one ATT packet; only requests may be split.
    if (command && bytes.size() > Behaviour.Mtu - 3) {
        Fail(msg, kErrFailed, QStringLiteral("Failed to initiate write"));
        return;
    }
    std::vector<uint8_t> value(bytes.begin(), bytes.end());
    if (Behaviour.RadioIntervalMs > 0) {
        d.Air.push_back({c.Uuid.toStdString(), std::move(value), !command, msg});
        if (command)
            Reply(msg);
        if (!FRadio.isActive() || FRadio.interval() != Behaviour.RadioIntervalMs)
            FRadio.start(Behaviour.RadioIntervalMs);
        return;
    }
    // The printer may answer (or drop the link) before BlueZ answers the write.
    if (d.Model->Write(c.Uuid.toStdString(), value))
        Reply(msg);
    else
        Fail(msg, kErrFailed, QStringLiteral("Write failed"));
}

void TFakeBluezObject::SendOnAir()
{
    bool more = false;
    for (TDevice& d : FDevices) {
        if (d.Air.empty())
            continue;
        TAirPacket p = std::move(d.Air.front());
        d.Air.pop_front();
        const bool ok = d.Model->Write(p.Uuid, p.Bytes);
        // A command that the printer did not take is lost without a word, as on the air.
        if (p.Request) {
            if (ok)
                Reply(p.Call);
            else
                Fail(p.Call, kErrFailed, QStringLiteral("Write failed"));
        }
        more = more || !d.Air.empty();
    }
    if (!more)
        FRadio.stop();
}
