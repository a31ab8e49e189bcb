// Any text as the settings file. Loading never fails; saving over that file
// and loading again gives back every field, whatever else the file holds.

#include "fuzz_support.h"

#include "settings/app_settings.h"
#include "settings/settings_error.h"

#include <QFile>
#include <QStringList>

#include <cstdint>

namespace {

// Every field in one text, so two settings objects compare in one step and a
// mismatch prints readably.
QString Fields(const TAppSettings& S)
{
    const QStringList Parts = {
        S.PrinterName, S.PrinterAddress, QString::number(S.AutoConnect),
        QString::number(S.Protocol), QString::number(S.Energy), QString::number(S.Density),
        QString::number(S.Quality), QString::number(S.Speed), QString::number(S.V5XDensity),
        QString::number(S.PacketSize), QString::number(S.IntervalMs), QString::number(S.AutoTemp),
        QString::number(S.FeedMm), QString::number(S.GapMm), S.LastTemplate,
        QString::number(S.ZoomPct), QString::number(S.WinLeft), QString::number(S.WinTop),
        QString::number(S.WinWidth), QString::number(S.WinHeight), QString::number(S.WinMaximized),
    };
    return Parts.join(QLatin1Char('|'));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QString Name = FuzzScratchDir() + QStringLiteral("/einstellungen.ini");
    {
        QFile F(Name);
        if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || F.write(reinterpret_cast<const char*>(Data), qint64(Size)) != qint64(Size))
            FuzzFail("scratch file written", Name, F.errorString());
    }

    TAppSettings Loaded;
    Loaded.LoadFromFile(Name);

    try {
        Loaded.SaveToFile(Name);
    } catch (const ESettingsError&) {
        // A file that cannot be taken in is kept as it is, never overwritten.
        QFile F(Name);
        if (!F.open(QIODevice::ReadOnly)
            || F.readAll() != QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)))
            FuzzFail("a refused save keeps the file", QStringLiteral("the input"), QStringLiteral("changed"));
        return 0;
    }
    TAppSettings Reloaded;
    Reloaded.LoadFromFile(Name);
    if (Fields(Reloaded) != Fields(Loaded))
        FuzzFail("saved settings load back the same", Fields(Loaded), Fields(Reloaded));
    return 0;
}
