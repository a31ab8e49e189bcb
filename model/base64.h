#pragma once
// Base64 of picture bytes in label files: standard alphabet (RFC 4648), "="
// padding, no line breaks.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

QByteArray BytesToBase64(const QByteArray& Bytes);

// Decodes standard Base64 up to the first "="; characters outside the
// alphabet are skipped, as a lenient reader of hand-edited files should.
QByteArray Base64ToBytes(QByteArrayView Text);
QByteArray Base64ToBytes(QStringView Text);

// Appends the Base64 text of Bytes with every "/" written as "\/", ready to
// stand inside a JSON string. Labels carry pictures of several megabytes, so
// this encodes straight into the output instead of building and re-scanning a
// temporary text.
void AppendBase64JsonEscaped(QByteArray& Out, const QByteArray& Bytes);
