#include "model/thumbnail.h"

#include "model/label_doc.h"
#include "model/render_canvas.h"
#include "model/render_math.h"
#include "model/render_picture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>

QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H)
{
    return RenderThumbnail(Doc, W, H, QGuiApplication::palette().color(QPalette::Base));
}

QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H, const QColor& Background)
{
    if (W < 1 || H < 1) {
        return QImage();
    }
    QImage t(W, H, QImage::Format_RGB32);
    if (t.isNull()) {
        throw EModelError(QStringLiteral("Nicht genügend Speicher für das Vorschaubild"));
    }
    t.fill(Background);
    const QImage p = Doc.RenderBitmap(false, 1);
    const int pw = p.width();
    const int ph = p.height();

    const double s = std::min(static_cast<double>(W - 6) / pw, static_cast<double>(H - 6) / ph);
    const int32_t tw = std::max(1, RoundHalfEven(pw * s));
    const int32_t th = std::max(1, RoundHalfEven(ph * s));
    const int64_t ox = (static_cast<int64_t>(W) - tw) / 2;
    const int64_t oy = (static_cast<int64_t>(H) - th) / 2;

    QPainter canvas(&t);
    PrepareDotCanvas(canvas);
    FillDots(canvas, ox + 2, oy + 2, ox + tw + 2, oy + th + 2, QColor(192, 192, 192));
    canvas.drawImage(QPoint(static_cast<int>(ox), static_cast<int>(oy)), StretchHalftone(p, tw, th));
    FrameDots(canvas,
              TDotRect{CheckedDots(ox - 1), CheckedDots(oy - 1), CheckedDots(ox + tw + 1),
                       CheckedDots(oy + th + 1)},
              QColor(128, 128, 128));
    return t;
}
