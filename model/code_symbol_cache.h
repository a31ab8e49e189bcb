#pragma once
// Encoded symbols kept for reuse: a label is drawn many times with the same
// data (the canvas on every repaint, a print once to check and once to draw).

#include "model/code_symbol.h"

// EncodeCode(Type, Ecc, Data), answered from the last few hundred results,
// refusals included (they raise the same EModelError again).
TCodeSymbol CachedCodeSymbol(TCodeType Type, TCodeEcc Ecc, const QString& Data);
