#pragma once
// The text of a data file as spreadsheets write it: UTF-8 with or without
// byte-order mark, UTF-16 with its mark ("Unicode text" exports), and
// Windows-1252 for everything that is not valid UTF-8.

#include <QByteArray>
#include <QString>

struct TDataText {
    QString Text;      // without byte-order mark
    QString Encoding;  // "UTF-8", "UTF-16" or "Windows-1252"
};

TDataText DecodeDataText(const QByteArray& Bytes);
