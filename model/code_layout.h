#pragma once
// Where a code element's modules land in its box: a whole number of dots per
// module, the quiet zone inside the box, the symbol centred.

#include "model/code_symbol.h"
#include "model/label_doc.h"

#include <QString>

#include <cstdint>

struct TCodePlan {
    TCodeSymbol Symbol;
    int32_t Module = 1;     // dots per module, across and (matrix codes) down
    TDotRect Area;          // the symbol with its quiet zone (and text line)
    int32_t SymbolLeft = 0; // first module column
    int32_t SymbolTop = 0;  // first module row
    int32_t BarHeight = 0;  // bar codes: length of the bars in dots
    int32_t TextHeight = 0; // bar codes: height of the human-readable line, 0 = none
};

// Module sizes the editor offers besides "Automatisch" (0).
constexpr int32_t kCodeModuleMax = 20;

// The plan for element E as drawn for copy CopyNo (placeholders and, with a
// record of a data merge, its fields filled in).
// Data the symbology cannot hold, or a symbol that does not fit the box,
// raises EModelError with a short German reason.
TCodePlan PlanCode(const TLabelElement& E, int CopyNo, const TMergeRecord* Record = nullptr);

// The reason the code of E cannot be drawn for copy CopyNo, or an empty
// string when it can.
QString CodeProblem(const TLabelElement& E, int CopyNo, const TMergeRecord* Record = nullptr);

// Raises EModelError "Code ungültig: …" for the first code element of Doc
// that cannot be drawn for copy CopyNo: a code that would scan as something
// else, or not at all, is never printed.
void CheckCodesPrintable(const TLabelDoc& Doc, int CopyNo, const TMergeRecord* Record = nullptr);
