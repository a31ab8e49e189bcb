#pragma once
// Whole-file reads and writes of the settings folder. Writes go through a
// temporary file that replaces the target only when every byte is on disk, so
// a crash or a full disk never leaves a half-written settings file behind.

#include <QByteArray>
#include <QString>
#include <optional>

// The file's bytes, or nothing when there is no such file. Raises
// ESettingsError when the file exists but cannot be read.
std::optional<QByteArray> ReadWholeFile(const QString& AFileName);

// Replaces AFileName with AData. Raises ESettingsError when the file cannot be
// written; the previous file then stays as it was.
void WriteWholeFile(const QString& AFileName, const QByteArray& AData);
