#include "model/label_render.h"

#include "model/fields.h"

#include "model/model_error.h"
#include "model/render_canvas.h"
#include "model/render_code.h"
#include "model/render_math.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <optional>

namespace {

const QColor KBlack(0, 0, 0);
const QColor KWhite(255, 255, 255);
const QColor KSilver(192, 192, 192);

// Beyond this the font engine refuses the size and falls back to its default,
// which would print a giant character as a tiny one; such a glyph is larger
// than any label anyway.
constexpr int KMaxFontPixels = 32767;
// A turned element is laid out whole before it is turned; a box far larger
// than any label is refused rather than filling the memory.
constexpr int64_t KMaxTurnedDots = int64_t(4096) * 4096;

int AlignFlags(TLblAlign A)
{
    switch (A) {
    case laCenter:
        return Qt::AlignHCenter;
    case laRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

// Line breaks are CR LF in label texts; the text layout only knows LF.
QString WithPlainLineBreaks(QString S)
{
    S.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    S.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return S;
}

void DrawTextElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B, int CopyNo,
                     const TMergeRecord* Record)
{
    const QString s = WithPlainLineBreaks(ExpandElementText(E.Text, CopyNo, Record));
    if (E.Inverted) {
        FillDots(Canvas, B, KBlack);
    }
    // The text runs 2 dots inside the box on the left and right.
    const int64_t tl = static_cast<int64_t>(B.Left) + 2;
    const int64_t tr = static_cast<int64_t>(B.Right) - 2;
    const int64_t bh = static_cast<int64_t>(B.Bottom) - B.Top;
    if (tl >= tr || bh < 1 || s.isEmpty()) {
        return;
    }
    const int flags = Qt::TextWordWrap | Qt::AlignTop | AlignFlags(E.Align);
    const QRect measureBox(CheckedDots(tl), B.Top, CheckedDots(tr - tl), CheckedDots(bh));

    Canvas.save();
    Canvas.setFont(ElementFont(E));
    Canvas.setPen(E.Inverted ? KWhite : KBlack);
    Canvas.setBrush(Qt::NoBrush);
    // Measured with the very font and flags it is drawn with, so the centring
    // matches what appears.
    const int64_t needed = Canvas.boundingRect(measureBox, flags, s).height();
    const int64_t offset = std::max<int64_t>(0, (bh - needed) / 2);
    const QRect drawBox(measureBox.left(), CheckedDots(B.Top + offset), measureBox.width(),
                        CheckedDots(bh - offset));
    Canvas.setClipRect(drawBox, Qt::IntersectClip);
    Canvas.drawText(drawBox, flags, s);
    Canvas.restore();
}

void DrawImageElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B, bool ForPrint)
{
    const QImage& pic = E.Image();
    if (!pic.isNull()) {
        DrawPicture(Canvas, pic, B, 0, E.Dither, ForPrint, E.KeepAspect ? bmFit : bmStretch);
        return;
    }
    if (ForPrint) {
        return;  // an empty picture frame is an editing aid, never printed
    }
    DrawOutline(Canvas, TOutlineShape::Rectangle, B, 1, KSilver, std::nullopt);
    DrawLineDots(Canvas, QPoint(B.Left, B.Top), QPoint(B.Right, B.Bottom), KSilver);
    DrawLineDots(Canvas, QPoint(B.Right, B.Top), QPoint(B.Left, B.Bottom), KSilver);
}

void DrawShapeElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B)
{
    const int lw = std::max(E.LineWidth, 1);
    const int64_t k = lw / 2;
    // Inset by half the pen so that the centred pen stays inside the box.
    // In 64 bits: a box that ends at the last 32-bit coordinate (a clamped
    // file value) is still drawn, clipped like any other.
    DrawOutline(Canvas, E.Kind == ekEllipse ? TOutlineShape::Ellipse : TOutlineShape::Rectangle, B.Left + k,
                B.Top + k, static_cast<int64_t>(B.Right) - k + 1, static_cast<int64_t>(B.Bottom) - k + 1, lw,
                KBlack, E.Filled ? std::optional<QColor>(KBlack) : std::nullopt);
}

void DrawLineElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B)
{
    // A line is a bar across the full length of its box, centred in the
    // other direction; a square box gives a horizontal one.
    const int64_t lw = std::max(E.LineWidth, 1);
    if (E.W < E.H) {
        const int64_t cx = (static_cast<int64_t>(B.Left) + B.Right) / 2;
        FillDots(Canvas, cx - lw / 2, B.Top, cx - lw / 2 + lw, B.Bottom, KBlack);
    } else {
        const int64_t cy = (static_cast<int64_t>(B.Top) + B.Bottom) / 2;
        FillDots(Canvas, B.Left, cy - lw / 2, B.Right, cy - lw / 2 + lw, KBlack);
    }
}

// Text and pictures turned by a quarter, half or three-quarter turn: laid out
// upright in a box of the turned size, then set into the element's box by an
// exact turn of the dot grid, so screen and print show the same dots.
void DrawTurned(QPainter& Canvas, const TLabelElement& E, const TDotRect& B, int CopyNo, bool ForPrint,
                const TMergeRecord* Record)
{
    const QPaintDevice* dev = Canvas.device();
    if (!dev || !B.ToQRect().intersects(QRect(0, 0, dev->width(), dev->height()))) {
        return;
    }
    const bool quarter = E.Rotation == 90 || E.Rotation == 270;
    const int32_t iw = quarter ? B.Height() : B.Width();
    const int32_t ih = quarter ? B.Width() : B.Height();
    if (int64_t(iw) * ih > KMaxTurnedDots) {
        throw EModelError(QStringLiteral("Gedrehtes Element zu groß zum Zeichnen (%1 × %2 Punkte)").arg(iw).arg(ih));
    }
    QImage upright(iw, ih, QImage::Format_ARGB32_Premultiplied);
    if (upright.isNull()) {
        throw EModelError(QStringLiteral("Nicht genügend Speicher für das Element (%1 × %2 Punkte)").arg(iw).arg(ih));
    }
    upright.fill(Qt::transparent);
    {
        QPainter p(&upright);
        PrepareDotCanvas(p);
        const TDotRect box{0, 0, iw, ih};
        if (E.Kind == ekText) {
            DrawTextElement(p, E, box, CopyNo, Record);
        } else {
            DrawImageElement(p, E, box, ForPrint);
        }
    }
    // Where the upright box's corner (0, 0) and axes go: clockwise turns.
    QTransform t;
    switch (E.Rotation) {
    case 90:
        t = QTransform(0, 1, -1, 0, B.Right, B.Top);
        break;
    case 180:
        t = QTransform(-1, 0, 0, -1, B.Right, B.Bottom);
        break;
    default:
        t = QTransform(0, -1, 1, 0, B.Left, B.Bottom);
        break;
    }
    Canvas.save();
    Canvas.setTransform(t, true);
    Canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Canvas.drawImage(QPoint(0, 0), upright);
    Canvas.restore();
}

}  // namespace

QFont ElementFont(const TLabelElement& E)
{
    QFont font(E.FontName);
    font.setPixelSize(std::clamp(E.FontSize, 4, KMaxFontPixels));
    font.setBold(E.Bold);
    font.setItalic(E.Italic);
    font.setUnderline(E.Underline);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void DrawCorner(QPainter& Canvas, int32_t X, int32_t Y, int DX, int DY)
{
    const auto fill = [&](int64_t X1, int64_t Y1, int64_t X2, int64_t Y2) {
        FillDots(Canvas, std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2), KBlack);
    };
    const int64_t x = X, y = Y;
    fill(x, y, x + 36 * DX, y + 4 * DY);
    fill(x, y, x + 4 * DX, y + 36 * DY);
    fill(x + 10 * DX, y + 10 * DY, x + 16 * DX, y + 16 * DY);
}

void TLabelDoc::RenderTo(QImage& Bmp, bool ForPrint, int CopyNo, const TMergeRecord* Record) const
{
    const int32_t w = DesignWidth();
    const int32_t h = DesignHeight();
    if (w < 1 || h < 1) {
        throw EModelError(QStringLiteral("Ungültige Etikettengröße (%1 × %2 Punkte)").arg(w).arg(h));
    }
    if (Bmp.width() != w || Bmp.height() != h || Bmp.format() != QImage::Format_RGB32) {
        Bmp = QImage(w, h, QImage::Format_RGB32);
        if (Bmp.isNull()) {
            throw EModelError(
                QStringLiteral("Nicht genügend Speicher für das Etikett (%1 × %2 Punkte)").arg(w).arg(h));
        }
    }
    Bmp.fill(Qt::white);
    QPainter canvas(&Bmp);
    PrepareDotCanvas(canvas);
    DrawBackground(canvas, ForPrint);
    for (const auto& e : Elements) {
        DrawElement(canvas, *e, CopyNo, ForPrint, Record);
    }
}

QImage TLabelDoc::RenderBitmap(bool ForPrint, int CopyNo, const TMergeRecord* Record) const
{
    QImage bmp;
    RenderTo(bmp, ForPrint, CopyNo, Record);
    return bmp;
}

void TLabelDoc::DrawBackground(QPainter& Canvas, bool ForPrint) const
{
    const int64_t W = DesignWidth();
    const int64_t H = DesignHeight();
    const auto rect = [](int64_t L, int64_t T, int64_t R, int64_t B) {
        return TDotRect{CheckedDots(L), CheckedDots(T), CheckedDots(R), CheckedDots(B)};
    };
    switch (BgPreset) {
    case bpNone:
        break;
    case bpFrame:
        DrawOutline(Canvas, TOutlineShape::Rectangle, rect(2, 2, W - 1, H - 1), 4, KBlack, std::nullopt);
        break;
    case bpDoubleFrame:
        DrawOutline(Canvas, TOutlineShape::Rectangle, rect(2, 2, W - 1, H - 1), 4, KBlack, std::nullopt);
        DrawOutline(Canvas, TOutlineShape::Rectangle, rect(10, 10, W - 9, H - 9), 2, KBlack, std::nullopt);
        break;
    case bpRounded:
        DrawOutline(Canvas, TOutlineShape::RoundRect, rect(3, 3, W - 2, H - 2), 4, KBlack, std::nullopt, 48,
                    48);
        break;
    case bpDotted:
        for (int64_t x = 4; x < W - 8; x += 14) {
            FillDots(Canvas, x, 3, x + 6, 9, KBlack);
            FillDots(Canvas, x, H - 9, x + 6, H - 3, KBlack);
        }
        for (int64_t y = 4; y < H - 8; y += 14) {
            FillDots(Canvas, 3, y, 9, y + 6, KBlack);
            FillDots(Canvas, W - 9, y, W - 3, y + 6, KBlack);
        }
        break;
    case bpCorners:
        DrawCorner(Canvas, 4, 4, 1, 1);
        DrawCorner(Canvas, CheckedDots(W - 4), 4, -1, 1);
        DrawCorner(Canvas, 4, CheckedDots(H - 4), 1, -1);
        DrawCorner(Canvas, CheckedDots(W - 4), CheckedDots(H - 4), -1, -1);
        break;
    case bpStripes:
        // Bars 4, 3 and 2 dots thick from the top edge inwards, mirrored at
        // the bottom.
        for (int64_t i = 0; i < 3; ++i) {
            FillDots(Canvas, 0, 7 * i, W, 7 * i + 4 - i, KBlack);
            FillDots(Canvas, 0, H - 7 * i - (4 - i), W, H - 7 * i, KBlack);
        }
        break;
    case bpImage: {
        const QImage& bg = BgImage();
        if (!bg.isNull()) {
            DrawPicture(Canvas, bg, rect(0, 0, W, H), BgLighten, BgDither, ForPrint, BgMode);
        }
        break;
    }
    }
}

void TLabelDoc::DrawElement(QPainter& Canvas, const TLabelElement& E, int CopyNo, bool ForPrint,
                            const TMergeRecord* Record) const
{
    const TDotRect b = E.BoundsRect();
    if ((E.Kind == ekText || E.Kind == ekImage) && E.Rotation != 0) {
        DrawTurned(Canvas, E, b, CopyNo, ForPrint, Record);
        return;
    }
    switch (E.Kind) {
    case ekText:
        DrawTextElement(Canvas, E, b, CopyNo, Record);
        break;
    case ekImage:
        DrawImageElement(Canvas, E, b, ForPrint);
        break;
    case ekRect:
    case ekEllipse:
        DrawShapeElement(Canvas, E, b);
        break;
    case ekLine:
        DrawLineElement(Canvas, E, b);
        break;
    case ekCode:
        DrawCodeElement(Canvas, E, b, CopyNo, Record);
        break;
    }
}
