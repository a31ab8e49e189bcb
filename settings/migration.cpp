// Takeover of the previous version's data folder "NimboEtiketten": templates
// (".nblabel" there, ".pellwerk" here), background pictures and the settings
// file, whose paths are pointed into the new folder.

#include "settings/app_settings.h"

#include "settings/data_folders.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <stdexcept>

namespace {

// Ends the takeover; caught at its top.
struct EMigrationStop : std::exception {};

void CheckOk(bool AOk)
{
    if (!AOk)
        throw EMigrationStop();
}

// The plain files directly in AFolder that match AFilter (without regard to
// case), in name order so a takeover stopped half-way is easy to follow.
QStringList FilesIn(const QString& AFolder, const QString& AFilter)
{
    QDir Dir(AFolder);
    CheckOk(Dir.exists());
    return Dir.entryList(QStringList{AFilter}, QDir::Files | QDir::Hidden, QDir::Name);
}

// Copies ASource to ATarget unless something of that name is already there:
// nothing is ever overwritten. QFile::copy writes a temporary file and
// renames it, so a failed copy leaves no partial target behind.
void CopyIfMissing(const QString& ASource, const QString& ATarget)
{
    if (QFileInfo(ATarget).exists() || QFileInfo(ATarget).isSymLink())
        return;
    CheckOk(QFile::copy(ASource, ATarget));
}

void MigrateTemplates(const QString& AOldDir)
{
    const QString OldTemplates = AOldDir + QStringLiteral("/Vorlagen");
    if (!QFileInfo(OldTemplates).isDir())
        return;
    const QString Target = TAppSettings::TemplateDir();
    for (const QString& Name : FilesIn(OldTemplates, QStringLiteral("*.nblabel")))
        CopyIfMissing(OldTemplates + u'/' + Name,
                      Target + u'/' + QFileInfo(Name).completeBaseName() + QStringLiteral(".pellwerk"));
}

void MigrateBackgrounds(const QString& AOldDir)
{
    const QString OldBackgrounds = AOldDir + QStringLiteral("/Hintergründe");
    if (!QFileInfo(OldBackgrounds).isDir())
        return;
    const QString Target = TAppSettings::BackgroundDir();
    for (const QString& Name : FilesIn(OldBackgrounds, QStringLiteral("*")))
        CopyIfMissing(OldBackgrounds + u'/' + Name, Target + u'/' + Name);
}

void MigrateSettingsFile(const QString& AOldDir)
{
    const QString OldIni = AOldDir + QStringLiteral("/einstellungen.ini");
    if (!QFileInfo(OldIni).isFile())
        return;
    const std::optional<QByteArray> Data = ReadWholeFile(OldIni);
    CheckOk(Data.has_value());
    // Qt drops a byte-order mark while decoding; the new file keeps the old
    // file's choice.
    const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");
    const bool HasBom = Data->startsWith(Bom);
    QString Text = QString::fromUtf8(HasBom ? Data->mid(Bom.size()) : *Data);
    Text.replace(QDir::toNativeSeparators(AOldDir), QDir::toNativeSeparators(TAppSettings::AppDir()),
                 Qt::CaseInsensitive);
    Text.replace(QStringLiteral(".nblabel"), QStringLiteral(".pellwerk"), Qt::CaseInsensitive);
    WriteWholeFile(TAppSettings::IniFileName(), (HasBom ? Bom : QByteArray()) + Text.toUtf8());
}

} // namespace

void TAppSettings::MigrateFromOldVersion() noexcept
{
    try {
        const QString OldDir = RoamingDataDir() + QStringLiteral("/NimboEtiketten");
        if (!QFileInfo(OldDir).isDir())
            return;
        if (QFileInfo::exists(IniFileName()))
            return;
        MigrateTemplates(OldDir);
        MigrateBackgrounds(OldDir);
        // Last, because the new settings file is what stops the takeover from
        // running again: after a failure above the next start fills the gaps.
        MigrateSettingsFile(OldDir);
    } catch (...) {
        // Silent by design: the program starts with whatever was taken over.
    }
}
