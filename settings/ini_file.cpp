#include "settings/ini_file.h"

// Only the narrow-character reader is used; UTF-8 is decoded by Qt.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include "settings/settings_error.h"

#include <new>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

} // namespace

struct TIniFile::TImpl {
    // UTF-8 store, one value per key, single-line values, "Key=Value".
    CSimpleIniA Ini{true, false, false};
    bool HasBom = false;

    TImpl() { Ini.SetSpaces(false); }
};

TIniFile::TIniFile() : FImpl(std::make_unique<TImpl>()) {}

TIniFile::~TIniFile() = default;

bool TIniFile::LoadFromBytes(const QByteArray& AData)
{
    FImpl = std::make_unique<TImpl>();
    FImpl->HasBom = AData.startsWith(kUtf8Bom);
    if (FImpl->Ini.LoadData(AData.constData(), static_cast<size_t>(AData.size())) < 0) {
        FImpl = std::make_unique<TImpl>();
        return false;
    }
    return true;
}

QByteArray TIniFile::ToBytes() const
{
    std::string Text;
    if (FImpl->Ini.Save(Text, FImpl->HasBom) < 0)
        throw ESettingsError(QStringLiteral("Die Einstellungen lassen sich nicht als Text darstellen."));
    return QByteArray(Text.data(), static_cast<qsizetype>(Text.size()));
}

std::optional<QString> TIniFile::ReadValue(const char* ASection, const char* AKey) const
{
    const char* Value = FImpl->Ini.GetValue(ASection, AKey, nullptr);
    if (!Value)
        return std::nullopt;
    return QString::fromUtf8(Value);
}

int32_t TIniFile::ReadInteger(const char* ASection, const char* AKey, int32_t ADefault) const
{
    const std::optional<QString> Text = ReadValue(ASection, AKey);
    if (!Text)
        return ADefault;
    bool Ok = false;
    const int Value = Text->toInt(&Ok, 10);
    return Ok ? static_cast<int32_t>(Value) : ADefault;
}

bool TIniFile::ReadBool(const char* ASection, const char* AKey, bool ADefault) const
{
    return ReadInteger(ASection, AKey, ADefault ? 1 : 0) != 0;
}

QString TIniFile::ReadString(const char* ASection, const char* AKey, const QString& ADefault) const
{
    return ReadValue(ASection, AKey).value_or(ADefault);
}

void TIniFile::WriteString(const char* ASection, const char* AKey, const QString& AValue)
{
    QString Safe = AValue;
    for (QChar& C : Safe)
        if (C == u'\r' || C == u'\n' || C == u'\0')
            C = u' ';
    const QByteArray Utf8 = Safe.toUtf8();
    if (FImpl->Ini.SetValue(ASection, AKey, Utf8.constData()) < 0)
        throw std::bad_alloc();
}

void TIniFile::WriteInteger(const char* ASection, const char* AKey, int32_t AValue)
{
    WriteString(ASection, AKey, QString::number(AValue));
}

void TIniFile::WriteBool(const char* ASection, const char* AKey, bool AValue)
{
    WriteString(ASection, AKey, AValue ? QStringLiteral("1") : QStringLiteral("0"));
}
