#include "model/picture_decode.h"

#include "model/model_error.h"

#include <QImageReader>
#include <QPainter>

void CheckPictureSize(int W, int H, const QString& What)
{
    if (W <= 0 || H <= 0)
        return;  // not told in advance (or nonsense): the decoder's own checks apply
    const qint64 LimitMiB = QImageReader::allocationLimit();
    const qint64 Bytes = qint64(W) * qint64(H) * 4;
    if (LimitMiB > 0 && Bytes > LimitMiB * 1024 * 1024)
        throw EModelError(QStringLiteral("%1 ist zu groß (%2 × %3 Pixel)").arg(What).arg(W).arg(H));
}

QImage DecodeChecked(QImageReader& Reader, const QString& What, const QString& FailText)
{
    const QSize Announced = Reader.size();
    CheckPictureSize(Announced.width(), Announced.height(), What);
    QImage Img = Reader.read();
    if (Img.isNull()) {
        // Some decoders learn the size only while reading and stop at Qt's
        // limit; say so rather than calling the file broken.
        const QSize Learned = Reader.size();
        CheckPictureSize(Learned.width(), Learned.height(), What);
        throw EModelError(FailText);
    }
    return Img;
}

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

TAllocationLimitScope::TAllocationLimitScope(int MiB) : FPrevious(QImageReader::allocationLimit())
{
    QImageReader::setAllocationLimit(MiB);
}

TAllocationLimitScope::~TAllocationLimitScope()
{
    QImageReader::setAllocationLimit(FPrevious);
}
