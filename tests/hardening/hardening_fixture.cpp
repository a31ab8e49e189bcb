#include "hardening_fixture.h"

#include "settings_fixture.h"

#include "model/label_doc.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <array>

std::unique_ptr<TLabelDoc> MakeLabel(int AVariant, int APictureBytes)
{
    auto Doc = std::make_unique<TLabelDoc>();
    Doc->Name = QStringLiteral("Fassung %1 – Grüße").arg(AVariant);
    Doc->LengthMm = 40 + AVariant;
    for (int I = 0; I < 2; ++I) {
        auto E = std::make_unique<TLabelElement>(ekText);
        E->Text = QStringLiteral("Zeile %1 der Fassung %2").arg(I).arg(AVariant);
        E->Y = 20 + 60 * I;
        Doc->Elements.Add(std::move(E));
    }
    if (APictureBytes > 0) {
        QByteArray Noise(APictureBytes / 2, Qt::Uninitialized);
        QRandomGenerator Gen(quint32(AVariant) + 1);
        for (char& C : Noise)
            C = char(Gen.bounded(256));
        auto Img = std::make_unique<TLabelElement>(ekImage);
        Img->SetImagePng(Noise);
        Doc->Elements.Add(std::move(Img));
        Doc->SetBgPng(Noise);
    }
    return Doc;
}

QByteArray FileBytes(const QString& AFileName)
{
    QFile F(AFileName);
    if (!F.open(QIODevice::ReadOnly))
        return {};
    return F.readAll();
}

SmallDisk::SmallDisk(int ABytes) : FOptions("size=" + QByteArray::number(ABytes) + ",mode=0700")
{
    FMounted = ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0, FOptions.constData()) == 0;
}

bool SmallDisk::SetReadOnly(bool AOn)
{
    if (!FMounted)
        return false;
    const unsigned long Flags = MS_REMOUNT | (AOn ? MS_RDONLY : 0);
    return ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", Flags, FOptions.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    FLimit.reset();
    if (FMounted)
        ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
}

void SmallDisk::Fill()
{
    if (!FMounted) {
        FLimit = std::make_unique<FileSizeLimit>(64);
        return;
    }
    QFile Filler(Path() + QStringLiteral("/.filler"));
    ASSERT_TRUE(Filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray Chunk(4096, 'x');
    while (Filler.write(Chunk) == Chunk.size()) {
    }
    // The last partial block, byte by byte.
    while (Filler.write("x", 1) == 1) {
    }
}

void SmallDisk::Release()
{
    FLimit.reset();
    QFile::remove(Path() + QStringLiteral("/.filler"));
}

namespace {

uint32_t Crc32(const QByteArray& Data)
{
    static const std::array<uint32_t, 256> Table = [] {
        std::array<uint32_t, 256> T{};
        for (uint32_t N = 0; N < 256; ++N) {
            uint32_t C = N;
            for (int K = 0; K < 8; ++K)
                C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
            T[N] = C;
        }
        return T;
    }();
    uint32_t C = 0xFFFFFFFFu;
    for (const char B : Data)
        C = Table[(C ^ uint8_t(B)) & 0xFF] ^ (C >> 8);
    return C ^ 0xFFFFFFFFu;
}

void AppendChunk(QByteArray& Png, const char* Type, const QByteArray& Body)
{
    QByteArray Len(4, '\0');
    qToBigEndian<quint32>(quint32(Body.size()), Len.data());
    const QByteArray TypeAndBody = QByteArray(Type, 4) + Body;
    QByteArray Crc(4, '\0');
    qToBigEndian<quint32>(Crc32(TypeAndBody), Crc.data());
    Png += Len + TypeAndBody + Crc;
}

}  // namespace

QByteArray PngBomb(int AWidth, int AHeight)
{
    QByteArray Png("\x89PNG\r\n\x1a\n", 8);
    QByteArray Header(13, '\0');
    qToBigEndian<quint32>(quint32(AWidth), Header.data());
    qToBigEndian<quint32>(quint32(AHeight), Header.data() + 4);
    Header[8] = 8;   // bits per sample
    Header[9] = 2;   // RGB
    AppendChunk(Png, "IHDR", Header);
    // qCompress puts the length in front of the zlib stream; IDAT wants the stream.
    AppendChunk(Png, "IDAT", qCompress(QByteArray(4 * 1024 * 1024, '\0'), 9).mid(4));
    AppendChunk(Png, "IEND", QByteArray());
    return Png;
}
