#include "model/code_symbol.h"

#include "model/model_error.h"

#include <zint.h>

#include <memory>

namespace {

struct TZintDeleter {
    void operator()(zint_symbol* S) const { ZBarcode_Delete(S); }
};
using TZintPtr = std::unique_ptr<zint_symbol, TZintDeleter>;

[[noreturn]] void Fail(const QString& Reason) { throw EModelError(Reason); }

bool AllDigits(const QString& S)
{
    for (const QChar C : S)
        if (C < QLatin1Char('0') || C > QLatin1Char('9'))
            return false;
    return true;
}

bool IsAscii(const QString& S)
{
    for (const QChar C : S)
        if (C.unicode() > 0x7F)
            return false;
    return true;
}

// The fixed-length GS1 numbers: Length digits with the check digit, one
// fewer without. The digits zint receives never carry the check digit, so
// a wrong one can never end up in the bars.
QString CheckedNumber(TCodeType Type, const QString& Data, int Length)
{
    const QString Name = CodeTypeName(Type);
    if (!AllDigits(Data))
        Fail(QStringLiteral("%1 erlaubt nur Ziffern").arg(Name));
    if (Data.size() != Length && Data.size() != Length - 1)
        Fail(QStringLiteral("%1 braucht %2 Ziffern (oder %3 mit Prüfziffer)").arg(Name).arg(Length - 1).arg(Length));
    const QString Body = Data.left(Length - 1);
    if (Data.size() == Length) {
        const int Expected = Gs1CheckDigit(Body);
        if (Data.at(Length - 1).digitValue() != Expected)
            Fail(QStringLiteral("Prüfziffer falsch (richtig wäre %1)").arg(Expected));
    }
    return Body;
}

// Code 39 without its extended mode: lower-case letters would otherwise be
// turned into capitals, and the code would scan as other data.
void CheckCode39(const QString& Data)
{
    static const QString Allowed = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%");
    for (const QChar C : Data)
        if (!Allowed.contains(C))
            Fail(QStringLiteral("Code 39 erlaubt nur A–Z, 0–9, Leerzeichen und - . $ / + %"));
}

int Symbology(TCodeType Type)
{
    switch (Type) {
    case ctQr: return BARCODE_QRCODE;
    case ctDataMatrix: return BARCODE_DATAMATRIX;
    case ctCode128: return BARCODE_CODE128;
    case ctEan13:
    case ctEan8: return BARCODE_EANX;
    case ctUpcA: return BARCODE_UPCA;
    case ctCode39: return BARCODE_CODE39;
    case ctItf14: return BARCODE_ITF14;
    case ctGs1128: return BARCODE_GS1_128;
    }
    return BARCODE_QRCODE;
}

// Quiet zones in modules as the symbology standards ask for them.
void SetQuietZones(TCodeSymbol& S)
{
    switch (S.Type) {
    case ctQr: S.QuietLeft = S.QuietRight = S.QuietTop = 4; break;
    case ctDataMatrix: S.QuietLeft = S.QuietRight = S.QuietTop = 1; break;
    case ctEan13: S.QuietLeft = 11; S.QuietRight = 7; break;
    case ctEan8: S.QuietLeft = S.QuietRight = 7; break;
    case ctUpcA: S.QuietLeft = S.QuietRight = 9; break;
    case ctCode128:
    case ctCode39:
    case ctItf14:
    case ctGs1128: S.QuietLeft = S.QuietRight = 10; break;
    }
}

QString ZintFailure(TCodeType Type, int Rc)
{
    const QString Name = CodeTypeName(Type);
    switch (Rc) {
    case ZINT_ERROR_TOO_LONG: return QStringLiteral("Zu viele Zeichen für %1").arg(Name);
    case ZINT_ERROR_INVALID_DATA:
        return Type == ctGs1128 ? QStringLiteral("Keine gültigen GS1-Daten (Form: [01]…[10]…)")
                                : QStringLiteral("Zeichen, die %1 nicht darstellen kann").arg(Name);
    case ZINT_ERROR_INVALID_CHECK: return QStringLiteral("Prüfziffer falsch");
    default: return QStringLiteral("%1 konnte nicht erzeugt werden").arg(Name);
    }
}

}  // namespace

int Gs1CheckDigit(const QString& Digits)
{
    int Sum = 0;
    bool Triple = true;  // the digit next to the check digit weighs 3
    for (qsizetype I = Digits.size() - 1; I >= 0; --I) {
        Sum += Digits.at(I).digitValue() * (Triple ? 3 : 1);
        Triple = !Triple;
    }
    return (10 - Sum % 10) % 10;
}

TCodeSymbol EncodeCode(TCodeType Type, TCodeEcc Ecc, const QString& Data)
{
    if (Data.isEmpty())
        Fail(QStringLiteral("Keine Daten"));

    QString Input = Data;
    switch (Type) {
    case ctEan13: Input = CheckedNumber(Type, Data, 13); break;
    case ctEan8: Input = CheckedNumber(Type, Data, 8); break;
    case ctUpcA: Input = CheckedNumber(Type, Data, 12); break;
    case ctItf14: Input = CheckedNumber(Type, Data, 14); break;
    case ctCode39: CheckCode39(Data); break;
    default: break;
    }

    TZintPtr Z(ZBarcode_Create());
    if (!Z)
        Fail(QStringLiteral("Nicht genügend Speicher für den Code"));
    Z->symbology = Symbology(Type);
    Z->input_mode = Type == ctGs1128 ? GS1_MODE : UNICODE_MODE;
    if (Type == ctQr)
        Z->option_1 = static_cast<int>(Ecc) + 1;  // 1 = L … 4 = H
    if (Type == ctDataMatrix)
        Z->option_3 = DM_SQUARE;
    // Text beyond ASCII is declared as UTF-8, so every reader gets exactly
    // the characters typed instead of guessing a code page.
    if ((Type == ctQr || Type == ctDataMatrix) && !IsAscii(Input))
        Z->eci = 26;

    const QByteArray Utf8 = Input.toUtf8();
    const int Rc = ZBarcode_Encode(Z.get(), reinterpret_cast<const unsigned char*>(Utf8.constData()),
                                   static_cast<int>(Utf8.size()));
    if (Rc >= ZINT_ERROR)
        Fail(ZintFailure(Type, Rc));

    TCodeSymbol S;
    S.Type = Type;
    S.Columns = Z->width;
    S.Rows = IsLinearCode(Type) ? 1 : Z->rows;
    if (S.Columns < 1 || S.Rows < 1 || Z->rows > 200 || Z->width > 144 * 8)
        Fail(ZintFailure(Type, ZINT_ERROR_ENCODING_PROBLEM));
    S.Dark.resize(static_cast<size_t>(S.Rows) * static_cast<size_t>(S.Columns));
    // zint keeps one bit per module, eight modules to a byte, lowest bit first.
    for (int32_t R = 0; R < S.Rows; ++R)
        for (int32_t C = 0; C < S.Columns; ++C)
            S.Dark[static_cast<size_t>(R) * static_cast<size_t>(S.Columns) + static_cast<size_t>(C)] =
                (Z->encoded_data[R][C >> 3] >> (C & 7)) & 1;
    SetQuietZones(S);
    if (IsLinearCode(Type))
        S.HumanText = QString::fromUtf8(reinterpret_cast<const char*>(Z->text));
    return S;
}
