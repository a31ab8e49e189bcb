#include "lineprinter/nimbo_lineprinter.h"
#include "lineprinter/utf8_text.h"

#include "dot_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::u16string>;

// The message of the std::invalid_argument that F raises ("" if none).
template <typename F>
std::string InvalidArgumentMessage(F&& Action)
{
    try {
        Action();
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "";
}

TEST(LinePrinterTest, CharsPerLineNeedsThreeDotsPerCharacter)
{
    struct TCase {
        int Width, Chars;
        const char* Error;  // nullptr: accepted
    };
    const TCase cases[] = {
        {384, 32, nullptr},
        {384, 128, nullptr},
        {384, 129, "129 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)"},
        {384, 0, "0 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)"},
        {384, -4, "-4 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)"},
        {3, 1, nullptr},
        {2, 1, "1 Zeichen passen nicht auf 2 px (mindestens 3 px je Zeichen)"},
        {-384, 32, "32 Zeichen passen nicht auf -384 px (mindestens 3 px je Zeichen)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + " px, " + std::to_string(c.Chars) + " characters");
        const std::string error = InvalidArgumentMessage([&] { TNbLinePrinter lp(c.Width, c.Chars); });
        EXPECT_EQ(error, c.Error ? c.Error : "");

        // The setter refuses the same values and keeps the previous one.
        if (c.Width != 384)
            continue;
        TNbLinePrinter lp(384, 16);
        EXPECT_EQ(InvalidArgumentMessage([&] { lp.SetCharsPerLine(c.Chars); }), c.Error ? c.Error : "");
        EXPECT_EQ(lp.CharsPerLine(), c.Error ? 16 : c.Chars);
    }
}

TEST(LinePrinterTest, WidthThatNoLongerFitsKeepsThePreviousWidth)
{
    TNbLinePrinter lp(384, 32);
    EXPECT_EQ(InvalidArgumentMessage([&] { lp.SetWidth(95); }),
              "32 Zeichen passen nicht auf 95 px (mindestens 3 px je Zeichen)");
    EXPECT_EQ(lp.Width(), 384);
    EXPECT_EQ(lp.CellWidth(), 12);
    EXPECT_EQ(InvalidArgumentMessage([&] { lp.SetWidth(-1); }),
              "32 Zeichen passen nicht auf -1 px (mindestens 3 px je Zeichen)");
    EXPECT_EQ(lp.Width(), 384);

    lp.SetWidth(96);
    EXPECT_EQ(lp.Width(), 96);
    EXPECT_EQ(lp.CellWidth(), 3);
    lp.PrintLn(u"x");
    EXPECT_EQ(lp.Render().Width, 96);
}

// One layout rule: what a printer with Chars characters per line on 384 dots
// holds as completed lines after Act.
struct TLayoutCase {
    const char* Name;
    int Chars;
    std::function<void(TNbLinePrinter&)> Act;
    Lines Expected;
};

void ExpectLayouts(const std::vector<TLayoutCase>& Cases)
{
    for (const TLayoutCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        TNbLinePrinter lp(384, c.Chars);
        c.Act(lp);
        std::vector<std::string> got, want;
        for (const std::u16string& s : lp.Lines())
            got.push_back(lineprinter_detail::ToUtf8(s));
        for (const std::u16string& s : c.Expected)
            want.push_back(lineprinter_detail::ToUtf8(s));
        EXPECT_EQ(got, want);
    }
}

TEST(LinePrinterTest, LineBreaks)
{
    ExpectLayouts({
        {"CR LF pairs", 32, [](auto& lp) { lp.AddText(u"a\r\nb\r\n"); }, {u"a", u"b"}},
        {"one final break only", 32, [](auto& lp) { lp.AddText(u"a\n\n"); }, {u"a", u""}},
        {"empty text", 32, [](auto& lp) { lp.AddText(u""); }, {u""}},
        {"lone CR", 32, [](auto& lp) { lp.AddText(u"a\rb"); }, {u"a", u"b"}},
        {"CR before CR LF", 32, [](auto& lp) { lp.AddText(u"a\r\r\nb"); }, {u"a", u"", u"b"}},
        {"LF CR is two breaks", 32, [](auto& lp) { lp.AddText(u"a\n\rb"); }, {u"a", u"", u"b"}},
        {"Print then PrintLn", 32, [](auto& lp) { lp.Print(u"abc"); lp.PrintLn(u"def"); }, {u"abcdef"}},
        {"Print keeps the tail pending", 32, [](auto& lp) { lp.Print(u"a\r\nb\nc"); }, {u"a", u"b"}},
        {"AddText completes a pending line", 32, [](auto& lp) { lp.Print(u"x"); lp.AddText(u"y"); }, {u"xy"}},
        {"PrintLn leaves breaks to ExpandTabs", 32, [](auto& lp) { lp.PrintLn(u"a\nb\x01" u"c"); }, {u"abc"}},
        {"Clear", 32, [](auto& lp) { lp.AddText(u"a\nb"); lp.Print(u"c"); lp.Clear(); lp.PrintLn(u"d"); }, {u"d"}},
    });
}

TEST(LinePrinterTest, TabsAndControlCharacters)
{
    const auto tabbed = [](int TabSize, std::u16string S) {
        return [=](TNbLinePrinter& lp) {
            lp.SetTabSize(TabSize);
            lp.PrintLn(S);
        };
    };
    ExpectLayouts({
        {"to the next stop", 32, tabbed(8, u"ab\tc"), {u"ab      c"}},
        {"at the start", 32, tabbed(8, u"\tx"), {u"        x"}},
        {"on a stop: a whole stop", 32, tabbed(4, u"abcd\te"), {u"abcd    e"}},
        {"size 0: one space", 32, tabbed(0, u"a\t\tb\t"), {u"a  b "}},
        {"negative size: one space", 32, tabbed(-5, u"\ta"), {u" a"}},
        {"controls dropped", 32, tabbed(8, u"a\x01\x1F" u"b\x7F"), {u"ab\x7F"}},
        {"tabs expand before wrapping", 4, tabbed(8, u"\tab"), {u"    ", u"    ", u"ab"}},
    });
}

TEST(LinePrinterTest, LongLinesWrapOrAreCut)
{
    const auto withWrap = [](bool Wrap, std::u16string S) {
        return [=](TNbLinePrinter& lp) {
            lp.SetWrap(Wrap);
            lp.PrintLn(S);
        };
    };
    ExpectLayouts({
        {"wrap at exactly the width", 4, withWrap(true, u"abcdefghij"), {u"abcd", u"efgh", u"ij"}},
        {"no empty tail", 4, withWrap(true, u"abcdefgh"), {u"abcd", u"efgh"}},
        {"breaks ignore words", 4, withWrap(true, u"ab cd"), {u"ab c", u"d"}},
        {"cut", 4, withWrap(false, u"abcdefghij"), {u"abcd"}},
        {"short line untouched", 4, withWrap(false, u"ab"), {u"ab"}},
        {"Wrap applies to later lines", 4,
         [](auto& lp) { lp.PrintLn(u"abcde"); lp.SetWrap(false); lp.PrintLn(u"fghij"); },
         {u"abcd", u"e", u"fghi"}},
    });
}

TEST(LinePrinterTest, AlignedAndGeneratedLines)
{
    ExpectLayouts({
        {"centre", 8, [](auto& lp) { lp.Center(u"abc"); }, {u"  abc"}},
        {"centre, even gap", 8, [](auto& lp) { lp.Center(u"abcd"); }, {u"  abcd"}},
        {"centre, too long", 8, [](auto& lp) { lp.Center(u"abcdefghij"); }, {u"abcdefgh", u"ij"}},
        {"right", 8, [](auto& lp) { lp.RightAlign(u"abc"); }, {u"     abc"}},
        {"right, full", 8, [](auto& lp) { lp.RightAlign(u"abcdefgh"); }, {u"abcdefgh"}},
        {"right, too long", 8, [](auto& lp) { lp.RightAlign(u"abcdefghi"); }, {u"abcdefgh", u"i"}},
        {"centre after pending text", 8, [](auto& lp) { lp.Print(u"x"); lp.Center(u"ab"); }, {u"x   ab"}},
        {"separator", 12, [](auto& lp) { lp.Separator(u'='); }, {u"============"}},
        {"ruler", 12, [](auto& lp) { lp.Ruler(); }, {u"123456789012"}},
        {"empty lines", 8, [](auto& lp) { lp.EmptyLines(3); }, {u"", u"", u""}},
        {"no empty lines", 8, [](auto& lp) { lp.EmptyLines(0); lp.EmptyLines(-2); }, {}},
    });
}

TEST(LinePrinterTest, Columns)
{
    using W = std::vector<int32_t>;
    const auto columns = [](Lines Values, W Widths) {
        return [=](TNbLinePrinter& lp) { lp.Columns(Values, Widths); };
    };
    ExpectLayouts({
        {"missing width: length plus one", 32, columns({u"ab", u"c"}, {5}), {u"ab   c"}},
        {"negative width right-aligns", 32, columns({u"ab", u"c"}, {-4, 1}), {u"  abc"}},
        {"too long values are cut", 32, columns({u"abcdef", u"xyz"}, {3, -2}), {u"abcxy"}},
        {"width 0 hides", 32, columns({u"a", u"b", u"c"}, {2, 0, 2}), {u"a c"}},
        {"trailing blanks and controls go", 32, columns({u"a", u"\t\x01"}, {3, 4}), {u"a"}},
        {"leading blanks stay", 32, columns({u"", u"x"}, {}), {u" x"}},
        {"nothing", 32, columns({}, {4}), {u""}},
        {"wider than the line wraps", 4, columns({u"ab", u"cdef"}, {3, 4}), {u"ab c", u"def"}},
    });
    TNbLinePrinter lp(384, 32);
    try {
        lp.Columns({u"a"}, {INT_MIN});
        FAIL() << "a column of 2^31 characters was accepted";
    } catch (const std::overflow_error& e) {
        EXPECT_STREQ(e.what(), "Zeilenlänge überschreitet den Zahlenbereich");
    }
    EXPECT_EQ(lp.LineCount(), 0);
}

TEST(LinePrinterTest, LineCountIncludesThePendingLine)
{
    TNbLinePrinter lp(384, 32);
    EXPECT_EQ(lp.LineCount(), 0);
    lp.Print(u"a\nb");
    EXPECT_EQ(lp.Lines().size(), 1u);
    EXPECT_EQ(lp.LineCount(), 2);
    lp.PrintLn(u"");
    EXPECT_EQ(lp.LineCount(), 2);
    lp.Print(u"");
    EXPECT_EQ(lp.LineCount(), 2);
}

// Checks that Image shows exactly the glyphs of Font for Drawn, line k at row
// k * LineHeight, character p at column Left + p * CellWidth, and no other ink.
void ExpectDrawn(const TNbMonoImage& Image, const TNbFont& Font, int Left, int LineHeight, const Lines& Drawn)
{
    const int cw = Font.CellWidth(), ch = Font.CellHeight();
    int ink = 0;
    for (size_t k = 0; k < Drawn.size(); ++k)
        for (size_t p = 0; p < Drawn[k].size(); ++p) {
            SCOPED_TRACE("line " + std::to_string(k) + ", position " + std::to_string(p));
            const std::vector<uint8_t> glyph = Font.Glyph(Drawn[k][p]);
            const std::vector<std::string> want =
                Drawn[k][p] == u' ' || glyph.empty() ? std::vector<std::string>(ch, std::string(cw, '.'))
                                                     : DotRows(glyph, cw);
            EXPECT_EQ(ImageRows(Image, Left + int(p) * cw, int(k) * LineHeight, cw, ch), want);
            for (const std::string& row : want)
                ink += int(std::count(row.begin(), row.end(), '#'));
        }
    EXPECT_EQ(InkCount(Image), ink) << "ink outside the character cells";
}

TEST(LinePrinterTest, RenderGeometry)
{
    struct TCase {
        const char* Name;
        int Width, Chars, HeightFactor, Spacing;
        bool Bold;
        std::u16string Text;
        int Height, Left, LineHeight;
    };
    const TCase cases[] = {
        // 12-dot cells, 3 x 6 per design dot, 36 rows plus 2 of spacing.
        {"receipt", 384, 32, 2, 2, false, u"Ab 1\n\u20AC?\u00E9\u00DF", 76, 0, 38},
        {"centred block", 100, 8, 2, 2, false, u"IIIIIIII", 38, 2, 38},
        {"odd remainder right", 101, 8, 2, 2, false, u"I  I", 38, 2, 38},
        {"flat font, no spacing", 384, 32, 1, 0, false, u"a\nb\nc", 54, 0, 18},
        {"negative spacing counts as 0", 384, 32, 1, -40, false, u"a\nb\nc", 54, 0, 18},
        {"wide spacing", 384, 32, 1, 10, false, u"x\n\ny", 84, 0, 28},
        {"bold in 3-dot cells", 384, 128, 1, 2, true, u"IHW", 8, 0, 8},
        {"empty lines keep their height", 384, 32, 2, 2, false, u"\n\n", 76, 0, 38},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TNbLinePrinter lp(c.Width, c.Chars);
        lp.SetHeightFactor(c.HeightFactor);
        lp.SetLineSpacing(c.Spacing);
        lp.SetBold(c.Bold);
        lp.AddText(c.Text);
        EXPECT_EQ(lp.LineHeight(), c.LineHeight);
        const TNbMonoImage image = lp.Render();
        EXPECT_EQ(image.Width, c.Width);
        ASSERT_EQ(image.Height, c.Height);
        ExpectDrawn(image, TNbBuiltinFont(lp.CellWidth(), c.HeightFactor, c.Bold), c.Left, c.LineHeight, lp.Lines());
        // Rendering again gives the same picture and keeps the lines.
        EXPECT_EQ(lp.Render().Dots, image.Dots);
    }
}

TEST(LinePrinterTest, RenderEdgeCases)
{
    TNbLinePrinter empty(384, 32);
    const TNbMonoImage blank = empty.Render();
    EXPECT_EQ(blank.Width, 384);
    EXPECT_EQ(blank.Height, 1);
    EXPECT_EQ(InkCount(blank), 0);

    // The pending line is drawn last, its tabs expanded with the tab size in
    // force at rendering, and it is neither wrapped nor cut - but what lies
    // beyond the characters per line is not drawn.
    TNbLinePrinter lp(23, 4);  // cells of 5 dots, block from x = 1 to 20
    lp.PrintLn(u"I");
    lp.Print(u"\tIIIIIII");
    lp.SetTabSize(2);
    const TNbMonoImage image = lp.Render();
    ASSERT_EQ(image.Height, 28);
    ExpectDrawn(image, TNbBuiltinFont(5, 2, false), 1, 14, {u"I", u"  II"});
    EXPECT_EQ(lp.LineCount(), 2);

    lp.Clear();
    EXPECT_EQ(lp.Render().Height, 1);
}

TEST(LinePrinterTest, TextToMono)
{
    const TNbMonoImage image = TNbLinePrinter::TextToMono(u"Summe\t12,50 \u20AC\r\n", 384, 32, u"");
    TNbLinePrinter lp(384, 32);
    lp.PrintLn(u"Summe   12,50 \u20AC");
    const TNbMonoImage expected = lp.Render();
    EXPECT_EQ(image.Width, 384);
    EXPECT_EQ(image.Height, 38);
    EXPECT_EQ(image.Dots, expected.Dots);

    EXPECT_EQ(TNbLinePrinter::TextToMono(u"", 384, 32, u"").Height, 38);
    EXPECT_EQ(InvalidArgumentMessage([] { TNbLinePrinter::TextToMono(u"x", 384, 200, u""); }),
              "200 Zeichen passen nicht auf 384 px (mindestens 3 px je Zeichen)");
}

// A stand-in system font: every character is a solid block. GlyphSize lets a
// test hand out a glyph of the wrong size.
class TBlockFont : public TNbFont {
public:
    TBlockFont(int Width, int Height, int GlyphSize = -1)
        : FGlyphSize(GlyphSize < 0 ? Width * Height : GlyphSize)
    {
        FCellWidth = Width;
        FCellHeight = Height;
    }
    std::vector<uint8_t> Glyph(char16_t) const override { return std::vector<uint8_t>(FGlyphSize, 1); }
    std::string Description() const override { return "Blockschrift"; }

private:
    size_t FGlyphSize;
};

struct TProviderCall {
    std::u16string Name;
    int32_t CellWidth;
    bool Bold;
    int32_t Stretch;
    bool operator==(const TProviderCall&) const = default;
};

class LinePrinterFontTest : public ::testing::Test {
protected:
    void TearDown() override { NbFontProvider = nullptr; }

    // Installs a provider that records its calls and answers with Answer.
    void InstallProvider(std::function<std::unique_ptr<TNbFont>(int32_t CellWidth)> Answer)
    {
        NbFontProvider = [this, Answer](const std::u16string& Name, int32_t CellWidth, bool Bold, int32_t Stretch) {
            Calls.push_back({Name, CellWidth, Bold, Stretch});
            return Answer(CellWidth);
        };
    }

    std::vector<TProviderCall> Calls;
};

TEST_F(LinePrinterFontTest, FontInfoWithoutProvider)
{
    TNbLinePrinter lp(384, 32);
    EXPECT_EQ(lp.FontInfo(), "Pixelschrift 3x5, Faktor 3 x 6");
    lp.SetFontName(u"Arial");
    EXPECT_EQ(lp.FontInfo(), "Pixelschrift 3x5, Faktor 3 x 6 (Nimbo.Font.Vcl nicht eingebunden)");
    // Height factor and cell width reach the cached font at its next use.
    lp.SetHeightFactor(3);
    lp.SetCharsPerLine(16);
    EXPECT_EQ(lp.FontInfo(), "Pixelschrift 3x5, Faktor 6 x 18 (Nimbo.Font.Vcl nicht eingebunden)");
}

TEST_F(LinePrinterFontTest, ProviderIsAskedOncePerFontKey)
{
    InstallProvider([](int32_t) { return nullptr; });
    TNbLinePrinter lp(384, 32);
    lp.Render();
    EXPECT_TRUE(Calls.empty()) << "no font name, no system font";

    lp.SetFontName(u"Arial");
    lp.SetFontStretch(0);
    EXPECT_EQ(lp.FontInfo(), "Pixelschrift 3x5, Faktor 3 x 6");
    lp.Render();
    lp.LineHeight();
    const std::vector<TProviderCall> first = {{u"Arial", 12, false, 1}};
    EXPECT_EQ(Calls, first);

    // Every part of the key asks again; LineSpacing, Wrap and TabSize do not.
    lp.SetLineSpacing(7);
    lp.SetWrap(false);
    lp.SetTabSize(3);
    lp.FontInfo();
    EXPECT_EQ(Calls.size(), 1u);
    lp.SetBold(true);
    lp.FontInfo();
    lp.SetFontStretch(3);
    lp.FontInfo();
    lp.SetHeightFactor(1);
    lp.FontInfo();
    lp.SetCharsPerLine(48);
    lp.FontInfo();
    lp.SetWidth(192);
    lp.FontInfo();
    // Non-ASCII names reach the note as UTF-8; a stray surrogate as U+FFFD.
    lp.SetFontName(u"Grotesk \u00C4\U0001F5A8\xD800");
    lp.FontInfo();
    // The last two changes leave 4-dot cells, too narrow to ask at all.
    const std::vector<TProviderCall> all = {{u"Arial", 12, false, 1}, {u"Arial", 12, true, 1},
                                            {u"Arial", 12, true, 3}, {u"Arial", 12, true, 3},
                                            {u"Arial", 8, true, 3}};
    EXPECT_EQ(Calls, all);
    EXPECT_EQ(lp.FontInfo(), "Pixelschrift 3x5, Faktor 1 x 1 (Zelle 4 px zu schmal für Grotesk \u00C4\U0001F5A8\uFFFD)");
}

TEST_F(LinePrinterFontTest, ProvidedFontDrawsTheText)
{
    // Two dots wider than the cell: the block overhangs on both sides and
    // what falls outside the image is dropped.
    InstallProvider([](int32_t CellWidth) { return std::make_unique<TBlockFont>(CellWidth + 2, 4); });
    TNbLinePrinter lp(24, 4);
    lp.SetFontName(u"Block");
    lp.SetLineSpacing(1);
    lp.AddText(u"ab d\nc");
    EXPECT_EQ(lp.FontInfo(), "Blockschrift");
    EXPECT_EQ(lp.LineHeight(), 5);
    const TNbMonoImage image = lp.Render();
    ASSERT_EQ(image.Height, 10);
    const std::vector<std::string> want = {
        "############........####", "############........####", "############........####",
        "############........####", "........................", "####....................",
        "####....................", "####....................", "####....................",
        "........................",
    };
    EXPECT_EQ(ImageRows(image, 0, 0, 24, 10), want);
}

TEST_F(LinePrinterFontTest, GlyphOfTheWrongSizeIsRefused)
{
    InstallProvider([](int32_t CellWidth) { return std::make_unique<TBlockFont>(CellWidth, 4, 5); });
    TNbLinePrinter lp(24, 4);
    lp.SetFontName(u"Block");
    lp.PrintLn(u"a");
    try {
        lp.Render();
        FAIL() << "a glyph of 5 dots for a 6 x 4 cell was drawn";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "Zeichenbild (5 Punkte) passt nicht zur Zelle 6 x 4");
    }
}

} // namespace
