#pragma once
// D-Bus container types of BlueZ's object tree, and the names of its
// interfaces. Shared by the backend and anything else that speaks org.bluez.

#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QVariantMap>

#include <cstdint>

// a{sa{sv}}: the interfaces of one object with their properties.
using TDBusInterfaceMap = QMap<QString, QVariantMap>;
// a{oa{sa{sv}}}: the answer of ObjectManager.GetManagedObjects.
using TDBusManagedObjects = QMap<QDBusObjectPath, TDBusInterfaceMap>;

namespace bluez {
inline const QString Service = QStringLiteral("org.bluez");
inline const QString ObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
inline const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
inline const QString Adapter = QStringLiteral("org.bluez.Adapter1");
inline const QString Device = QStringLiteral("org.bluez.Device1");
inline const QString GattService = QStringLiteral("org.bluez.GattService1");
inline const QString GattCharacteristic = QStringLiteral("org.bluez.GattCharacteristic1");

// Registers the container types with QtDBus; cheap to call again.
void RegisterDBusTypes();

// Path of the first adapter in the object list; empty when there is none.
QString FirstAdapter(const TDBusManagedObjects& objects);

// GattCharacteristic1.Flags as a TBleCharProp bit set; unknown flags are ignored.
uint32_t CharPropsFromFlags(const QStringList& flags);
} // namespace bluez
