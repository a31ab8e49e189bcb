#include "model/picture_io.h"

#include "model/model_error.h"
#include "model/picture_decode.h"
#include "model/picture_source.h"
#include "model/raster_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

QImage LoadPictureFile(const QString& FileName, int MaxSide)
{
    const TPictureSource Source(FileName, MaxSide);
    // A drawing keeps its own size unless that exceeds the cap.
    return Source.RenderFitting(CappedPictureSize(Source.NaturalDots(), MaxSide));
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
    return OnWhite(DecodeChecked(Reader, QStringLiteral("Das Bild"), QStringLiteral("Ungültige PNG-Bilddaten")));
}
