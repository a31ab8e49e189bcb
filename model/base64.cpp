#include "model/base64.h"

#include "model/model_error.h"

#include <limits>
#include <type_traits>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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

namespace {

// 0..63 for the standard alphabet, 64 for "=", 255 for anything else.
struct TDecodeTable {
    unsigned char V[256];
    constexpr TDecodeTable() : V()
    {
        for (unsigned char& X : V)
            X = 255;
        for (int I = 0; I < 64; ++I)
            V[static_cast<unsigned char>(kAlphabet[I])] = static_cast<unsigned char>(I);
        V[static_cast<unsigned char>('=')] = 64;
    }
};
constexpr TDecodeTable kDecode;

template <class TChar>
unsigned Lookup(TChar C)
{
    const auto U = static_cast<std::make_unsigned_t<TChar>>(C);
    return U < 256 ? kDecode.V[U] : 255u;
}

// Qt's decoder runs at a tenth of this speed; label files carry pictures of
// several megabytes, read on every undo step.
template <class TChar>
QByteArray Decode(const TChar* Src, qsizetype N)
{
    QByteArray Out(N / 4 * 3 + 3, Qt::Uninitialized);
    auto* Dst = reinterpret_cast<unsigned char*>(Out.data());
    qsizetype I = 0;
    // Fast path: whole groups of four alphabet characters.
    while (I + 4 <= N) {
        const unsigned A = Lookup(Src[I]), B = Lookup(Src[I + 1]), C = Lookup(Src[I + 2]), D = Lookup(Src[I + 3]);
        if ((A | B | C | D) >= 64)
            break;
        const unsigned V = (A << 18) | (B << 12) | (C << 6) | D;
        *Dst++ = static_cast<unsigned char>(V >> 16);
        *Dst++ = static_cast<unsigned char>(V >> 8);
        *Dst++ = static_cast<unsigned char>(V);
        I += 4;
    }
    // The rest one character at a time: skip foreign characters, stop at "=".
    unsigned Acc = 0;
    int Bits = 0;
    for (; I < N; ++I) {
        const unsigned V = Lookup(Src[I]);
        if (V == 64)
            break;
        if (V > 64)
            continue;
        Acc = (Acc << 6) | V;
        Bits += 6;
        if (Bits >= 8) {
            Bits -= 8;
            *Dst++ = static_cast<unsigned char>(Acc >> Bits);
        }
    }
    Out.resize(reinterpret_cast<char*>(Dst) - Out.constData());
    return Out;
}

}  // namespace

QByteArray Base64ToBytes(QByteArrayView Text)
{
    return Decode(Text.data(), Text.size());
}

QByteArray Base64ToBytes(QStringView Text)
{
    return Decode(Text.utf16(), Text.size());
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
