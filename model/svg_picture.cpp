#include "model/svg_picture.h"

#include "model/model_error.h"
#include "model/picture_decode.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

constexpr double kDotsPerCssPixel = 203.0 / 96.0;

// True when some pixel of the premultiplied picture is not fully transparent.
bool AnythingDrawn(const QImage& Img)
{
    for (int y = 0; y < Img.height(); ++y) {
        const auto* Row = reinterpret_cast<const QRgb*>(Img.constScanLine(y));
        if (std::any_of(Row, Row + Img.width(), [](QRgb Px) { return qAlpha(Px) != 0; }))
            return true;
    }
    return false;
}

}  // namespace

TSvgPicture::TSvgPicture(const QString& FileName)
    : FName(QFileInfo(FileName).fileName()), FRenderer(std::make_unique<QSvgRenderer>())
{
    if (!FRenderer->load(FileName) || !FRenderer->isValid())
        throw EModelError(
            QStringLiteral("Die SVG-Datei \"%1\" kann nicht gelesen werden (beschädigte Datei)").arg(FName));
    const QSizeF View = FRenderer->viewBoxF().size();
    if (FRenderer->defaultSize().isEmpty() || View.isEmpty())
        throw EModelError(QStringLiteral("Die SVG-Datei \"%1\" enthält keine Zeichnung").arg(FName));
}

TSvgPicture::~TSvgPicture() = default;

QSizeF TSvgPicture::NaturalSize() const
{
    return QSizeF(FRenderer->defaultSize()) * kDotsPerCssPixel;
}

QImage TSvgPicture::Render(QSize Dots) const
{
    Dots = Dots.expandedTo(QSize(1, 1));
    const QString What = QStringLiteral("Die SVG-Datei \"%1\"").arg(FName);
    CheckPictureSize(Dots.width(), Dots.height(), What);
    QImage Drawing(Dots, QImage::Format_ARGB32_Premultiplied);
    if (Drawing.isNull())
        throw EModelError(QStringLiteral("Nicht genug Speicher für das Bild"));
    Drawing.fill(Qt::transparent);
    {
        QPainter P(&Drawing);
        // Edges covered by half a dot or more print black after the threshold.
        P.setRenderHint(QPainter::Antialiasing);
        FRenderer->render(&P, QRectF(QPointF(0, 0), QSizeF(Dots)));
    }
    if (!AnythingDrawn(Drawing))
        throw EModelError(QStringLiteral("Die SVG-Datei \"%1\" enthält keine Zeichnung").arg(FName));
    return OnWhite(Drawing);
}
