// Painting, zooming and scrolling of the label canvas.
#include "editor/canvas_geometry.h"
#include "editor/controls/ui_font.h"
#include "editor/data_panel.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"

#include <QComboBox>
#include <QKeyEvent>
#include "editor/controls/modern_button.h"
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

namespace {
// A stroked QRect covers one pixel more than its width; outlines here end
// on the last pixel inside the rectangle, as the fills do.
void Outline(QPainter& p, const QRect& r)
{
    p.drawRect(QRect(r.x(), r.y(), r.width() - 1, r.height() - 1));
}

const QColor ViewportColour(232, 232, 232);
const QColor OutlineColour(184, 216, 240);
const QColor SelectionColour(0, 120, 215);
const QColor InfoColour(112, 112, 112);
const QColor GuideColour(232, 17, 140);
} // namespace

QRect TLabelMainForm::DesignToScreen(const QRect& R) const
{
    return canvas::DesignToScreen(R, FZoom);
}

QPoint TLabelMainForm::ScreenToDesign(int x, int y) const
{
    return canvas::ScreenToDesign(x, y, FZoom);
}

QRect TLabelMainForm::HandleRect(int i, const QRect& screenRect)
{
    return canvas::HandleRect(i, screenRect);
}

QSize TLabelMainForm::CanvasSize() const
{
    return canvas::PaintBoxSize(FDoc->DesignWidth(), FDoc->DesignHeight(), FZoom);
}

void TLabelMainForm::UpdateCanvasSize()
{
    PaintBox->resize(CanvasSize());
    CenterCanvas();
    ShowZoom();
    RepaintCanvas();
}

void TLabelMainForm::CenterCanvas()
{
    // The scroll box centres a smaller canvas on each axis and keeps the
    // scroll position of a larger one; only the layout needs refreshing.
    Scroll->setAlignment(Qt::AlignCenter);
    Scroll->updateGeometry();
}

void TLabelMainForm::ShowZoom()
{
    const QString text = canvas::ZoomText(FZoom);
    // The list entry of the zoom, when it is a step, so that the arrow keys
    // in the box go on from the zoom shown and not from an older choice.
    CbZoom->setCurrentIndex(CbZoom->findText(text));
    CbZoom->setEditText(text);
    SetStatus(2, QStringLiteral("Zoom %1 %").arg(canvas::RoundEven(FZoom * 100)));
}

void TLabelMainForm::ZoomAt(QPoint P, double Z)
{
    Z = canvas::ClampZoom(Z);
    if (std::abs(Z - FZoom) <= 0.001)
        return;
    const double dx = (P.x() - PaintBox->x() - canvas::Margin) / FZoom;
    const double dy = (P.y() - PaintBox->y() - canvas::Margin) / FZoom;
    FZoom = Z;
    PaintBox->move(0, 0);
    PaintBox->resize(CanvasSize());
    CenterCanvas();
    // The scroll ranges follow the new size only after the scroll box has
    // laid itself out again.
    Scroll->widget()->updateGeometry();
    QSize viewport = Scroll->viewport()->size();
    Scroll->horizontalScrollBar()->setRange(0, std::max(0, PaintBox->width() - viewport.width()));
    Scroll->verticalScrollBar()->setRange(0, std::max(0, PaintBox->height() - viewport.height()));
    if (viewport.width() < PaintBox->width())
        Scroll->horizontalScrollBar()->setValue(canvas::RoundEven(dx * Z + canvas::Margin) - P.x());
    if (viewport.height() < PaintBox->height())
        Scroll->verticalScrollBar()->setValue(canvas::RoundEven(dy * Z + canvas::Margin) - P.y());
    ShowZoom();
    RepaintCanvas();
}

void TLabelMainForm::SetZoom(double Z)
{
    const QSize v = Scroll->viewport()->size();
    ZoomAt(QPoint(v.width() / 2, v.height() / 2), Z);
}

void TLabelMainForm::StepZoom(int Dir, QPoint P)
{
    ZoomAt(P, canvas::NextZoomStep(FZoom, Dir));
}

void TLabelMainForm::ZoomIn()
{
    const QSize v = Scroll->viewport()->size();
    StepZoom(+1, QPoint(v.width() / 2, v.height() / 2));
}

void TLabelMainForm::ZoomOut()
{
    const QSize v = Scroll->viewport()->size();
    StepZoom(-1, QPoint(v.width() / 2, v.height() / 2));
}

void TLabelMainForm::ZoomFit()
{
    const QSize v = Scroll->viewport()->size();
    const double zx = double(v.width() - 2 * canvas::Margin) / FDoc->DesignWidth();
    const double zy = double(v.height() - canvas::Margin - canvas::BottomExtra) / FDoc->DesignHeight();
    SetZoom(std::min(zx, zy));
}

void TLabelMainForm::CbZoomSelect(int index)
{
    if (index >= 0 && index < int(canvas::ZoomSteps.size()))
        SetZoom(canvas::ZoomSteps[size_t(index)]);
}

bool TLabelMainForm::CbZoomKeyDown(QKeyEvent* e)
{
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        return false;
    SetZoom(canvas::ParseZoomText(CbZoom->currentText(), FZoom));
    return true;
}

void TLabelMainForm::TogglePreview()
{
    FPreview = !FPreview;
    BtnPreview->SetChecked(FPreview);
    RepaintCanvas();
}

void TLabelMainForm::RepaintCanvas()
{
    FCanvasCache = QImage();
    FCanvasScaled = QImage();
    if (PaintBox)
        PaintBox->update();
}

const QImage& TLabelMainForm::CanvasImage()
{
    if (FCanvasCache.isNull()) {
        FCanvasCache = FDoc->RenderBitmap(FPreview, 1, PnlData ? PnlData->CurrentRecord() : nullptr);
        if (FPreview)
            PreviewThreshold(FCanvasCache, 128);
    }
    return FCanvasCache;
}

void TLabelMainForm::PaintBoxPaint(QPainter& p, const QRect& exposed)
{
    const QSize lab = canvas::ScaledLabel(FDoc->DesignWidth(), FDoc->DesignHeight(), FZoom);
    const int W = lab.width();
    const int H = lab.height();
    const int M = canvas::Margin;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(exposed, ViewportColour);
    // Shadow and edge of the paper, right and bottom exclusive.
    auto fill = [&](int l, int t, int r, int b, QColor c) { p.fillRect(QRect(l, t, r - l, b - t), c); };
    fill(25, 27, W + 29, H + 30, QColor(220, 220, 220));
    fill(25, 26, W + 27, H + 28, QColor(207, 207, 207));
    fill(24, 25, W + 25, H + 26, QColor(192, 192, 192));

    const QRect labelArea(M, M, W, H);
    const QRect target = labelArea.intersected(exposed);
    if (!target.isEmpty()) {
        try {
            const QImage& img = CanvasImage();
            if (FZoom < 1.0) {
                // Reductions average the dots; the reduced picture is small,
                // so it is made once per zoom.
                if (FCanvasScaled.isNull() || FCanvasScaledZoom != FZoom) {
                    FCanvasScaled = img.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                    FCanvasScaledZoom = FZoom;
                }
                p.drawImage(target, FCanvasScaled, target.translated(-M, -M));
            } else {
                // Enlargements: only the dots under the exposed rectangle are
                // scaled, each into a sharp block.
                const int sx0 = std::max(0, int(std::floor((target.left() - M) / FZoom)));
                const int sy0 = std::max(0, int(std::floor((target.top() - M) / FZoom)));
                const int sx1 = std::min(img.width(), int(std::ceil((target.left() + target.width() - M) / FZoom)) + 1);
                const int sy1 = std::min(img.height(), int(std::ceil((target.top() + target.height() - M) / FZoom)) + 1);
                if (sx1 > sx0 && sy1 > sy0) {
                    p.save();
                    p.setClipRect(target);
                    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
                    const QRectF dst(M + sx0 * FZoom, M + sy0 * FZoom, (sx1 - sx0) * FZoom, (sy1 - sy0) * FZoom);
                    p.drawImage(dst, img, QRectF(sx0, sy0, sx1 - sx0, sy1 - sy0));
                    p.restore();
                }
            }
        } catch (const std::exception& ex) {
            // A picture that does not decode must not turn every repaint into
            // an error box: the paper stays white and the reason is shown once.
            p.fillRect(target, Qt::white);
            const QString msg = QString::fromUtf8(ex.what());
            if (Status && Status->Text(3) != msg)
                SetStatus(3, msg);
        }
    }

    if (!FPreview) {
        QPen pen(OutlineColour, 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        for (const auto& e : FDoc->Elements) {
            if (IsSelected(e.get()))
                continue;
            const QRect r = DesignToScreen(e->BoundsRect().ToQRect());
            if (r.intersects(exposed.adjusted(-1, -1, 1, 1)))
                Outline(p, r);
        }
    }
    PaintSelection(p);
    const QFont f = UiFont(9);
    p.setFont(f);
    p.setPen(InfoColour);
    QString info = QStringLiteral("%1 × %2 mm · %3")
                       .arg(FDoc->DesignWidth() / 8)
                       .arg(FDoc->DesignHeight() / 8)
                       .arg(FDoc->Landscape ? QStringLiteral("Querformat") : QStringLiteral("Hochformat"));
    info += FDoc->Landscape ? QStringLiteral(" · Inhalt läuft entlang des Streifens (wird gedreht gedruckt)")
                            : QStringLiteral(" · ↓ Druckrichtung");
    const QFontMetrics fm(f);
    p.drawText(QPoint(M, H + 32 + fm.ascent()), info);
}

void TLabelMainForm::PaintSelection(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    // The guides of a drag run across the whole label, one pixel thin.
    p.setPen(QPen(GuideColour, 1));
    for (const QLine& g : FGuides) {
        const QRect r = DesignToScreen(QRect(g.p1(), g.p2()).normalized());
        if (g.x1() == g.x2())
            p.drawLine(r.left(), r.top(), r.left(), r.top() + r.height() - 1);
        else
            p.drawLine(r.left(), r.top(), r.left() + r.width() - 1, r.top());
    }
    p.setPen(QPen(SelectionColour, 1));
    for (const TLabelElement* e : SelectedElements())
        Outline(p, DesignToScreen(e->BoundsRect().ToQRect()));
    if (FSel && !MultiSelected()) {
        const QRect r = DesignToScreen(FSel->BoundsRect().ToQRect());
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(SelectionColour, 2));
        p.setBrush(Qt::white);
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QRectF(HandleRect(i, r)).adjusted(1, 1, -1, -1));
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    if (FDrag == edRubber) {
        const QRect band = QRect(FDragStart, FRubberEnd).normalized();
        QColor fill = SelectionColour;
        fill.setAlpha(40);
        p.setPen(QPen(SelectionColour, 1, Qt::DashLine));
        p.setBrush(fill);
        Outline(p, DesignToScreen(band));
        p.setBrush(Qt::NoBrush);
    }
}
