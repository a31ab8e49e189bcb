#include "model/render_picture.h"

#include "model/render_math.h"
#include "protocol/nimbo_protocol.h"

#include <QPainter>

#include <algorithm>

namespace {

QImage NewWhiteBitmap(int W, int H)
{
    if (W < 1 || H < 1) {
        return QImage();
    }
    QImage bmp(W, H, QImage::Format_RGB32);
    if (bmp.isNull()) {
        throw EModelError(QStringLiteral("Nicht genügend Speicher für das Bild (%1 × %2 Punkte)")
                              .arg(W)
                              .arg(H));
    }
    bmp.fill(Qt::white);
    return bmp;
}

QImage AsRgb32(const QImage& Pic)
{
    return Pic.format() == QImage::Format_RGB32 ? Pic : Pic.convertToFormat(QImage::Format_RGB32);
}

// Plain replication: dot u of a scaled run of N dots shows source dot
// floor((u + 1/2) * S / N) of a run of S.
int32_t NearestSource(int64_t U, int64_t N, int64_t S)
{
    const __int128 v = (static_cast<__int128>(2) * U + 1) * S / (static_cast<__int128>(2) * N);
    return static_cast<int32_t>(std::min<__int128>(v, S - 1));
}

// Enlarging: every window dot inside the placed picture fetches its source
// dot directly, so nothing beyond the window is ever built.
void ReplicateInto(QImage& Out, const QImage& Src, const TPicturePlacement& P, const QRect& Window)
{
    const int64_t x0 = std::max<int64_t>(P.X, Window.left());
    const int64_t x1 = std::min<int64_t>(P.X + P.W, static_cast<int64_t>(Window.left()) + Window.width());
    const int64_t y0 = std::max<int64_t>(P.Y, Window.top());
    const int64_t y1 = std::min<int64_t>(P.Y + P.H, static_cast<int64_t>(Window.top()) + Window.height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    std::vector<int32_t> column(static_cast<size_t>(x1 - x0));
    for (int64_t x = x0; x < x1; ++x) {
        column[static_cast<size_t>(x - x0)] = NearestSource(x - P.X, P.W, Src.width());
    }
    for (int64_t y = y0; y < y1; ++y) {
        const auto* src =
            reinterpret_cast<const QRgb*>(Src.constScanLine(NearestSource(y - P.Y, P.H, Src.height())));
        auto* dst = reinterpret_cast<QRgb*>(Out.scanLine(static_cast<int>(y - Window.top()))) +
                    (x0 - Window.left());
        for (size_t i = 0; i < column.size(); ++i) {
            dst[i] = src[column[i]];
        }
    }
}

// Shrinking: the averaging scaler works on the source rectangle that covers
// the window, scaled by the same factors as the whole picture would be.
void AverageInto(QImage& Out, const QImage& Src, const TPicturePlacement& P, const QRect& Window)
{
    const int64_t v0x = std::max<int64_t>(P.X, Window.left()) - P.X;
    const int64_t v1x = std::min<int64_t>(P.X + P.W, static_cast<int64_t>(Window.left()) + Window.width()) - P.X;
    const int64_t v0y = std::max<int64_t>(P.Y, Window.top()) - P.Y;
    const int64_t v1y = std::min<int64_t>(P.Y + P.H, static_cast<int64_t>(Window.top()) + Window.height()) - P.Y;
    if (v0x >= v1x || v0y >= v1y) {
        return;
    }
    const int64_t pw = Src.width(), ph = Src.height();
    const int64_t sx0 = v0x * pw / P.W, sx1 = (v1x * pw + P.W - 1) / P.W;
    const int64_t sy0 = v0y * ph / P.H, sy1 = (v1y * ph + P.H - 1) / P.H;
    const double fx = static_cast<double>(P.W) / static_cast<double>(pw);
    const double fy = static_cast<double>(P.H) / static_cast<double>(ph);
    const int64_t cw = std::max<int64_t>(1, RoundHalfEven(static_cast<double>(sx1 - sx0) * fx));
    const int64_t ch = std::max<int64_t>(1, RoundHalfEven(static_cast<double>(sy1 - sy0) * fy));
    const int64_t dx = P.X + RoundHalfEven(static_cast<double>(sx0) * fx) - Window.left();
    const int64_t dy = P.Y + RoundHalfEven(static_cast<double>(sy0) * fy) - Window.top();

    const QImage part = (sx0 == 0 && sy0 == 0 && sx1 == pw && sy1 == ph)
                            ? Src
                            : Src.copy(static_cast<int>(sx0), static_cast<int>(sy0),
                                       static_cast<int>(sx1 - sx0), static_cast<int>(sy1 - sy0));
    const QImage scaled = part.scaled(static_cast<int>(cw), static_cast<int>(ch), Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation);
    QPainter p(&Out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(static_cast<int>(dx), static_cast<int>(dy)), scaled);
}

}  // namespace

TPicturePlacement PlacePicture(int32_t PW, int32_t PH, int32_t BW, int32_t BH, TBgMode Mode)
{
    TPicturePlacement p;
    if (Mode == bmStretch) {
        p.W = BW;
        p.H = BH;
        return p;
    }
    const double rx = static_cast<double>(BW) / PW;
    const double ry = static_cast<double>(BH) / PH;
    const double s = Mode == bmFit ? std::min(rx, ry) : std::max(rx, ry);
    p.W = std::max<int64_t>(1, RoundHalfEven(PW * s));
    p.H = std::max<int64_t>(1, RoundHalfEven(PH * s));
    p.X = (BW - p.W) / 2;
    p.Y = (BH - p.H) / 2;
    return p;
}

QImage RenderPlacedPicture(const QImage& Pic, int32_t BW, int32_t BH, TBgMode Mode, const QRect& Window)
{
    QImage out = NewWhiteBitmap(Window.width(), Window.height());
    if (out.isNull() || Pic.isNull() || Pic.width() < 1 || Pic.height() < 1 || BW < 1 || BH < 1) {
        return out;
    }
    const QImage src = AsRgb32(Pic);
    const TPicturePlacement place = PlacePicture(src.width(), src.height(), BW, BH, Mode);
    const bool shrinkX = place.W < src.width();
    const bool shrinkY = place.H < src.height();
    if (!shrinkX && !shrinkY) {
        ReplicateInto(out, src, place, Window);
    } else if ((shrinkX || place.W == src.width()) && (shrinkY || place.H == src.height())) {
        AverageInto(out, src, place, Window);
    } else {
        // Stretched down along one side and up along the other: average the
        // shrinking side first (the result is no larger than the picture),
        // then replicate along the growing side.
        const QImage reduced = src.scaled(static_cast<int>(std::min<int64_t>(place.W, src.width())),
                                          static_cast<int>(std::min<int64_t>(place.H, src.height())),
                                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ReplicateInto(out, reduced, place, Window);
    }
    return out;
}

QImage StretchHalftone(const QImage& Pic, int32_t W, int32_t H)
{
    return RenderPlacedPicture(Pic, W, H, bmStretch, QRect(0, 0, W, H));
}

void DrawPicture(QPainter& Canvas, const QImage& Pic, const TDotRect& R, int LightenPct, bool Dither,
                 bool ForPrint, TBgMode Mode)
{
    const int32_t bw = R.Width();
    const int32_t bh = R.Height();
    if (bw < 1 || bh < 1 || Pic.isNull() || Pic.width() == 0 || Pic.height() == 0 || !Canvas.device()) {
        return;
    }
    const int64_t devW = Canvas.device()->width();
    const int64_t devH = Canvas.device()->height();
    const int64_t l = std::max<int64_t>(R.Left, 0);
    const int64_t t = std::max<int64_t>(R.Top, 0);
    const int64_t r = std::min<int64_t>(R.Right, devW);
    const int64_t b = std::min<int64_t>(R.Bottom, devH);
    if (l >= r || t >= b) {
        return;
    }
    // A box no larger than the canvas is built whole, so that error diffusion
    // runs from its own corner and a picture dithers the same wherever it
    // lies. A larger box (reaching far beyond the label) is built only where
    // it meets the canvas: it must not cost memory for what nobody sees.
    const bool whole = static_cast<int64_t>(bw) * bh <= devW * devH;
    const QRect window = whole ? QRect(0, 0, bw, bh)
                               : QRect(static_cast<int>(l - R.Left), static_cast<int>(t - R.Top),
                                       static_cast<int>(r - l), static_cast<int>(b - t));
    QImage tmp = RenderPlacedPicture(Pic, bw, bh, Mode, window);
    if (LightenPct > 0 || (Dither && ForPrint)) {
        ApplyLightenDither(tmp, LightenPct, Dither && ForPrint);
    }
    Canvas.save();
    Canvas.setCompositionMode(QPainter::CompositionMode_Source);
    Canvas.drawImage(QPoint(static_cast<int>(R.Left + window.left()), static_cast<int>(R.Top + window.top())),
                     tmp);
    Canvas.restore();
}

void ApplyLightenDither(QImage& Bmp, int LightenPct, bool Dither)
{
    if (Bmp.format() != QImage::Format_RGB32) {
        Bmp = Bmp.convertToFormat(QImage::Format_RGB32);
    }
    const int w = Bmp.width();
    const int h = Bmp.height();
    const int pct = std::min(LightenPct, 100);
    TNbGrayImage gray;
    gray.Init(w, h, 255);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(Bmp.constScanLine(y));
        uint8_t* out = gray.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x) {
            int g = GrayOf(line[x]);
            if (pct > 0) {
                g += (pct * (255 - g)) / 100;
            }
            out[x] = static_cast<uint8_t>(g);
        }
    }
    if (Dither) {
        const TNbMonoImage mono = NbGrayToMono(gray, true, 128);
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(Bmp.scanLine(y));
            const uint8_t* dots = mono.Dots.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
            for (int x = 0; x < w; ++x) {
                line[x] = dots[x] ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            }
        }
        return;
    }
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(Bmp.scanLine(y));
        const uint8_t* in = gray.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x) {
            line[x] = qRgb(in[x], in[x], in[x]);
        }
    }
}
