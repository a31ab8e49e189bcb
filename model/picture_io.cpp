#include "model/picture_io.h"

#include "model/dot_math.h"
#include "model/model_error.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>

namespace {

// A header may announce any size; refuse before a single pixel is allocated.
// Qt's own allocation limit (in MiB, 0 = none) is the bound; it stays in force
// for the decoders themselves as well.
void CheckAnnouncedSize(const QImageReader& Reader, const QString& What)
{
    const QSize Size = Reader.size();
    if (Size.width() <= 0 || Size.height() <= 0)
        return;  // not told in advance (or nonsense): the decoder's own checks apply
    const qint64 LimitMiB = QImageReader::allocationLimit();
    const qint64 Bytes = qint64(Size.width()) * qint64(Size.height()) * 4;
    if (LimitMiB > 0 && Bytes > LimitMiB * 1024 * 1024)
        throw EModelError(QStringLiteral("%1 ist zu groß (%2 × %3 Pixel)")
                              .arg(What)
                              .arg(Size.width())
                              .arg(Size.height()));
}

// Decodes with the given reader, refusing oversized pictures first.
QImage Decode(QImageReader& Reader, const QString& What, const QString& FailText)
{
    CheckAnnouncedSize(Reader, What);
    QImage Img = Reader.read();
    if (Img.isNull()) {
        // Some decoders learn the size only while reading and stop at Qt's
        // limit; say so rather than calling the file broken.
        CheckAnnouncedSize(Reader, What);
        throw EModelError(FailText);
    }
    return Img;
}

// Opaque RGB32 copy: the picture drawn onto white.
QImage OnWhite(const QImage& Src)
{
    if (!Src.hasAlphaChannel())
        return Src.convertToFormat(QImage::Format_RGB32);  // nothing to show through
    QImage Dst(Src.size(), QImage::Format_RGB32);
    if (Dst.isNull())
        throw EModelError(QStringLiteral("Nicht genug Speicher für das Bild"));
    Dst.fill(Qt::white);
    QPainter P(&Dst);
    P.drawImage(0, 0, Src);
    return Dst;
}

}  // namespace

QImage LoadPictureFile(const QString& FileName, int MaxSide)
{
    const QFileInfo Info(FileName);
    if (!Info.exists() || !Info.isFile())
        throw EModelError(QStringLiteral("Datei \"%1\" nicht gefunden").arg(FileName));
    if (!Info.isReadable())
        throw EModelError(QStringLiteral("Datei \"%1\" kann nicht gelesen werden").arg(FileName));

    const QString Name = Info.fileName();
    const int Dot = Name.lastIndexOf(QLatin1Char('.'));
    const bool IsPng = Dot >= 0 && Name.mid(Dot).compare(QLatin1String(".png"), Qt::CaseInsensitive) == 0;

    QImageReader Reader;
    Reader.setFileName(FileName);
    if (IsPng) {
        Reader.setFormat("png");
        Reader.setAutoDetectImageFormat(false);
    } else {
        Reader.setDecideFormatFromContent(true);
    }
    const QString What = QStringLiteral("Das Bild \"%1\"").arg(Name);
    QImage Bmp = OnWhite(Decode(
        Reader, What,
        QStringLiteral("Das Bild \"%1\" kann nicht gelesen werden (unbekanntes Format oder beschädigte Datei)")
            .arg(Name)));

    const int M = std::max(Bmp.width(), Bmp.height());
    if (M > MaxSide) {
        const double S = double(MaxSide) / double(M);
        const int NewW = std::max(1, RoundHalfEven(Bmp.width() * S));
        const int NewH = std::max(1, RoundHalfEven(Bmp.height() * S));
        Bmp = Bmp.scaled(NewW, NewH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    }
    return Bmp;
}

QByteArray BitmapToPng(const QImage& Bmp)
{
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    QImageWriter Writer(&Buf, "png");
    // Opaque bitmaps are stored without an alpha channel.
    const QImage Src = Bmp.hasAlphaChannel() ? Bmp : Bmp.convertToFormat(QImage::Format_RGB32);
    if (Bmp.isNull() || !Writer.write(Src))
        throw EModelError(QStringLiteral("Das Bild kann nicht als PNG gespeichert werden"));
    return Bytes;
}

QImage PngToBitmap(const QByteArray& Bytes)
{
    if (Bytes.isEmpty())
        return QImage();
    QBuffer Buf;
    Buf.setData(Bytes);
    Buf.open(QIODevice::ReadOnly);
    QImageReader Reader(&Buf, "png");
    Reader.setAutoDetectImageFormat(false);
    return OnWhite(Decode(Reader, QStringLiteral("Das Bild"), QStringLiteral("Ungültige PNG-Bilddaten")));
}
