#include "settings/app_settings.h"

#include "settings/ini_file.h"
#include "settings/settings_error.h"
#include "settings/whole_file.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <variant>

namespace {

// One row per field: where it lives in the file. Load and Save walk the same
// table, so a field can never be read from one key and written to another,
// and a fresh file gets its keys in this order.
struct TFieldPlace {
    const char* Section;
    const char* Key;
    std::variant<QString TAppSettings::*, int32_t TAppSettings::*, bool TAppSettings::*> Field;
};

const std::array<TFieldPlace, 21> kFields = {{
    {"Drucker", "Name", &TAppSettings::PrinterName},
    {"Drucker", "Adresse", &TAppSettings::PrinterAddress},
    {"Drucker", "AutoVerbinden", &TAppSettings::AutoConnect},
    {"Druck", "Protokoll", &TAppSettings::Protocol},
    {"Druck", "Energie", &TAppSettings::Energy},
    {"Druck", "Dichte", &TAppSettings::Density},
    {"Druck", "Qualitaet", &TAppSettings::Quality},
    {"Druck", "Geschwindigkeit", &TAppSettings::Speed},
    {"Druck", "V5XDichte", &TAppSettings::V5XDensity},
    {"Druck", "Paketgroesse", &TAppSettings::PacketSize},
    {"Druck", "PauseMs", &TAppSettings::IntervalMs},
    {"Druck", "AutoTemperatur", &TAppSettings::AutoTemp},
    {"Druck", "VorschubMm", &TAppSettings::FeedMm},
    {"Druck", "AbstandMm", &TAppSettings::GapMm},
    {"Editor", "LetzteVorlage", &TAppSettings::LastTemplate},
    {"Editor", "ZoomProzent", &TAppSettings::ZoomPct},
    {"Fenster", "Links", &TAppSettings::WinLeft},
    {"Fenster", "Oben", &TAppSettings::WinTop},
    {"Fenster", "Breite", &TAppSettings::WinWidth},
    {"Fenster", "Hoehe", &TAppSettings::WinHeight},
    {"Fenster", "Maximiert", &TAppSettings::WinMaximized},
}};

template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

} // namespace

void TAppSettings::Load()
{
    LoadFromFile(IniFileName());
}

void TAppSettings::Save() const
{
    SaveToFile(IniFileName());
}

void TAppSettings::LoadFromFile(const QString& AFileName)
{
    TIniFile Ini;
    try {
        if (const std::optional<QByteArray> Data = ReadWholeFile(AFileName))
            Ini.LoadFromBytes(*Data);
    } catch (const ESettingsError&) {
        // Reading is lenient: a file that cannot be read leaves the defaults.
    }
    for (const TFieldPlace& P : kFields) {
        std::visit(TOverloaded{
                       [&](QString TAppSettings::*F) { this->*F = Ini.ReadString(P.Section, P.Key, this->*F); },
                       [&](int32_t TAppSettings::*F) { this->*F = Ini.ReadInteger(P.Section, P.Key, this->*F); },
                       [&](bool TAppSettings::*F) { this->*F = Ini.ReadBool(P.Section, P.Key, this->*F); },
                   },
                   P.Field);
    }
    BatchJobMm = Ini.ReadInteger("Druck", "AuftragMm", BatchJobMm);
}

void TAppSettings::SaveToFile(const QString& AFileName) const
{
    // What the file holds beyond our keys must survive, so a file that is
    // there but cannot be read or taken in is not overwritten.
    TIniFile Ini;
    if (const std::optional<QByteArray> Data = ReadWholeFile(AFileName)) {
        if (!Ini.LoadFromBytes(*Data))
            throw ESettingsError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(QDir::toNativeSeparators(AFileName)));
    }
    for (const TFieldPlace& P : kFields) {
        std::visit(TOverloaded{
                       [&](QString TAppSettings::*F) { Ini.WriteString(P.Section, P.Key, this->*F); },
                       [&](int32_t TAppSettings::*F) { Ini.WriteInteger(P.Section, P.Key, this->*F); },
                       [&](bool TAppSettings::*F) { Ini.WriteBool(P.Section, P.Key, this->*F); },
                   },
                   P.Field);
    }
    WriteWholeFile(AFileName, Ini.ToBytes());
}

TNbV5GParams TAppSettings::Params() const
{
    TNbV5GParams Result = TNbV5GParams::Default();
    Result.Energy = static_cast<uint16_t>(std::clamp<int32_t>(Energy, 0, 65535));
    Result.Density = Density;
    Result.Quality = static_cast<uint8_t>(std::clamp<int32_t>(Quality, 1, 5));
    Result.Speed = static_cast<uint8_t>(std::clamp<int32_t>(Speed, 1, 255));
    // 8 dot rows per mm. The feed command carries 16 bits, so a huge value from
    // a hand-edited file feeds the most it can instead of wrapping round.
    const int64_t Lines = static_cast<int64_t>(std::max<int32_t>(FeedMm, 0)) * 8;
    Result.FeedLines = static_cast<uint16_t>(std::min<int64_t>(Lines, 65535));
    return Result;
}
