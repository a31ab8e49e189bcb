#include "model/picture_source.h"

#include "model/dot_math.h"
#include "model/model_error.h"
#include "model/pdf_picture.h"
#include "model/raster_picture.h"
#include "model/svg_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include <algorithm>

namespace {

QString LowerSuffix(const QString& FileName)
{
    return QFileInfo(FileName).suffix().toLower();
}

// The drawing's size scaled by S, each side at least one dot, the longer
// side at most kVectorMaxSide.
QSize Scaled(QSizeF Natural, double S)
{
    const QSize Size(std::max(1, RoundHalfEven(std::min(Natural.width() * S, 1e9))),
                     std::max(1, RoundHalfEven(std::min(Natural.height() * S, 1e9))));
    return CappedPictureSize(Size, kVectorMaxSide);
}

// The extensions, in the order of the filter: the classic ones first.
QStringList ReadableSuffixes()
{
    QStringList Suffixes = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                            QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("tif"),
                            QStringLiteral("tiff")};
    QStringList More;
    for (const QByteArray& F : QImageReader::supportedImageFormats()) {
        const QString S = QString::fromLatin1(F).toLower();
        if (!Suffixes.contains(S) && !More.contains(S))
            More.append(S);
    }
    More.sort();
    Suffixes += More;
    for (const char* S : {"svg", "svgz", "pdf"})
        if (!Suffixes.contains(QLatin1String(S)))
            Suffixes.append(QLatin1String(S));
    return Suffixes;
}

}  // namespace

TPictureKind PictureKindOf(const QString& FileName)
{
    const QString Suffix = LowerSuffix(FileName);
    if (Suffix == QLatin1String("png"))
        return pkRaster;
    QFile F(FileName);
    QByteArray Head;
    if (F.open(QIODevice::ReadOnly))
        Head = F.read(4096);
    // Readers accept a few bytes of rubbish before the PDF header.
    if (Head.left(1024).contains("%PDF-"))
        return pkPdf;
    const bool Gzip = Head.startsWith("\x1f\x8b");
    QByteArray Text = Head;
    if (Text.startsWith("\xEF\xBB\xBF"))
        Text.remove(0, 3);
    Text = Text.trimmed();
    if ((Text.startsWith('<') && Text.contains("<svg")) || (Gzip && Suffix == QLatin1String("svgz")))
        return pkSvg;
    if (Suffix == QLatin1String("pdf"))
        return pkPdf;
    if (Suffix == QLatin1String("svg") || Suffix == QLatin1String("svgz"))
        return pkSvg;
    return pkRaster;
}

QString PictureFileFilter()
{
    QStringList Patterns;
    for (const QString& S : ReadableSuffixes())
        Patterns.append(QStringLiteral("*.") + S);
    return QStringLiteral("Bilder|") + Patterns.join(QLatin1Char(';')) + QStringLiteral("|Alle Dateien|*.*");
}

bool IsPictureFileName(const QString& FileName)
{
    return ReadableSuffixes().contains(LowerSuffix(FileName));
}

TPictureSource::TPictureSource(const QString& FileName, int MaxSide)
{
    const QFileInfo Info(FileName);
    if (!Info.exists() || !Info.isFile())
        throw EModelError(QStringLiteral("Datei \"%1\" nicht gefunden").arg(FileName));
    if (!Info.isReadable())
        throw EModelError(QStringLiteral("Datei \"%1\" kann nicht gelesen werden").arg(FileName));
    FKind = PictureKindOf(FileName);
    switch (FKind) {
    case pkRaster: FRaster = LoadRasterPicture(FileName, MaxSide); break;
    case pkSvg: FSvg = std::make_unique<TSvgPicture>(FileName); break;
    case pkPdf: FPdf = std::make_unique<TPdfPicture>(FileName); break;
    }
}

TPictureSource::~TPictureSource() = default;

int TPictureSource::PageCount() const
{
    return FPdf ? FPdf->PageCount() : 1;
}

void TPictureSource::SelectPage(int Page)
{
    if (FPdf)
        FPdf->SelectPage(Page);
    else if (Page != 1)
        throw EModelError(QStringLiteral("Das Bild hat nur eine Seite"));
}

QSizeF TPictureSource::NaturalSize() const
{
    if (FSvg)
        return FSvg->NaturalSize();
    if (FPdf)
        return FPdf->NaturalSize();
    return FRaster.size();
}

QSize TPictureSource::NaturalDots() const
{
    return Scaled(NaturalSize(), 1.0);
}

QImage TPictureSource::RenderVector(QSize Dots) const
{
    return FSvg ? FSvg->Render(Dots) : FPdf->Render(Dots);
}

QImage TPictureSource::RenderFitting(QSize Box) const
{
    if (!IsVector())
        return FRaster;
    const QSizeF N = NaturalSize();
    const double S = std::min(double(std::max(1, Box.width())) / N.width(),
                              double(std::max(1, Box.height())) / N.height());
    return RenderVector(Scaled(N, S));
}

QImage TPictureSource::RenderCovering(QSize Area) const
{
    if (!IsVector())
        return FRaster;
    const QSizeF N = NaturalSize();
    const double S = std::max(double(std::max(1, Area.width())) / N.width(),
                              double(std::max(1, Area.height())) / N.height());
    return RenderVector(Scaled(N, S));
}
