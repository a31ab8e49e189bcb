// What the core tells about Bluetooth itself: whether it can be used, switching
// the adapter on, and the raw object tree for a report.
#include "ble/bluez/bluez_core.h"

#include "ble/bluez/bluez_backend.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
const QString kManagedObjectsSig = QStringLiteral("a{oa{sa{sv}}}");

TBleState StateOfError(const QString& name)
{
    if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return TBleState::bsNoService;
    if (name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied")
        || name == QLatin1String("org.bluez.Error.NotAuthorized"))
        return TBleState::bsAccessDenied;
    if (name == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
        return TBleState::bsNoBus;
    return TBleState::bsUnknown;
}

QString ValueText(const QVariant& v)
{
    if (v.canConvert<QDBusObjectPath>() && v.userType() == qMetaTypeId<QDBusObjectPath>())
        return v.value<QDBusObjectPath>().path();
    if (v.userType() == QMetaType::QByteArray)
        return QString::fromLatin1(v.toByteArray().toHex(' '));
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    if (v.userType() == qMetaTypeId<QDBusArgument>())
        return QStringLiteral("(%1)").arg(v.value<QDBusArgument>().currentSignature());
    if (v.userType() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("ja") : QStringLiteral("nein");
    return v.toString();
}

void AppendObject(QStringList& lines, const QString& path, const TDBusInterfaceMap& ifaces)
{
    for (auto i = ifaces.cbegin(); i != ifaces.cend(); ++i) {
        if (!i.key().startsWith(QLatin1String("org.bluez.")))
            continue;
        lines << QStringLiteral("[%1] %2").arg(path, i.key());
        for (auto p = i->cbegin(); p != i->cend(); ++p)
            lines << QStringLiteral("  %1 = %2").arg(p.key(), ValueText(p.value()));
    }
}
} // namespace

void TBluezCore::QueryState(const std::shared_ptr<TBleState>& state, const TBluezWaitPtr& wait)
{
    if (!FBus.isConnected()) {
        *state = TBleState::bsNoBus;
        wait->Finish(true);
        return;
    }
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [state, wait](const QDBusMessage& reply) {
                  if (reply.type() != QDBusMessage::ReplyMessage) {
                      *state = StateOfError(reply.errorName());
                  } else if (reply.signature() != kManagedObjectsSig) {
                      *state = TBleState::bsUnknown;
                  } else {
                      const auto objects = qdbus_cast<TDBusManagedObjects>(reply.arguments().at(0));
                      const QString adapter = bluez::FirstAdapter(objects);
                      if (adapter.isEmpty())
                          *state = TBleState::bsNoAdapter;
                      else if (!objects.value(QDBusObjectPath(adapter)).value(bluez::Adapter).value(QStringLiteral("Powered")).toBool())
                          *state = TBleState::bsPoweredOff;
                      else
                          *state = TBleState::bsReady;
                  }
                  wait->Finish(true);
              });
}

void TBluezCore::PowerOn(const TBluezWaitPtr& wait)
{
    if (!FBus.isConnected()) {
        wait->Finish(false);
        return;
    }
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [this, wait](const QDBusMessage& reply) {
                  const QString adapter = reply.type() == QDBusMessage::ReplyMessage && reply.signature() == kManagedObjectsSig
                      ? bluez::FirstAdapter(qdbus_cast<TDBusManagedObjects>(reply.arguments().at(0)))
                      : QString();
                  if (adapter.isEmpty()) {
                      wait->Finish(false);
                      return;
                  }
                  CallBluez(adapter, bluez::Properties, QStringLiteral("Set"),
                            {bluez::Adapter, QStringLiteral("Powered"), QVariant::fromValue(QDBusVariant(true))},
                            FBackend.Timeouts.CallMs, [wait](const QDBusMessage& setReply) {
                                wait->Finish(setReply.type() == QDBusMessage::ReplyMessage);
                            });
              });
}

void TBluezCore::Describe(const QString& devicePath, const std::shared_ptr<QStringList>& lines,
                          const TBluezWaitPtr& wait)
{
    if (!FBus.isConnected()) {
        wait->Finish(false);
        return;
    }
    CallBluez(QStringLiteral("/"), bluez::ObjectManager, QStringLiteral("GetManagedObjects"), {},
              FBackend.Timeouts.CallMs, [devicePath, lines, wait](const QDBusMessage& reply) {
                  if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != kManagedObjectsSig) {
                      wait->Finish(false);
                      return;
                  }
                  const auto objects = qdbus_cast<TDBusManagedObjects>(reply.arguments().at(0));
                  // Object paths sort so that a device's services and
                  // characteristics follow it in handle order.
                  for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
                      const QString path = it.key().path();
                      const bool mine = !devicePath.isEmpty()
                          && (path == devicePath || path.startsWith(devicePath + QLatin1Char('/')));
                      if ((devicePath.isEmpty() && it->contains(bluez::Adapter)) || mine)
                          AppendObject(*lines, path, *it);
                  }
                  wait->Finish(true);
              });
}
