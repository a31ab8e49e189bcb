#include "model/json_read.h"

#include <QJsonDocument>
#include <QJsonValue>

#include <cstring>

#include <algorithm>
#include <cmath>

int32_t JsonInt(const QJsonObject& O, const QString& Key, int32_t Default)
{
    const QJsonValue V = O.value(Key);
    if (!V.isDouble())
        return Default;
    const double D = V.toDouble();
    if (!std::isfinite(D) || D != std::trunc(D) || D < double(INT32_MIN) || D > double(INT32_MAX))
        return Default;
    return static_cast<int32_t>(D);
}

QString JsonStr(const QJsonObject& O, const QString& Key, const QString& Default)
{
    const QJsonValue V = O.value(Key);
    return V.isString() ? V.toString() : Default;
}

bool JsonBool(const QJsonObject& O, const QString& Key, bool Default)
{
    const QJsonValue V = O.value(Key);
    return V.isBool() ? V.toBool() : Default;
}

int32_t JsonClamp(int32_t V, int32_t Lo, int32_t Hi)
{
    return std::clamp(V, Lo, Hi);
}

namespace {

// Drops the backslash of every "\/" escape, in place. Qt's parser takes a
// slow path for every string that holds an escape, and the Base64 of a
// picture holds a slash every few dozen characters; "/" and "\/" mean the
// same in a string. No string tracking is needed: a backslash is always
// taken together with the character it escapes, and outside strings both a
// backslash and a slash are syntax errors, so an invalid text stays invalid.
void DropSlashEscapes(QByteArray& Text)
{
    char* const Begin = Text.data();
    const char* const End = Begin + Text.size();
    const char* Src = static_cast<const char*>(std::memchr(Begin, '\\', size_t(End - Begin)));
    if (!Src)
        return;
    char* Dst = const_cast<char*>(Src);
    while (Src < End) {
        // Src points at a backslash.
        if (Src + 1 < End && Src[1] == '/') {
            *Dst++ = '/';
        } else {
            *Dst++ = '\\';
            if (Src + 1 < End)
                *Dst++ = Src[1];
        }
        Src += 2;
        if (Src >= End)
            break;
        const char* Next = static_cast<const char*>(std::memchr(Src, '\\', size_t(End - Src)));
        const char* RunEnd = Next ? Next : End;
        std::memmove(Dst, Src, size_t(RunEnd - Src));
        Dst += RunEnd - Src;
        Src = RunEnd;
    }
    Text.truncate(Dst - Begin);
}

}  // namespace

QJsonObject JsonParseObject(QByteArray Utf8, bool* Ok)
{
    DropSlashEscapes(Utf8);
    QJsonParseError Err{};
    const QJsonDocument Doc = QJsonDocument::fromJson(Utf8, &Err);
    *Ok = Err.error == QJsonParseError::NoError && Doc.isObject();
    return *Ok ? Doc.object() : QJsonObject();
}
