#pragma once
// The symbologies and error-correction levels a code element offers, with
// the names the label file stores and the names the user reads.

#include <QString>

#include <cstdint>

// Ordinals are only used inside the program; label files store the keys.
enum TCodeType : int32_t {
    ctQr = 0,
    ctDataMatrix = 1,
    ctCode128 = 2,
    ctEan13 = 3,
    ctEan8 = 4,
    ctUpcA = 5,
    ctCode39 = 6,
    ctItf14 = 7,
    ctGs1128 = 8
};
constexpr int kCodeTypeCount = 9;

enum TCodeEcc : int32_t { ceL = 0, ceM = 1, ceQ = 2, ceH = 3 };

// The file key ("qr", "datamatrix", "code128" …); an unknown key reads as
// ctQr, so a file from a newer version still opens.
QString CodeTypeKey(TCodeType T);
TCodeType CodeTypeFromKey(const QString& Key);

// The name shown in the editor ("QR-Code", "EAN-13" …).
QString CodeTypeName(TCodeType T);

// "L", "M", "Q", "H"; anything else reads as ceM.
QString CodeEccKey(TCodeEcc E);
TCodeEcc CodeEccFromKey(const QString& Key);

// Bar codes read along one line; they get a human-readable line and fill the
// height of their box, while matrix codes keep square modules.
bool IsLinearCode(TCodeType T);
