#include "model_fixtures.h"

#include <QFile>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

QImage NoisyPicture(int W, int H, uint32_t Seed)
{
    QImage Img(W, H, QImage::Format_RGB32);
    uint32_t S = Seed * 2654435761u + 1;
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Img.scanLine(Y));
        for (int X = 0; X < W; ++X) {
            S = S * 1664525u + 1013904223u;
            const int Noise = int(S >> 27) - 16;  // -16 .. 15
            const int R = std::clamp(X * 255 / std::max(1, W - 1) + Noise, 0, 255);
            const int G = std::clamp(Y * 255 / std::max(1, H - 1) + Noise, 0, 255);
            const int B = std::clamp(((X + Y) / 4) % 256 + Noise, 0, 255);
            Row[X] = qRgb(R, G, B);
        }
    }
    return Img;
}

namespace {

uint32_t Crc32(const QByteArray& Data)
{
    uint32_t C = 0xFFFFFFFFu;
    for (const char Ch : Data) {
        C ^= uint8_t(Ch);
        for (int K = 0; K < 8; ++K)
            C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
    }
    return C ^ 0xFFFFFFFFu;
}

void PutBE32(QByteArray& Out, uint32_t V)
{
    Out.append(char(V >> 24)).append(char(V >> 16)).append(char(V >> 8)).append(char(V));
}

}  // namespace

QByteArray PngHeaderOnly(uint32_t W, uint32_t H)
{
    QByteArray Png("\x89PNG\r\n\x1a\n", 8);
    QByteArray Chunk("IHDR");
    PutBE32(Chunk, W);
    PutBE32(Chunk, H);
    Chunk.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));  // 8-bit RGB
    PutBE32(Png, 13);
    Png.append(Chunk);
    PutBE32(Png, Crc32(Chunk));
    // A token data chunk: decoders read the header up to the first IDAT.
    static const char kIdat[] = {'I', 'D', 'A', 'T', 0x78, char(0x9c), 0x63, 0, 0, 0, 1, 0, 1};
    const QByteArray Idat(kIdat, sizeof kIdat);
    PutBE32(Png, uint32_t(Idat.size() - 4));
    Png.append(Idat);
    PutBE32(Png, Crc32(Idat));
    const QByteArray Iend("IEND");
    PutBE32(Png, 0);
    Png.append(Iend);
    PutBE32(Png, Crc32(Iend));
    return Png;
}

void WriteBytes(const QString& Path, const QByteArray& Bytes)
{
    QFile F(Path);
    if (!F.open(QIODevice::WriteOnly) || F.write(Bytes) != Bytes.size())
        throw std::runtime_error("cannot write fixture " + Path.toStdString());
}

QByteArray ReadBytes(const QString& Path)
{
    QFile F(Path);
    if (!F.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + Path.toStdString());
    return F.readAll();
}

void SavePicture(const QImage& Img, const QString& Path, const char* Format)
{
    QImageWriter W(Path, Format);
    if (!W.write(Img))
        throw std::runtime_error("cannot write picture " + Path.toStdString() + ": "
                                 + W.errorString().toStdString());
}
