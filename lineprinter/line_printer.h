#pragma once
// Lays out plain text the way a receipt printer prints it: a fixed number of
// monospaced characters per line, hard breaks, optional wrapping, tab stops,
// and helpers for separators, rulers, centred, right-aligned and columnar
// lines. Lines are collected in memory and rendered to dots in one go.
//
// Lengths and positions count UTF-16 code units.

#include "lineprinter/nb_font.h"
#include "protocol/nimbo_protocol.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TNbLinePrinter {
public:
    // Raises std::invalid_argument when ACharsPerLine does not fit AWidth
    // (see SetCharsPerLine).
    TNbLinePrinter(int32_t AWidth, int32_t ACharsPerLine);
    ~TNbLinePrinter();
    TNbLinePrinter(const TNbLinePrinter&) = delete;
    TNbLinePrinter& operator=(const TNbLinePrinter&) = delete;

    // Completed lines, each wrapped or cut to the characters per line in force
    // when it was added.
    const std::vector<std::u16string>& Lines() const { return FLines; }
    // Completed lines plus the pending partial line, if any.
    int32_t LineCount() const;

    int32_t Width() const { return FWidth; }
    // Raises like SetCharsPerLine when the current characters per line no
    // longer fit; the printer then keeps its previous width.
    void SetWidth(int32_t Value);
    int32_t CharsPerLine() const { return FCharsPerLine; }
    // Every character cell must be at least 3 dots wide. Raises
    // std::invalid_argument "<Value> Zeichen passen nicht auf <Width> px
    // (mindestens 3 px je Zeichen)" and keeps the previous value otherwise.
    void SetCharsPerLine(int32_t Value);

    const std::u16string& FontName() const { return FFontName; }
    void SetFontName(const std::u16string& Value) { FFontName = Value; }
    int32_t HeightFactor() const { return FHeightFactor; }
    void SetHeightFactor(int32_t Value) { FHeightFactor = Value; }
    int32_t FontStretch() const { return FFontStretch; }
    void SetFontStretch(int32_t Value) { FFontStretch = Value; }
    // Blank dot rows below every text line; a negative value counts as 0.
    int32_t LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int32_t Value) { FLineSpacing = Value; }
    // Distance of tab stops in characters; 0 or less counts as 1.
    int32_t TabSize() const { return FTabSize; }
    void SetTabSize(int32_t Value) { FTabSize = Value; }
    bool Bold() const { return FBold; }
    void SetBold(bool Value) { FBold = Value; }
    // Wrap long lines (true) or cut them (false); applies to lines added later.
    bool Wrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }

    int32_t CellWidth() const { return FWidth / FCharsPerLine; }
    int32_t LineHeight() const;

    // Forgets all text; the font stays cached.
    void Clear();
    // Prints text without ending the line; CR LF, CR and LF all break lines.
    void Print(const std::u16string& S);
    // Ends the pending line with S.
    void PrintLn(const std::u16string& S);
    // Prints a whole text so that it ends with a completed line; one line
    // break at its very end does not add an empty line.
    void AddText(const std::u16string& Text);
    void Separator(char16_t Ch);
    // Digits 1..9, 0, 1.. across the whole line, for checking alignment.
    void Ruler();
    void Center(const std::u16string& S);
    void RightAlign(const std::u16string& S);
    // One line of columns. Widths[i] > 0 left-aligns Values[i] in that many
    // characters, < 0 right-aligns it in -Widths[i], 0 hides it; a missing
    // width gives the value's length plus one. Longer values are cut.
    void Columns(const std::vector<std::u16string>& Values, const std::vector<int32_t>& Widths);
    void EmptyLines(int32_t Count);

    // Description of the font in use, with a note when a requested system
    // font could not be used (UTF-8).
    std::string FontInfo() const;
    // Draws every line, the pending one last. The lines stay.
    TNbMonoImage Render() const;

    static TNbMonoImage TextToMono(const std::u16string& Text, int32_t AWidth, int32_t ACharsPerLine,
                                   const std::u16string& AFontName);

private:
    const TNbFont& GetFont() const;
    std::u16string ExpandTabs(const std::u16string& S) const;
    void AddLine(const std::u16string& Line);
    int32_t EffectiveLineSpacing() const;

    std::vector<std::u16string> FLines;
    std::u16string FCurrent;
    int32_t FWidth = 0;
    int32_t FCharsPerLine = 0;
    int32_t FHeightFactor = 2;
    int32_t FLineSpacing = 2;
    int32_t FTabSize = 8;
    bool FBold = false;
    bool FWrap = true;
    std::u16string FFontName;
    int32_t FFontStretch = 1;
    // The font is built on first use and kept while its cache key holds.
    mutable std::unique_ptr<TNbFont> FFont;
    mutable std::u16string FFontKey;
};
