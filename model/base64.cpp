#include "model/base64.h"

#include "model/model_error.h"

#include <limits>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Encodes into Dst, escaping "/" when asked; returns the end of the output.
char* Encode(const unsigned char* Src, qsizetype N, char* Dst, bool EscapeSlash)
{
    auto Put = [&](unsigned V) {
        const char C = kAlphabet[V & 63];
        if (EscapeSlash && C == '/')
            *Dst++ = '\\';
        *Dst++ = C;
    };
    qsizetype I = 0;
    for (; I + 3 <= N; I += 3) {
        const unsigned V = (unsigned(Src[I]) << 16) | (unsigned(Src[I + 1]) << 8) | Src[I + 2];
        Put(V >> 18);
        Put(V >> 12);
        Put(V >> 6);
        Put(V);
    }
    const qsizetype Rest = N - I;
    if (Rest == 1) {
        const unsigned V = unsigned(Src[I]) << 16;
        Put(V >> 18);
        Put(V >> 12);
        *Dst++ = '=';
        *Dst++ = '=';
    } else if (Rest == 2) {
        const unsigned V = (unsigned(Src[I]) << 16) | (unsigned(Src[I + 1]) << 8);
        Put(V >> 18);
        Put(V >> 12);
        Put(V >> 6);
        *Dst++ = '=';
    }
    return Dst;
}

qsizetype EncodedLength(qsizetype N)
{
    if (N > (std::numeric_limits<qsizetype>::max() / 8))
        throw EModelError(QStringLiteral("Das Bild ist zu groß"));
    return (N + 2) / 3 * 4;
}

}  // namespace

QByteArray BytesToBase64(const QByteArray& Bytes)
{
    QByteArray Out(EncodedLength(Bytes.size()), Qt::Uninitialized);
    Encode(reinterpret_cast<const unsigned char*>(Bytes.constData()), Bytes.size(), Out.data(), false);
    return Out;
}

QByteArray Base64ToBytes(QByteArrayView Text)
{
    return QByteArray::fromBase64(Text.toByteArray());
}

void AppendBase64JsonEscaped(QByteArray& Out, const QByteArray& Bytes)
{
    const qsizetype Old = Out.size();
    // Worst case: every output character is an escaped slash.
    Out.resize(Old + 2 * EncodedLength(Bytes.size()));
    char* End = Encode(reinterpret_cast<const unsigned char*>(Bytes.constData()), Bytes.size(),
                       Out.data() + Old, true);
    Out.resize(End - Out.constData());
}
