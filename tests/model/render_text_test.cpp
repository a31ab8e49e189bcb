// Text elements, checked by properties that hold with any installed font:
// ink stays in the box, vertical centring, alignment, inversion, the minimum
// size and the filled-in placeholders.

#include "model/label_doc.h"
#include "model/placeholders.h"
#include "protocol/nimbo_protocol.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace {

struct TInkBox {
    int L = INT32_MAX, T = INT32_MAX, R = -1, B = -1;  // inclusive; R < 0 when there is no ink
    bool Empty() const { return R < 0; }
};

TInkBox InkBox(const TNbMonoImage& M)
{
    TInkBox Box;
    for (int Y = 0; Y < M.Height; ++Y)
        for (int X = 0; X < M.Width; ++X)
            if (M.GetDot(X, Y)) {
                Box.L = std::min(Box.L, X);
                Box.T = std::min(Box.T, Y);
                Box.R = std::max(Box.R, X);
                Box.B = std::max(Box.B, Y);
            }
    return Box;
}

struct TTextLabel {
    TLabelDoc Doc;
    TLabelElement* E;

    TTextLabel(const QString& Text, int X, int Y, int W, int H, int FontSize = 32)
    {
        Doc.LengthMm = 40;
        E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
        E->Text = Text;
        E->X = X;
        E->Y = Y;
        E->W = W;
        E->H = H;
        E->FontSize = FontSize;
    }
};

TEST(RenderText, InkStaysInsideTheNarrowedBox)
{
    for (const TLblAlign A : {laLeft, laCenter, laRight}) {
        TTextLabel L(QStringLiteral("Wolkenkratzer Mittagspause Zwischenablage"), 40, 30, 200, 150, 30);
        L.E->Align = A;
        const TInkBox Box = InkBox(L.Doc.RenderMono(1));
        ASSERT_FALSE(Box.Empty()) << A;
        EXPECT_GE(Box.L, 42) << A;
        EXPECT_LE(Box.R, 237) << A;
        EXPECT_GE(Box.T, 30) << A;
        EXPECT_LE(Box.B, 179) << A;
    }
}

TEST(RenderText, ShortTextIsCentredVertically)
{
    // Forty more dots of box height move the ink down by exactly twenty.
    TTextLabel Small(QStringLiteral("HALLO"), 20, 20, 300, 100);
    TTextLabel Tall(QStringLiteral("HALLO"), 20, 20, 300, 140);
    const TInkBox A = InkBox(Small.Doc.RenderMono(1));
    const TInkBox B = InkBox(Tall.Doc.RenderMono(1));
    ASSERT_FALSE(A.Empty());
    EXPECT_EQ(B.T - A.T, 20);
    EXPECT_EQ(B.B - A.B, 20);
    EXPECT_EQ(B.L, A.L);
    // And the ink lies about in the middle of the box.
    EXPECT_NEAR((A.T + A.B) / 2.0, 70.0, 12.0);
}

TEST(RenderText, LongTextStartsAtTheTopAndIsCutAtTheBottom)
{
    const QString Lines = QStringLiteral("EINS\r\nZWEI\r\nDREI\r\nVIER\r\nFUENF");
    TTextLabel Short(Lines, 20, 20, 300, 60);
    TTextLabel Shorter(Lines, 20, 20, 300, 50);
    const TInkBox A = InkBox(Short.Doc.RenderMono(1));
    const TInkBox B = InkBox(Shorter.Doc.RenderMono(1));
    ASSERT_FALSE(A.Empty());
    EXPECT_EQ(A.T, B.T);
    EXPECT_LT(A.T, 20 + 12);  // no centring offset, only the font's own top space
    EXPECT_LE(A.B, 79);
    EXPECT_LE(B.B, 69);
}

TEST(RenderText, LineBreaksAndWordWrapMakeSeveralLines)
{
    const auto InkRowsRuns = [](const TNbMonoImage& M) {
        int Runs = 0;
        bool Prev = false;
        for (int Y = 0; Y < M.Height; ++Y) {
            bool Any = false;
            for (int X = 0; X < M.Width && !Any; ++X)
                Any = M.GetDot(X, Y) != 0;
            Runs += Any && !Prev;
            Prev = Any;
        }
        return Runs;
    };
    TTextLabel One(QStringLiteral("OBEN UNTEN"), 10, 10, 360, 200);
    TTextLabel Break(QStringLiteral("OBEN\r\nUNTEN"), 10, 10, 360, 200);
    TTextLabel Wrap(QStringLiteral("OBEN UNTEN"), 10, 10, 130, 200);
    EXPECT_EQ(InkRowsRuns(One.Doc.RenderMono(1)), 1);
    EXPECT_EQ(InkRowsRuns(Break.Doc.RenderMono(1)), 2);
    EXPECT_EQ(InkRowsRuns(Wrap.Doc.RenderMono(1)), 2);
}

TEST(RenderText, AlignmentPlacesTheLine)
{
    const auto Ink = [](TLblAlign A) {
        TTextLabel L(QStringLiteral("IIII"), 40, 20, 300, 60);
        L.E->Align = A;
        return InkBox(L.Doc.RenderMono(1));
    };
    const TInkBox Left = Ink(laLeft), Centre = Ink(laCenter), Right = Ink(laRight);
    ASSERT_FALSE(Left.Empty());
    EXPECT_NEAR(Left.L, 42, 6);
    EXPECT_NEAR(Right.R, 337, 6);
    EXPECT_NEAR((Centre.L + Centre.R) / 2.0, 190.0, 4.0);
    EXPECT_EQ(Centre.R - Centre.L, Left.R - Left.L);
}

TEST(RenderText, InvertedTextIsWhiteOnABlackBox)
{
    TTextLabel L(QStringLiteral("ACHTUNG"), 0, 28, 384, 80, 64);
    L.E->Inverted = true;
    L.E->Bold = true;
    const QImage Bmp = L.Doc.RenderBitmap(true, 1);
    int White = 0;
    for (int Y = 0; Y < Bmp.height(); ++Y)
        for (int X = 0; X < Bmp.width(); ++X) {
            const QRgb P = Bmp.pixel(X, Y);
            ASSERT_TRUE(P == qRgb(0, 0, 0) || P == qRgb(255, 255, 255)) << "no antialiasing " << X << ", " << Y;
            const bool InBox = Y >= 28 && Y < 108;
            if (!InBox)
                ASSERT_EQ(P, qRgb(255, 255, 255)) << X << ", " << Y;
            else if (X < 2 || X >= 382 || Y == 28 || Y == 107)
                ASSERT_EQ(P, qRgb(0, 0, 0)) << X << ", " << Y;
            else
                White += P == qRgb(255, 255, 255);
        }
    EXPECT_GT(White, 500) << "the white letters";
    EXPECT_LT(White, 384 * 80 / 2);
}

TEST(RenderText, TextIsNeverAntialiased)
{
    TTextLabel L(QStringLiteral("Schräg und fett, unterstrichen"), 10, 10, 360, 120, 27);
    L.E->Italic = true;
    L.E->Bold = true;
    L.E->Underline = true;
    const QImage Bmp = L.Doc.RenderBitmap(false, 1);
    int Black = 0;
    for (int Y = 0; Y < Bmp.height(); ++Y)
        for (int X = 0; X < Bmp.width(); ++X) {
            const QRgb P = Bmp.pixel(X, Y);
            ASSERT_TRUE(P == qRgb(0, 0, 0) || P == qRgb(255, 255, 255)) << X << ", " << Y;
            Black += P == qRgb(0, 0, 0);
        }
    EXPECT_GT(Black, 100);
}

TEST(RenderText, FontSizeBelowFourDrawsAtFour)
{
    const auto Dots = [](int Size) {
        TTextLabel L(QStringLiteral("HHHHHHHHHHHHHHHH"), 10, 10, 360, 30, Size);
        return L.Doc.RenderMono(1).Dots;
    };
    const auto AtFour = Dots(4);
    EXPECT_EQ(Dots(2), AtFour);
    EXPECT_EQ(Dots(-7), AtFour);
    EXPECT_NE(Dots(8), AtFour);
    EXPECT_NE(std::count(AtFour.begin(), AtFour.end(), 1), 0);
}

TEST(RenderText, PlaceholdersAreFilledInWithTheCopyNumber)
{
    SetPlaceholderClock(QDateTime(QDate(2026, 11, 30), QTime(8, 5)));
    struct Case {
        QString Text;
        int CopyNo;
        QString Plain;
    };
    const Case Cases[] = {
        {QStringLiteral("Nr. {nr}"), 12, QStringLiteral("Nr. 12")},
        {QStringLiteral("Nr. {NR}"), 3, QStringLiteral("Nr. 3")},
        {QStringLiteral("{Datum} {zeit}"), 1, QStringLiteral("30.11.2026 08:05")},
    };
    for (const Case& C : Cases) {
        TTextLabel WithPlaceholder(C.Text, 10, 10, 360, 100);
        TTextLabel Written(C.Plain, 10, 10, 360, 100);
        EXPECT_EQ(WithPlaceholder.Doc.RenderMono(C.CopyNo).Dots, Written.Doc.RenderMono(1).Dots)
            << C.Text.toStdString();
    }
    TTextLabel Numbered(QStringLiteral("Nr. {NR}"), 10, 10, 360, 100);
    EXPECT_NE(Numbered.Doc.RenderMono(1).Dots, Numbered.Doc.RenderMono(2).Dots);
    SetPlaceholderClock(std::nullopt);
}

TEST(RenderText, BoxNarrowerThanItsMarginsDrawsOnlyTheInversion)
{
    TTextLabel L(QStringLiteral("X"), 10, 10, 4, 40);
    L.E->Inverted = true;
    const TNbMonoImage M = L.Doc.RenderMono(1);
    const TInkBox Box = InkBox(M);
    EXPECT_EQ(Box.L, 10);
    EXPECT_EQ(Box.R, 13);
    EXPECT_EQ(Box.T, 10);
    EXPECT_EQ(Box.B, 49);
    EXPECT_EQ(std::count(M.Dots.begin(), M.Dots.end(), 1), 4 * 40);
}

}  // namespace
