// Code elements drawn through the printer raster and read back by a real
// decoder; the dot grid of the modules; the error box and print refusal.

#include "model/code_layout.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include "code_decoder.h"
#include "model_fixtures.h"

#include <gtest/gtest.h>

namespace {

struct TCodeCase {
    TCodeType Type;
    const char* Data;     // as typed
    const char* Decoded;  // what a scanner reads
    const char* Format;   // the decoder's name of the symbology
};

const TCodeCase kCases[] = {
    {ctQr, "https://mirvo.example/lager/regal-7?fach=12", "https://mirvo.example/lager/regal-7?fach=12", "QRCode"},
    {ctDataMatrix, "Kabel 42-A / Netz", "Kabel 42-A / Netz", "DataMatrix"},
    {ctCode128, "PW-2026-0042", "PW-2026-0042", "Code128"},
    {ctEan13, "400638133393", "4006381333931", "EAN-13"},   // check digit added
    {ctEan13, "4006381333931", "4006381333931", "EAN-13"},  // check digit verified
    {ctEan8, "9638507", "96385074", "EAN-8"},
    {ctUpcA, "03600029145", "036000291452", "UPC-A"},
    {ctCode39, "LAGER 7-B", "LAGER 7-B", "Code39"},
    {ctItf14, "1540014128876", "15400141288763", "ITF"},
    {ctGs1128, "[01]04012345123456[10]ABC1", "01040123451234561" "0ABC1", "Code128"},
};

// A label holding one code element whose box is the whole design area.
std::unique_ptr<TLabelDoc> CodeLabel(const TCodeCase& C, int32_t Module, bool Landscape, int32_t LengthMm)
{
    auto Doc = std::make_unique<TLabelDoc>();
    Doc->Landscape = Landscape;
    Doc->LengthMm = LengthMm;
    TLabelElement* E = Doc->Elements.Add(std::make_unique<TLabelElement>(ekCode));
    E->X = 0;
    E->Y = 0;
    E->W = Doc->DesignWidth();
    E->H = Doc->DesignHeight();
    E->CodeType = C.Type;
    E->Text = QString::fromUtf8(C.Data);
    E->CodeModule = Module;
    return Doc;
}

void ExpectDecodes(const TLabelDoc& Doc, const QString& Expected, const char* Format, int CopyNo = 1, int Zoom = 1)
{
    const std::vector<TDecodedCode> Found = DecodeCodes(Doc.RenderMono(CopyNo), Zoom);
    ASSERT_EQ(Found.size(), 1u);
    EXPECT_EQ(Found[0].Text, Expected);
    EXPECT_EQ(Found[0].Format, QString::fromLatin1(Format));
}

TEST(CodeDecoding, EverySymbologyAtSmallestAndLargestModuleAndInLandscape)
{
    for (const TCodeCase& C : kCases) {
        SCOPED_TRACE(C.Data);
        const QString Expected = QString::fromUtf8(C.Decoded);

        // One dot per module on a portrait label.
        const auto Small = CodeLabel(C, 1, false, 40);
        EXPECT_EQ(PlanCode(*Small->Elements[0], 1).Module, 1);
        // The decoder's Data Matrix finder wants more than one pixel per
        // module; it gets the same dots, each seen as 4 x 4 pixels.
        ExpectDecodes(*Small, Expected, C.Format, 1, C.Type == ctDataMatrix ? 4 : 1);

        // The largest whole module that fits: one dot more per module would
        // not fit the box.
        const auto Large = CodeLabel(C, 0, false, 60);
        const TCodePlan P = PlanCode(*Large->Elements[0], 1);
        const TCodeSymbol& S = P.Symbol;
        const int64_t Next = P.Module + 1;
        const bool NextFits = Next * (S.Columns + S.QuietLeft + S.QuietRight) <= Large->DesignWidth()
                              && (IsLinearCode(C.Type) || Next * (S.Rows + 2 * S.QuietTop) <= Large->DesignHeight());
        EXPECT_FALSE(NextFits) << "module " << P.Module;
        ExpectDecodes(*Large, Expected, C.Format);

        // Landscape: drawn along the strip and printed turned.
        const auto Wide = CodeLabel(C, 0, true, 120);
        ExpectDecodes(*Wide, Expected, C.Format);
    }
}

TEST(CodeDecoding, RunningNumberOverThreeCopies)
{
    const auto Doc = CodeLabel({ctQr, "Regal {NR}", "", ""}, 0, false, 40);
    for (int N = 1; N <= 3; ++N)
        ExpectDecodes(*Doc, QStringLiteral("Regal %1").arg(N), "QRCode", N);
}

TEST(CodeDecoding, QrKeepsUmlautsEuroAndUrlExactly)
{
    const char* Data = "Grüße ä € https://mirvo.example/ä?preis=5€";
    const auto Doc = CodeLabel({ctQr, Data, Data, "QRCode"}, 0, false, 50);
    ExpectDecodes(*Doc, QString::fromUtf8(Data), "QRCode");
}

// Every module is a square of whole dots on the dot grid, the quiet zone is
// white, and nothing is gray.
TEST(CodeDrawing, ModulesAreWholeDotsOnTheGrid)
{
    TLabelDoc Doc;
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
    E->X = 7;
    E->Y = 5;
    E->W = 301;
    E->H = 203;
    E->Text = QStringLiteral("MIRVO");
    E->CodeModule = 3;
    const TCodePlan P = PlanCode(*E, 1);
    const QImage Bmp = Doc.RenderBitmap(false, 1);
    const TCodeSymbol& S = P.Symbol;
    ASSERT_EQ(S.Columns, 21);  // version 1
    // Centred: 29 modules of 3 dots in 301 x 203.
    EXPECT_EQ(P.Area, (TDotRect{7 + (301 - 87) / 2, 5 + (203 - 87) / 2, 7 + (301 - 87) / 2 + 87, 5 + (203 - 87) / 2 + 87}));
    for (int Y = 0; Y < Bmp.height(); ++Y)
        for (int X = 0; X < Bmp.width(); ++X) {
            const QRgb C = Bmp.pixel(X, Y);
            ASSERT_TRUE(C == qRgb(0, 0, 0) || C == qRgb(255, 255, 255)) << X << "," << Y;
            const int Col = (X - P.SymbolLeft) / 3, Row = (Y - P.SymbolTop) / 3;
            const bool Inside = X >= P.SymbolLeft && Y >= P.SymbolTop && Col < S.Columns && Row < S.Rows;
            ASSERT_EQ(C == qRgb(0, 0, 0), Inside && S.IsDark(Row, Col)) << X << "," << Y;
        }
}

TEST(CodeDrawing, BarsAreWholeDotsAndTheTextLineSitsBelow)
{
    TLabelDoc Doc;
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
    E->X = 0;
    E->Y = 0;
    E->W = 384;
    E->H = 100;
    E->CodeType = ctEan13;
    E->Text = QStringLiteral("400638133393");
    const TCodePlan P = PlanCode(*E, 1);
    EXPECT_EQ(P.Module, 3);  // 113 modules with quiet zones in 384 dots
    EXPECT_GT(P.TextHeight, 0);
    EXPECT_EQ(P.BarHeight + P.TextHeight, 100);
    const QImage Bmp = Doc.RenderBitmap(true, 1);
    for (int X = 0; X < 384; ++X) {
        const bool Dark = X >= P.SymbolLeft && X < P.SymbolLeft + 95 * 3 && P.Symbol.IsDark(0, (X - P.SymbolLeft) / 3);
        for (int Y = 0; Y < P.BarHeight; ++Y)
            ASSERT_EQ(Bmp.pixel(X, Y) == qRgb(0, 0, 0), Dark) << X << "," << Y;
    }
    // Digits below the bars; switched off, the bars take the whole height.
    bool Ink = false;
    for (int Y = P.BarHeight; Y < 100 && !Ink; ++Y)
        for (int X = 0; X < 384 && !Ink; ++X)
            Ink = Bmp.pixel(X, Y) == qRgb(0, 0, 0);
    EXPECT_TRUE(Ink);
    E->CodeShowText = false;
    EXPECT_EQ(PlanCode(*E, 1).BarHeight, 100);
}

struct TBadCase {
    TCodeType Type;
    QString Data;
    int32_t W, H, Module;
    QString Reason;
};

TEST(CodeErrors, ErrorBoxOnScreenAndPrintRefused)
{
    const TBadCase Cases[] = {
        {ctEan13, QStringLiteral("40063813339A"), 300, 100, 0, QStringLiteral("EAN-13 erlaubt nur Ziffern")},
        {ctEan13, QStringLiteral("4006381333932"), 300, 100, 0, QStringLiteral("Prüfziffer falsch (richtig wäre 1)")},
        {ctEan8, QStringLiteral("12345"), 300, 100, 0,
         QStringLiteral("EAN-8 braucht 7 Ziffern (oder 8 mit Prüfziffer)")},
        {ctUpcA, QStringLiteral("036000291453"), 300, 100, 0, QStringLiteral("Prüfziffer falsch (richtig wäre 2)")},
        {ctCode39, QStringLiteral("lager"), 300, 100, 0,
         QStringLiteral("Code 39 erlaubt nur A–Z, 0–9, Leerzeichen und - . $ / + %")},
        {ctQr, QString(), 300, 100, 0, QStringLiteral("Keine Daten")},
        {ctQr, QString(300, QLatin1Char('x')), 60, 60, 0,
         QStringLiteral("Zu viele Daten für das Feld (braucht mindestens 77 × 77 Punkte)")},
        {ctQr, QStringLiteral("MIRVO"), 100, 100, 4,
         QStringLiteral("Passt bei 4 Punkten pro Modul nicht ins Feld (braucht 116 × 116 Punkte)")},
        {ctCode128, QStringLiteral("ABC"), 300, 20, 0,
         QStringLiteral("Feld zu niedrig für den Code (braucht mindestens 42 Punkte Höhe)")},
        {ctQr, QString(3000, QLatin1Char('x')), 300, 300, 0, QStringLiteral("Zu viele Zeichen für QR-Code")},
    };
    for (const TBadCase& C : Cases) {
        SCOPED_TRACE(C.Reason.toStdString());
        TLabelDoc Doc;
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
        E->X = 10;
        E->Y = 10;
        E->W = C.W;
        E->H = C.H;
        E->CodeType = C.Type;
        E->Text = C.Data;
        E->CodeModule = C.Module;
        EXPECT_EQ(CodeProblem(*E, 1), C.Reason);

        // On screen: a red frame around the box instead of a code.
        const QImage Bmp = Doc.RenderBitmap(false, 1);
        EXPECT_EQ(Bmp.pixel(10, 10 + C.H / 2), qRgb(200, 0, 0));
        EXPECT_EQ(Bmp.pixel(10 + C.W - 1, 10 + C.H / 2), qRgb(200, 0, 0));

        // Printing refuses with the same reason.
        try {
            Doc.RenderMono(1);
            ADD_FAILURE() << "printed an invalid code";
        } catch (const EModelError& Err) {
            EXPECT_EQ(Err.Message(), QStringLiteral("Code ungültig: ") + C.Reason);
        }
    }
}

}  // namespace
