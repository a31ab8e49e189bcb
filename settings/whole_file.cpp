#include "settings/whole_file.h"

#include "settings/settings_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

std::optional<QByteArray> ReadWholeFile(const QString& AFileName)
{
    // A dangling link counts as missing: there is nothing to keep.
    if (!QFileInfo::exists(AFileName))
        return std::nullopt;
    QFile File(AFileName);
    QByteArray Data;
    if (File.open(QIODevice::ReadOnly))
        Data = File.readAll();
    if (!File.isOpen() || File.error() != QFileDevice::NoError)
        throw ESettingsError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden (%2).")
                                 .arg(QDir::toNativeSeparators(AFileName), File.errorString()));
    return Data;
}

void WriteWholeFile(const QString& AFileName, const QByteArray& AData)
{
    QSaveFile File(AFileName);
    bool Ok = File.open(QIODevice::WriteOnly);
    if (Ok)
        Ok = File.write(AData) == AData.size();
    // Qt 6.4's commit() does not notice a short write that only happens when
    // its buffer is flushed (a full disk), and would put the truncated file in
    // place; flushing here first makes that failure visible.
    if (Ok)
        Ok = File.flush();
    if (Ok)
        Ok = File.commit();
    if (!Ok) {
        const QString Reason = File.errorString();
        File.cancelWriting();
        throw ESettingsError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden (%2).")
                                 .arg(QDir::toNativeSeparators(AFileName), Reason));
    }
}
