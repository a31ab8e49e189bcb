#pragma once
// Encoding the data of a code element into its modules, through libzint.
// Nothing here knows dots or boxes: that is code_layout.h.

#include "model/code_types.h"

#include <QString>

#include <cstdint>
#include <vector>

struct TCodeSymbol {
    TCodeType Type = ctQr;
    int32_t Columns = 0;          // modules across
    int32_t Rows = 0;             // module rows (1 for bar codes)
    std::vector<uint8_t> Dark;    // Rows x Columns, row by row; 1 = dark module
    int32_t QuietLeft = 0;        // the symbology's quiet zone, in modules
    int32_t QuietRight = 0;
    int32_t QuietTop = 0;         // above and below; 0 for bar codes
    QString HumanText;            // the human-readable line of a bar code

    bool IsDark(int32_t Row, int32_t Column) const
    {
        return Dark[static_cast<size_t>(Row) * static_cast<size_t>(Columns) + static_cast<size_t>(Column)] != 0;
    }
};

// The symbol for Data (placeholders already filled in). EAN/UPC/ITF-14 check
// digits are appended when left out and verified when given. Data the
// symbology cannot hold raises EModelError with a short German reason.
TCodeSymbol EncodeCode(TCodeType Type, TCodeEcc Ecc, const QString& Data);

// The GS1 check digit (mod 10, weights 3 and 1 from the right) of Digits,
// which must hold decimal digits only.
int Gs1CheckDigit(const QString& Digits);
