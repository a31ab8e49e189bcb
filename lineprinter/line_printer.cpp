#include "lineprinter/line_printer.h"

#include "lineprinter/builtin_font.h"
#include "lineprinter/checked_math.h"
#include "lineprinter/font_provider.h"
#include "lineprinter/utf8_text.h"

#include <algorithm>
#include <stdexcept>

using namespace lineprinter_detail;

namespace {

constexpr char16_t Tab = u'\t';
constexpr char16_t LineFeed = u'\n';
constexpr char16_t CarriageReturn = u'\r';
constexpr char16_t Space = u' ';

// A system font needs at least this many dots per cell to be legible.
constexpr int32_t MinSystemFontCell = 6;
constexpr int32_t MinDotsPerChar = 3;

void CheckCharsFit(int32_t AChars, int32_t AWidth)
{
    if (AChars <= 0 || AWidth / AChars < MinDotsPerChar)
        throw std::invalid_argument(std::to_string(AChars) + " Zeichen passen nicht auf " + std::to_string(AWidth) +
                                    " px (mindestens 3 px je Zeichen)");
}

// CR LF and lone CR both become LF, so every kind of line break splits alike.
std::u16string NormaliseBreaks(const std::u16string& S)
{
    std::u16string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == CarriageReturn) {
            out += LineFeed;
            if (i + 1 < S.size() && S[i + 1] == LineFeed)
                ++i;
        } else {
            out += S[i];
        }
    }
    return out;
}

std::u16string AsciiText(const std::string& S)
{
    return std::u16string(S.begin(), S.end());
}

std::u16string Spaces(int64_t Count)
{
    return std::u16string(static_cast<size_t>(std::max<int64_t>(Count, 0)), Space);
}

int64_t Length(const std::u16string& S)
{
    return static_cast<int64_t>(S.size());
}

} // namespace

TNbLinePrinter::TNbLinePrinter(int32_t AWidth, int32_t ACharsPerLine)
    : FWidth(AWidth)
{
    SetCharsPerLine(ACharsPerLine);
}

TNbLinePrinter::~TNbLinePrinter() = default;

int32_t TNbLinePrinter::LineCount() const
{
    return CheckedInt32(static_cast<int64_t>(FLines.size()) + (FCurrent.empty() ? 0 : 1), "Zeilenzahl");
}

void TNbLinePrinter::SetWidth(int32_t Value)
{
    // Checked before storing: a width the lines no longer fit would leave
    // cells narrower than a glyph, or a negative image width.
    CheckCharsFit(FCharsPerLine, Value);
    FWidth = Value;
}

void TNbLinePrinter::SetCharsPerLine(int32_t Value)
{
    CheckCharsFit(Value, FWidth);
    FCharsPerLine = Value;
}

int32_t TNbLinePrinter::EffectiveLineSpacing() const
{
    // Negative spacing would stack lines above the image's first row.
    return std::max(FLineSpacing, 0);
}

int32_t TNbLinePrinter::LineHeight() const
{
    return CheckedAdd(GetFont().CellHeight(), EffectiveLineSpacing(), "Zeilenhöhe");
}

const TNbFont& TNbLinePrinter::GetFont() const
{
    const int32_t cellWidth = CellWidth();
    const std::u16string key = FFontName + u'|' + AsciiText(std::to_string(cellWidth)) + u'|' +
                               AsciiText(std::to_string(FHeightFactor)) + u'|' +
                               AsciiText(std::to_string(FFontStretch)) + u'|' + (FBold ? u'1' : u'0');
    if (FFont && key == FFontKey)
        return *FFont;

    std::unique_ptr<TNbFont> font;
    if (!FFontName.empty() && NbFontProvider && cellWidth >= MinSystemFontCell)
        font = NbFontProvider(FFontName, cellWidth, FBold, std::max(1, FFontStretch));
    if (!font)
        font = std::make_unique<TNbBuiltinFont>(cellWidth, FHeightFactor, FBold);
    FFont = std::move(font);
    FFontKey = key;
    return *FFont;
}

std::u16string TNbLinePrinter::ExpandTabs(const std::u16string& S) const
{
    const size_t tabSize = static_cast<size_t>(std::max(FTabSize, 1));
    std::u16string out;
    out.reserve(S.size());
    for (char16_t c : S) {
        if (c == Tab) {
            do
                out += Space;
            while (out.size() % tabSize != 0);
        } else if (c >= Space) {
            out += c;
        }
    }
    return out;
}

void TNbLinePrinter::AddLine(const std::u16string& Line)
{
    const std::u16string s = ExpandTabs(Line);
    const size_t perLine = static_cast<size_t>(FCharsPerLine);
    if (s.size() <= perLine) {
        FLines.push_back(s);
    } else if (FWrap) {
        // Breaks fall at exactly CharsPerLine characters, words or not.
        for (size_t pos = 0; pos < s.size(); pos += perLine)
            FLines.push_back(s.substr(pos, perLine));
    } else {
        FLines.push_back(s.substr(0, perLine));
    }
}

void TNbLinePrinter::Clear()
{
    FLines.clear();
    FCurrent.clear();
}

void TNbLinePrinter::Print(const std::u16string& S)
{
    const std::u16string text = NormaliseBreaks(S);
    size_t start = 0;
    for (size_t lf = text.find(LineFeed); lf != std::u16string::npos; lf = text.find(LineFeed, start)) {
        PrintLn(text.substr(start, lf - start));
        start = lf + 1;
    }
    FCurrent += text.substr(start);
}

void TNbLinePrinter::PrintLn(const std::u16string& S)
{
    const std::u16string line = FCurrent + S;
    FCurrent.clear();
    AddLine(line);
}

void TNbLinePrinter::AddText(const std::u16string& Text)
{
    std::u16string text = NormaliseBreaks(Text);
    if (!text.empty() && text.back() == LineFeed)
        text.pop_back();
    Print(text);
    PrintLn(std::u16string());
}

void TNbLinePrinter::Separator(char16_t Ch)
{
    PrintLn(std::u16string(static_cast<size_t>(FCharsPerLine), Ch));
}

void TNbLinePrinter::Ruler()
{
    std::u16string digits;
    digits.reserve(static_cast<size_t>(FCharsPerLine));
    for (int32_t p = 1; p <= FCharsPerLine; ++p)
        digits += static_cast<char16_t>(u'0' + p % 10);
    PrintLn(digits);
}

void TNbLinePrinter::Center(const std::u16string& S)
{
    PrintLn(Spaces((FCharsPerLine - Length(S)) / 2) + S);
}

void TNbLinePrinter::RightAlign(const std::u16string& S)
{
    PrintLn(Spaces(FCharsPerLine - Length(S)) + S);
}

void TNbLinePrinter::Columns(const std::vector<std::u16string>& Values, const std::vector<int32_t>& Widths)
{
    std::u16string line;
    for (size_t i = 0; i < Values.size(); ++i) {
        const std::u16string& v = Values[i];
        // 64 bits, so that the width -2^31 has a magnitude at all.
        const int64_t w = i < Widths.size() ? Widths[i] : Length(v) + 1;
        const int64_t size = w < 0 ? -w : w;
        CheckedInt32(Length(line) + size, "Zeilenlänge");
        const std::u16string cell = v.substr(0, static_cast<size_t>(std::min(size, Length(v))));
        if (w < 0)
            line += Spaces(size - Length(cell)) + cell;
        else
            line += cell + Spaces(size - Length(cell));
    }
    // Padding at the end of the line prints nothing; it goes, and with it any
    // control characters left there.
    size_t end = line.size();
    while (end > 0 && line[end - 1] <= Space)
        --end;
    line.resize(end);
    PrintLn(line);
}

void TNbLinePrinter::EmptyLines(int32_t Count)
{
    for (int32_t i = 0; i < Count; ++i)
        PrintLn(std::u16string());
}

std::string TNbLinePrinter::FontInfo() const
{
    const TNbFont& font = GetFont();
    std::string info = font.Description();
    if (!FFontName.empty() && dynamic_cast<const TNbBuiltinFont*>(&font)) {
        if (!NbFontProvider)
            info += " (Nimbo.Font.Vcl nicht eingebunden)";
        else if (CellWidth() < MinSystemFontCell)
            info += " (Zelle " + std::to_string(CellWidth()) + " px zu schmal für " + ToUtf8(FFontName) + ")";
    }
    return info;
}

TNbMonoImage TNbLinePrinter::Render() const
{
    const TNbFont& font = GetFont();
    const int32_t cw = font.CellWidth();
    const int32_t ch = font.CellHeight();
    const int32_t lh = LineHeight();

    std::vector<const std::u16string*> lines;
    lines.reserve(FLines.size() + 1);
    for (const std::u16string& line : FLines)
        lines.push_back(&line);
    // The pending line is drawn as it stands: neither wrapped nor cut.
    const std::u16string pending = ExpandTabs(FCurrent);
    if (!FCurrent.empty())
        lines.push_back(&pending);

    const int32_t lineCount = CheckedInt32(static_cast<int64_t>(lines.size()), "Zeilenzahl");
    TNbMonoImage image;
    image.Init(FWidth, std::max(1, CheckedMul(lineCount, lh, "Bildhöhe")), 0);

    // Centre the text block; an odd remainder leaves the extra dot on the right.
    const int64_t xo = (static_cast<int64_t>(FWidth) - static_cast<int64_t>(FCharsPerLine) * cw) / 2;
    const size_t glyphSize = static_cast<size_t>(cw) * static_cast<size_t>(ch);
    for (int32_t k = 0; k < lineCount; ++k) {
        const std::u16string& line = *lines[static_cast<size_t>(k)];
        const int64_t top = static_cast<int64_t>(k) * lh;
        const size_t chars = std::min(line.size(), static_cast<size_t>(FCharsPerLine));
        for (size_t p = 0; p < chars; ++p) {
            if (line[p] == Space)
                continue;
            const std::vector<uint8_t> glyph = font.Glyph(line[p]);
            if (glyph.empty())
                continue;
            if (glyph.size() != glyphSize)
                throw std::out_of_range("Zeichenbild (" + std::to_string(glyph.size()) +
                                        " Punkte) passt nicht zur Zelle " + std::to_string(cw) + " x " +
                                        std::to_string(ch));
            const int64_t left = xo + static_cast<int64_t>(p) * cw;
            for (int32_t gy = 0; gy < ch; ++gy) {
                const int64_t y = top + gy;
                for (int32_t gx = 0; gx < cw; ++gx) {
                    const int64_t x = left + gx;
                    if (glyph[static_cast<size_t>(gy) * cw + gx] == 0 || x < 0 || x >= FWidth)
                        continue;
                    image.Dots[static_cast<size_t>(y * FWidth + x)] = 1;
                }
            }
        }
    }
    return image;
}

TNbMonoImage TNbLinePrinter::TextToMono(const std::u16string& Text, int32_t AWidth, int32_t ACharsPerLine,
                                        const std::u16string& AFontName)
{
    TNbLinePrinter printer(AWidth, ACharsPerLine);
    printer.SetFontName(AFontName);
    printer.AddText(Text);
    return printer.Render();
}
