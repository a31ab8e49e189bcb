#include "model/render_canvas.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace {

// Fills [L, R) x [T, B) after clipping it to the device, in 64 bits so that
// pen offsets added to extreme coordinates cannot wrap.
void FillClipped(QPainter& Canvas, int64_t L, int64_t T, int64_t R, int64_t B, const QColor& Color)
{
    const QPaintDevice* dev = Canvas.device();
    if (!dev) {
        return;
    }
    L = std::max<int64_t>(L, 0);
    T = std::max<int64_t>(T, 0);
    R = std::min<int64_t>(R, dev->width());
    B = std::min<int64_t>(B, dev->height());
    if (L < R && T < B) {
        Canvas.fillRect(QRect(static_cast<int>(L), static_cast<int>(T), static_cast<int>(R - L),
                              static_cast<int>(B - T)),
                        Color);
    }
}

bool IntersectsDevice(const QPainter& Canvas, const QRectF& R)
{
    const QPaintDevice* dev = Canvas.device();
    return dev && R.intersects(QRectF(0, 0, dev->width(), dev->height()));
}

// floor(A / B) for B > 0.
__int128 FloorDiv(__int128 A, __int128 B)
{
    const __int128 q = A / B;
    return (A % B != 0 && A < 0) ? q - 1 : q;
}

}  // namespace

void PrepareDotCanvas(QPainter& Canvas)
{
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setRenderHint(QPainter::TextAntialiasing, false);
    Canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void FillDots(QPainter& Canvas, const TDotRect& R, const QColor& Color)
{
    FillClipped(Canvas, R.Left, R.Top, R.Right, R.Bottom, Color);
}

void FillDots(QPainter& Canvas, int64_t L, int64_t T, int64_t R, int64_t B, const QColor& Color)
{
    FillClipped(Canvas, L, T, R, B, Color);
}

void FrameDots(QPainter& Canvas, const TDotRect& R, const QColor& Color)
{
    const int64_t l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
    if (l >= r || t >= b) {
        return;
    }
    FillClipped(Canvas, l, t, r, t + 1, Color);
    FillClipped(Canvas, l, b - 1, r, b, Color);
    FillClipped(Canvas, l, t + 1, l + 1, b - 1, Color);
    FillClipped(Canvas, r - 1, t + 1, r, b - 1, Color);
}

void DrawOutline(QPainter& Canvas, TOutlineShape Shape, const TDotRect& R, int PenWidth,
                 const QColor& Pen, const std::optional<QColor>& Brush, int CornerW, int CornerH)
{
    DrawOutline(Canvas, Shape, R.Left, R.Top, R.Right, R.Bottom, PenWidth, Pen, Brush, CornerW, CornerH);
}

void DrawOutline(QPainter& Canvas, TOutlineShape Shape, int64_t L, int64_t T, int64_t R, int64_t B,
                 int PenWidth, const QColor& Pen, const std::optional<QColor>& Brush, int CornerW, int CornerH)
{
    const int64_t w = std::max(PenWidth, 1);
    const int64_t a = w / 2;
    const int64_t x1 = std::min(L, R), x2 = std::max(L, R);
    const int64_t y1 = std::min(T, B), y2 = std::max(T, B);
    // The outline runs through the first and the last column and row; a box
    // without extent still shows its outline as a bar of the pen's width.
    const int64_t cl = x1, cr = std::max(x1, x2 - 1);
    const int64_t ct = y1, cb = std::max(y1, y2 - 1);

    if (Shape == TOutlineShape::Rectangle) {
        const int64_t ol = cl - a, orr = cr - a + w, ot = ct - a, ob = cb - a + w;
        const int64_t il = cl - a + w, ir = cr - a, it = ct - a + w, ib = cb - a;
        if (il >= ir || it >= ib) {
            FillClipped(Canvas, ol, ot, orr, ob, Pen);
            return;
        }
        if (Brush) {
            FillClipped(Canvas, il, it, ir, ib, *Brush);
        }
        FillClipped(Canvas, ol, ot, orr, it, Pen);
        FillClipped(Canvas, ol, ib, orr, ob, Pen);
        FillClipped(Canvas, ol, it, il, ib, Pen);
        FillClipped(Canvas, ir, it, orr, ib, Pen);
        return;
    }

    // Curved shapes: the pen band is the region between the centre line grown
    // and shrunk by half the pen width; unantialiased filling paints every dot
    // whose centre lies inside. The centre line sits on dot centres for odd
    // pens and on dot edges for even ones, which gives the same band as the
    // straight edges of a rectangle.
    const double half = static_cast<double>(w) / 2.0;
    const double off = half - static_cast<double>(a);
    const QRectF centre(QPointF(static_cast<double>(cl) + off, static_cast<double>(ct) + off),
                        QPointF(static_cast<double>(cr) + off, static_cast<double>(cb) + off));
    const QRectF outer = centre.adjusted(-half, -half, half, half);
    const QRectF inner = centre.adjusted(half, half, -half, -half);
    if (!IntersectsDevice(Canvas, outer)) {
        return;
    }
    const auto shapePath = [&](const QRectF& Box, double Grow) {
        QPainterPath p;
        if (Shape == TOutlineShape::Ellipse) {
            p.addEllipse(Box);
        } else {
            const double rx = std::max(0.0, CornerW / 2.0 + Grow);
            const double ry = std::max(0.0, CornerH / 2.0 + Grow);
            p.addRoundedRect(Box, std::min(rx, Box.width() / 2.0), std::min(ry, Box.height() / 2.0));
        }
        return p;
    };
    const bool hasInner = inner.width() > 0 && inner.height() > 0;
    if (!hasInner) {
        Canvas.fillPath(shapePath(outer, half), Pen);
        return;
    }
    const QPainterPath innerPath = shapePath(inner, -half);
    if (Brush) {
        Canvas.fillPath(innerPath, *Brush);
    }
    QPainterPath ring = shapePath(outer, half);
    ring.addPath(innerPath);
    ring.setFillRule(Qt::OddEvenFill);
    Canvas.fillPath(ring, Pen);
}

void DrawLineDots(QPainter& Canvas, QPoint From, QPoint To, const QColor& Color)
{
    const QPaintDevice* dev = Canvas.device();
    if (!dev || From == To) {
        return;
    }
    // Step by step along the longer axis, the other coordinate rounded to the
    // nearest dot. Only the steps inside the device are visited, so a line of
    // absurd length costs no more than one across the picture.
    const int64_t dx = static_cast<int64_t>(To.x()) - From.x();
    const int64_t dy = static_cast<int64_t>(To.y()) - From.y();
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t major0 = xMajor ? From.x() : From.y();
    const int64_t minor0 = xMajor ? From.y() : From.x();
    const int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t minorDelta = xMajor ? dy : dx;
    const int64_t majorLimit = xMajor ? dev->width() : dev->height();
    const int64_t minorLimit = xMajor ? dev->height() : dev->width();

    int64_t first = 0, last = n;  // steps [first, last)
    if (step > 0) {
        first = std::max<int64_t>(first, -major0);
        last = std::min<int64_t>(last, majorLimit - major0);
    } else {
        first = std::max<int64_t>(first, major0 - majorLimit + 1);
        last = std::min<int64_t>(last, major0 + 1);
    }
    QPolygon points;
    for (int64_t i = first; i < last; ++i) {
        const int64_t major = major0 + i * step;
        const int64_t minor =
            minor0 + static_cast<int64_t>(FloorDiv(static_cast<__int128>(2) * i * minorDelta + n,
                                                   static_cast<__int128>(2) * n));
        if (minor < 0 || minor >= minorLimit) {
            continue;
        }
        points << (xMajor ? QPoint(static_cast<int>(major), static_cast<int>(minor))
                          : QPoint(static_cast<int>(minor), static_cast<int>(major)));
    }
    if (!points.isEmpty()) {
        Canvas.save();
        Canvas.setPen(QPen(Color, 1));
        Canvas.drawPoints(points);
        Canvas.restore();
    }
}
