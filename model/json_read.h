#pragma once
// Lenient member access for reading label files: a member that is missing or
// of the wrong type yields the default, never an error.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>

// A JSON number with an integral value inside the signed 32-bit range; any
// other value (a fraction, a huge number, a string of digits) counts as
// unreadable and gives Default.
int32_t JsonInt(const QJsonObject& O, const QString& Key, int32_t Default);
QString JsonStr(const QJsonObject& O, const QString& Key, const QString& Default);
bool JsonBool(const QJsonObject& O, const QString& Key, bool Default);

// Lo <= V <= Hi.
int32_t JsonClamp(int32_t V, int32_t Lo, int32_t Hi);

// Parses UTF-8 JSON text; *Ok is false (and the result empty) when the text
// is not a JSON object.
QJsonObject JsonParseObject(QByteArray Utf8, bool* Ok);
