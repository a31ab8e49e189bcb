#include "model/raster_picture.h"

#include "model/dot_math.h"
#include "model/model_error.h"
#include "model/picture_decode.h"

#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>

namespace {

// Room for a picture of kImportMaxPixels at 4 bytes per pixel, in MiB.
constexpr int kImportLimitMiB = int((kImportMaxPixels * 4 + 1024 * 1024 - 1) / (1024 * 1024));

}  // namespace

QSize CappedPictureSize(QSize Size, int MaxSide)
{
    const int M = std::max(Size.width(), Size.height());
    if (M <= MaxSide)
        return Size;
    const double S = double(MaxSide) / double(M);
    return QSize(std::max(1, RoundHalfEven(Size.width() * S)), std::max(1, RoundHalfEven(Size.height() * S)));
}

QImage LoadRasterPicture(const QString& FileName, int MaxSide)
{
    const QString Name = QFileInfo(FileName).fileName();
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
    Reader.setAutoTransform(true);

    const TAllocationLimitScope Limit(kImportLimitMiB);
    // The orientation tag turns the picture only after decoding, so the
    // reduced size is worked out on the stored sides.
    const QSize Stored = Reader.size();
    const QSize Reduced = CappedPictureSize(Stored, MaxSide);
    if (Stored.isValid() && Reduced != Stored && Reader.supportsOption(QImageIOHandler::ScaledSize))
        Reader.setScaledSize(Reduced);

    return ImportedPicture(
        DecodeChecked(
            Reader, QStringLiteral("Das Bild \"%1\"").arg(Name),
            QStringLiteral("Das Bild \"%1\" kann nicht gelesen werden (unbekanntes Format oder beschädigte Datei)")
                .arg(Name)),
        MaxSide);
}

QImage ImportedPicture(const QImage& Img, int MaxSide)
{
    if (Img.isNull())
        throw EModelError(QStringLiteral("Das Bild ist leer"));
    QImage Bmp = OnWhite(Img);
    const QSize Target = CappedPictureSize(Bmp.size(), MaxSide);
    if (Target != Bmp.size())
        Bmp = Bmp.scaled(Target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    return Bmp;
}
