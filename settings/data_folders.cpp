#include "settings/data_folders.h"

#include "settings/app_settings.h"

#include <QDir>
#include <QStandardPaths>

QString RoamingDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString EnsureFolder(const QString& APath)
{
    QDir().mkpath(APath);
    return APath;
}

QString TAppSettings::AppDir()
{
    return EnsureFolder(RoamingDataDir() + QStringLiteral("/MIRVO Pellwerk"));
}

QString TAppSettings::TemplateDir()
{
    return EnsureFolder(AppDir() + QStringLiteral("/Vorlagen"));
}

QString TAppSettings::BackgroundDir()
{
    return EnsureFolder(AppDir() + QStringLiteral("/Hintergründe"));
}

QString TAppSettings::IniFileName()
{
    return AppDir() + QStringLiteral("/einstellungen.ini");
}
