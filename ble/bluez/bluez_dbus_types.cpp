#include "ble/bluez/bluez_dbus_types.h"

#include "ble/ble_central.h"

#include <QDBusMetaType>
#include <QStringList>

#include <mutex>

namespace bluez {

void RegisterDBusTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        qDBusRegisterMetaType<TDBusInterfaceMap>();
        qDBusRegisterMetaType<TDBusManagedObjects>();
    });
}

QString FirstAdapter(const TDBusManagedObjects& objects)
{
    for (auto it = objects.cbegin(); it != objects.cend(); ++it)
        if (it->contains(Adapter))
            return it.key().path();
    return QString();
}

uint32_t CharPropsFromFlags(const QStringList& flags)
{
    uint32_t props = 0;
    for (const QString& f : flags) {
        if (f == QLatin1String("read"))
            props |= cpRead;
        else if (f == QLatin1String("write"))
            props |= cpWrite;
        else if (f == QLatin1String("write-without-response"))
            props |= cpWriteWithoutResponse;
        else if (f == QLatin1String("notify"))
            props |= cpNotify;
        else if (f == QLatin1String("indicate"))
            props |= cpIndicate;
    }
    return props;
}

} // namespace bluez
