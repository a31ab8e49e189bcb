#include "merge/data_text.h"

#include "merge/merge_error.h"

#include <QStringDecoder>

namespace {

bool Decode(QStringDecoder& D, QByteArrayView Bytes, QString& Out)
{
    if (!D.isValid())
        return false;
    Out = D.decode(Bytes);
    return !D.hasError();
}

}  // namespace

TDataText DecodeDataText(const QByteArray& Bytes)
{
    QByteArrayView body(Bytes);
    QString text;
    if (body.startsWith("\xFF\xFE") || body.startsWith("\xFE\xFF")) {
        // The decoder reads the mark itself, for either byte order.
        QStringDecoder utf16(QStringConverter::Utf16, QStringConverter::Flag::Stateless);
        if (Decode(utf16, body, text))
            return {text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text, QStringLiteral("UTF-16")};
        throw EMergeError(QStringLiteral("Die Datendatei ist kein lesbarer UTF-16-Text"));
    }
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (Decode(utf8, body, text))
        return {text, QStringLiteral("UTF-8")};
    // Spreadsheets on Windows save "CSV" in the system's code page; every
    // byte sequence is valid there, so this cannot fail once the codec exists.
    QStringDecoder cp1252("windows-1252", QStringConverter::Flag::Stateless);
    if (Decode(cp1252, body, text))
        return {text, QStringLiteral("Windows-1252")};
    throw EMergeError(QStringLiteral("Die Datendatei ist weder UTF-8 noch Windows-1252"));
}
