#include "model/render_code.h"

#include "model/code_layout.h"
#include "model/model_error.h"
#include "model/render_canvas.h"

#include <QFont>
#include <QPainter>

namespace {

const QColor KBlack(0, 0, 0);
const QColor KWhite(255, 255, 255);
// Dark enough to print black in the preview, red enough to stand out on screen.
const QColor KErrorRed(200, 0, 0);

QFont CodeFont(int Pixels)
{
    QFont F(QStringLiteral("Arial"));
    F.setPixelSize(Pixels);
    F.setStyleStrategy(QFont::NoAntialias);
    return F;
}

// Dark runs of one module row become one rectangle each, which keeps a dense
// code down to a few hundred fills.
void DrawModules(QPainter& Canvas, const TCodePlan& P)
{
    const TCodeSymbol& S = P.Symbol;
    const int64_t M = P.Module;
    const int64_t RowHeight = S.Rows == 1 && P.BarHeight > 0 ? P.BarHeight : M;
    for (int32_t R = 0; R < S.Rows; ++R) {
        const int64_t Top = P.SymbolTop + R * M;
        int32_t C = 0;
        while (C < S.Columns) {
            if (!S.IsDark(R, C)) {
                ++C;
                continue;
            }
            const int32_t Start = C;
            while (C < S.Columns && S.IsDark(R, C))
                ++C;
            FillDots(Canvas, P.SymbolLeft + Start * M, Top, P.SymbolLeft + C * M, Top + RowHeight, KBlack);
        }
    }
}

void DrawHumanText(QPainter& Canvas, const TCodePlan& P)
{
    if (P.TextHeight <= 0)
        return;
    const QRect Box(P.Area.Left, P.SymbolTop + P.BarHeight + 2, P.Area.Width(), P.TextHeight - 2);
    Canvas.save();
    Canvas.setClipRect(Box, Qt::IntersectClip);
    Canvas.setFont(CodeFont(P.TextHeight - 2));
    Canvas.setPen(KBlack);
    Canvas.drawText(Box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, P.Symbol.HumanText);
    Canvas.restore();
}

// A frame with a cross-out corner and the reason, so that nobody mistakes it
// for a code and the user learns what to change.
void DrawErrorBox(QPainter& Canvas, const TDotRect& B, const QString& Reason)
{
    FillDots(Canvas, B, KWhite);
    FrameDots(Canvas, B, KErrorRed);
    if (B.Width() > 2 && B.Height() > 2)
        FrameDots(Canvas, TDotRect{B.Left + 1, B.Top + 1, B.Right - 1, B.Bottom - 1}, KErrorRed);
    const QRect Text = B.ToQRect().adjusted(4, 3, -4, -3);
    if (Text.width() < 1 || Text.height() < 1)
        return;
    Canvas.save();
    Canvas.setClipRect(Text, Qt::IntersectClip);
    Canvas.setFont(CodeFont(12));
    Canvas.setPen(KErrorRed);
    Canvas.drawText(Text, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Code ungültig:\n") + Reason);
    Canvas.restore();
}

}  // namespace

void DrawCodeElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B, int CopyNo,
                     const TMergeRecord* Record)
{
    TCodePlan P;
    try {
        P = PlanCode(E, CopyNo, Record);
    } catch (const EModelError& Err) {
        DrawErrorBox(Canvas, B, Err.Message());
        return;
    }
    FillDots(Canvas, P.Area, KWhite);
    DrawModules(Canvas, P);
    DrawHumanText(Canvas, P);
}
