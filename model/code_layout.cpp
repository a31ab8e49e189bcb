#include "model/code_layout.h"

#include "model/code_symbol_cache.h"
#include "model/model_error.h"
#include "model/fields.h"

#include <algorithm>

namespace {

// Shorter bars than this are no longer read reliably by hand scanners.
constexpr int32_t kMinBarHeight = 16;

// The human-readable line grows with the module, within what fits a label.
int32_t TextPixels(int32_t Module) { return std::clamp(Module * 8, 12, 28); }

[[noreturn]] void Fail(const QString& Reason) { throw EModelError(Reason); }

QString Dots(int64_t N) { return QString::number(N); }


void PlanMatrix(TCodePlan& P, const TDotRect& B, int32_t Wanted)
{
    const TCodeSymbol& S = P.Symbol;
    const int64_t TW = int64_t(S.Columns) + S.QuietLeft + S.QuietRight;
    const int64_t TH = int64_t(S.Rows) + 2 * int64_t(S.QuietTop);
    const int64_t BW = B.Width(), BH = B.Height();
    const int64_t Fit = std::min(BW / TW, BH / TH);
    if (Wanted == 0 && Fit < 1)
        Fail(QStringLiteral("Zu viele Daten für das Feld (braucht mindestens %1 × %2 Punkte)").arg(Dots(TW), Dots(TH)));
    if (Wanted > Fit)
        Fail(QStringLiteral("Passt bei %1 Punkten pro Modul nicht ins Feld (braucht %2 × %3 Punkte)")
                 .arg(Wanted)
                 .arg(Dots(TW * Wanted), Dots(TH * Wanted)));
    const int64_t M = Wanted > 0 ? Wanted : Fit;
    const int64_t L = B.Left + (BW - TW * M) / 2;
    const int64_t T = B.Top + (BH - TH * M) / 2;
    P.Module = int32_t(M);
    P.Area = TDotRect{int32_t(L), int32_t(T), int32_t(L + TW * M), int32_t(T + TH * M)};
    P.SymbolLeft = int32_t(L + S.QuietLeft * M);
    P.SymbolTop = int32_t(T + S.QuietTop * M);
}

void PlanLinear(TCodePlan& P, const TDotRect& B, int32_t Wanted, bool ShowText)
{
    const TCodeSymbol& S = P.Symbol;
    const int64_t TW = int64_t(S.Columns) + S.QuietLeft + S.QuietRight;
    const int64_t BW = B.Width(), BH = B.Height();
    const int64_t Fit = BW / TW;
    if (Wanted == 0 && Fit < 1)
        Fail(QStringLiteral("Zu viele Daten für das Feld (braucht mindestens %1 Punkte Breite)").arg(Dots(TW)));
    if (Wanted > Fit)
        Fail(QStringLiteral("Passt bei %1 Punkten pro Modul nicht ins Feld (braucht %2 Punkte Breite)")
                 .arg(Wanted)
                 .arg(Dots(TW * Wanted)));
    const int64_t M = Wanted > 0 ? Wanted : Fit;
    const int64_t Text = ShowText && !S.HumanText.isEmpty() ? TextPixels(int32_t(M)) + 2 : 0;
    if (BH - Text < kMinBarHeight)
        Fail(QStringLiteral("Feld zu niedrig für den Code (braucht mindestens %1 Punkte Höhe)")
                 .arg(Dots(kMinBarHeight + Text)));
    const int64_t L = B.Left + (BW - TW * M) / 2;
    P.Module = int32_t(M);
    P.Area = TDotRect{int32_t(L), B.Top, int32_t(L + TW * M), B.Bottom};
    P.SymbolLeft = int32_t(L + S.QuietLeft * M);
    P.SymbolTop = B.Top;
    P.BarHeight = int32_t(BH - Text);
    P.TextHeight = int32_t(Text);
}

}  // namespace

TCodePlan PlanCode(const TLabelElement& E, int CopyNo, const TMergeRecord* Record)
{
    TCodePlan P;
    P.Symbol = CachedCodeSymbol(E.CodeType, E.CodeEcc, ExpandElementText(E.Text, CopyNo, Record));
    const TDotRect B = E.BoundsRect();
    const int32_t Wanted = std::clamp(E.CodeModule, 0, kCodeModuleMax);
    if (IsLinearCode(E.CodeType))
        PlanLinear(P, B, Wanted, E.CodeShowText);
    else
        PlanMatrix(P, B, Wanted);
    return P;
}

QString CodeProblem(const TLabelElement& E, int CopyNo, const TMergeRecord* Record)
{
    try {
        PlanCode(E, CopyNo, Record);
    } catch (const EModelError& Err) {
        return Err.Message();
    }
    return QString();
}

void CheckCodesPrintable(const TLabelDoc& Doc, int CopyNo, const TMergeRecord* Record)
{
    for (const auto& E : Doc.Elements) {
        if (E->Kind != ekCode)
            continue;
        const QString Why = CodeProblem(*E, CopyNo, Record);
        if (!Why.isEmpty())
            throw EModelError(QStringLiteral("Code ungültig: ") + Why);
    }
}
