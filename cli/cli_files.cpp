#include "cli/cli_files.h"

#include <QImageWriter>
#include <QSaveFile>

#include <stdexcept>

namespace {

[[noreturn]] void WriteFailed(const QString& FileName, const QString& Reason)
{
    throw std::runtime_error(
        QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden (%2).").arg(FileName, Reason).toStdString());
}

void Open(QSaveFile& File)
{
    if (!File.open(QIODevice::WriteOnly))
        WriteFailed(File.fileName(), File.errorString());
}

void Commit(QSaveFile& File)
{
    if (!File.commit())
        WriteFailed(File.fileName(), File.errorString());
}

} // namespace

QImage MonoToImage(const TNbMonoImage& Mono)
{
    NbCheckMono(Mono);
    QImage img(Mono.Width, Mono.Height, QImage::Format_Mono);
    if (img.isNull())
        throw std::runtime_error("Das Bild ist zu groß für den Speicher");
    img.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    img.fill(0);
    for (int32_t y = 0; y < Mono.Height; ++y) {
        const uint8_t* row = Mono.Dots.data() + static_cast<size_t>(y) * static_cast<size_t>(Mono.Width);
        uchar* line = img.scanLine(y);
        for (int32_t x = 0; x < Mono.Width; ++x)
            if (row[x])
                line[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));  // Format_Mono: leftmost pixel in the high bit
    }
    return img;
}

void SavePng(const QImage& Image, const QString& FileName)
{
    if (Image.isNull())
        WriteFailed(FileName, QStringLiteral("leeres Bild"));
    QSaveFile file(FileName);
    Open(file);
    QImageWriter writer(&file, "png");
    if (!writer.write(Image)) {
        file.cancelWriting();
        WriteFailed(FileName, writer.errorString());
    }
    Commit(file);
}

void SaveBytes(const std::vector<uint8_t>& Bytes, const QString& FileName)
{
    QSaveFile file(FileName);
    Open(file);
    const auto size = static_cast<qint64>(Bytes.size());
    if (file.write(reinterpret_cast<const char*>(Bytes.data()), size) != size) {
        file.cancelWriting();
        WriteFailed(FileName, file.errorString());
    }
    Commit(file);
}
