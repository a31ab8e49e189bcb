#include "editor/canvas_geometry.h"
#include "model/dot_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace canvas {

int RoundEven(double v)
{
    // Screen coordinates of far-away elements saturate: the painter clips
    // them anyway, and a zoomed position must never overflow.
    constexpr double Limit = 1e9;
    return RoundHalfEven(std::clamp(v, -Limit, Limit));
}

QSize ScaledLabel(int designWidth, int designHeight, double zoom)
{
    return {RoundEven(designWidth * zoom), RoundEven(designHeight * zoom)};
}

QSize PaintBoxSize(int designWidth, int designHeight, double zoom)
{
    const QSize s = ScaledLabel(designWidth, designHeight, zoom);
    return {s.width() + 2 * Margin, s.height() + Margin + BottomExtra};
}

QRect DesignToScreen(const QRect& r, double zoom)
{
    // QRect's right()/bottom() are inclusive; the design rectangles are not.
    const int l = RoundEven(r.left() * zoom) + Margin;
    const int t = RoundEven(r.top() * zoom) + Margin;
    const int rr = RoundEven((r.left() + r.width()) * zoom) + Margin;
    const int b = RoundEven((r.top() + r.height()) * zoom) + Margin;
    return QRect(QPoint(l, t), QPoint(rr - 1, b - 1));
}

QPoint ScreenToDesign(int x, int y, double zoom)
{
    return {static_cast<int>(std::floor((x - Margin) / zoom)), static_cast<int>(std::floor((y - Margin) / zoom))};
}

QRect HandleRect(int i, const QRect& screenRect)
{
    const int l = screenRect.left();
    const int t = screenRect.top();
    const int r = screenRect.left() + screenRect.width();
    const int b = screenRect.top() + screenRect.height();
    QPoint c;
    switch (i) {
    case 0: c = {l, t}; break;
    case 1: c = {r, t}; break;
    case 2: c = {r, b}; break;
    case 3: c = {l, b}; break;
    default: throw std::out_of_range("Griffnummer außerhalb des Bereichs");
    }
    return QRect(c.x() - 5, c.y() - 5, 11, 11);
}

double NextZoomStep(double zoom, int dir)
{
    if (dir > 0) {
        for (double s : ZoomSteps)
            if (s > zoom + 0.001)
                return s;
        return MaxZoom;
    }
    for (auto it = ZoomSteps.rbegin(); it != ZoomSteps.rend(); ++it)
        if (*it < zoom - 0.001)
            return *it;
    return MinZoom;
}

double ClampZoom(double z)
{
    return std::clamp(z, MinZoom, MaxZoom);
}

double ParseZoomText(const QString& text, double currentZoom)
{
    long long value = 0;
    bool any = false;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            continue;
        any = true;
        value = value * 10 + (ch.unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return RoundEven(currentZoom * 100) / 100.0;
    }
    if (!any)
        return RoundEven(currentZoom * 100) / 100.0;
    return static_cast<double>(value) / 100.0;
}

QString ZoomText(double zoom)
{
    return QStringLiteral("%1 %").arg(RoundEven(zoom * 100));
}

} // namespace canvas
