#include "help/rtf_document.h"

#include "editor/controls/ui_font.h"

#include <QGuiApplication>
#include <QMap>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum class TDest { Text, FontTable, ColorTable, Skip };

// Everything RTF scopes to a group: character and paragraph formatting.
struct TRtfState {
    TDest Dest = TDest::Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24;
    int Color = 0; // 0 = automatic
    int Font = 0;
    int UnicodeSkip = 1;
    // paragraph, in twips
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LeftIndent = 0;
    int RightIndent = 0;
    int FirstIndent = 0;
    Qt::Alignment Align = Qt::AlignLeft;
    std::vector<int> Tabs;

    void ResetParagraph()
    {
        SpaceBefore = SpaceAfter = LeftIndent = RightIndent = FirstIndent = 0;
        Align = Qt::AlignLeft;
        Tabs.clear();
    }
    void ResetCharacter()
    {
        Bold = Italic = Underline = false;
        HalfPoints = 24;
        Color = 0;
        Font = 0;
    }
};

class TRtfReader {
public:
    TRtfReader(const QString& rtf, QTextDocument* doc, double dpi)
        : FIn(rtf), FDoc(doc), FCursor(doc), FDpi(dpi)
    {
    }

    void Run();

private:
    void ControlWord(const QString& word, bool hasParam, int param);
    void ControlSymbol(QChar c);
    void AddText(const QString& s);
    void EndParagraph();
    void EnsureBlock();
    QTextCharFormat CharFormat() const;
    QTextBlockFormat BlockFormat() const;
    // No length reaches beyond the largest RTF page, 22 inches: Qt's layout
    // counts in 26.6 fixed point and spins for minutes on margins of millions
    // of pixels, which a parameter of up to a billion twips would give.
    double Px(double twips) const { return std::clamp(twips, -31680.0, 31680.0) * FDpi / 1440.0; }

    const QString FIn;
    QTextDocument* FDoc;
    QTextCursor FCursor;
    const double FDpi;
    int FPos = 0;
    TRtfState FState;
    std::vector<TRtfState> FStack;
    QMap<int, QString> FFonts;
    QVector<QColor> FColors;    // index 0 may be the "automatic" entry
    int FRed = -1, FGreen = -1, FBlue = -1;
    QString FFontName;
    int FSkipChars = 0;         // fallback characters still to drop after \u
    bool FGroupJustOpened = false;
    bool FBreakPending = false; // the last paragraph ended; the next text starts a block
    bool FAnyText = false;
};

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

void TRtfReader::Run()
{
    FDoc->clear();
    FCursor = QTextCursor(FDoc);
    QString run;
    auto flush = [&] {
        if (!run.isEmpty()) {
            AddText(run);
            run.clear();
        }
    };
    const int n = FIn.size();
    while (FPos < n) {
        const QChar c = FIn.at(FPos);
        if (c == u'{') {
            flush();
            FStack.push_back(FState);
            FGroupJustOpened = true;
            FSkipChars = 0;
            ++FPos;
            continue;
        }
        if (c == u'}') {
            flush();
            if (FState.Dest == TDest::ColorTable && (FRed >= 0 || FGreen >= 0 || FBlue >= 0))
                FColors.push_back(QColor(std::max(FRed, 0), std::max(FGreen, 0), std::max(FBlue, 0)));
            if (!FStack.empty()) {
                FState = FStack.back();
                FStack.pop_back();
            }
            FGroupJustOpened = false;
            FSkipChars = 0;
            ++FPos;
            continue;
        }
        if (c == u'\\') {
            flush();
            ++FPos;
            if (FPos >= n)
                break;
            const QChar d = FIn.at(FPos);
            if (IsAsciiLetter(d)) {
                const int start = FPos;
                while (FPos < n && IsAsciiLetter(FIn.at(FPos)))
                    ++FPos;
                const QString word = FIn.mid(start, FPos - start);
                bool hasParam = false;
                long long param = 0;
                bool negative = false;
                if (FPos < n && FIn.at(FPos) == u'-' && FPos + 1 < n && FIn.at(FPos + 1).isDigit()) {
                    negative = true;
                    ++FPos;
                }
                while (FPos < n && FIn.at(FPos).isDigit()) {
                    hasParam = true;
                    // Parameters beyond any sensible size are clamped, never overflowed.
                    param = std::min<long long>(param * 10 + FIn.at(FPos).digitValue(), 1'000'000'000LL);
                    ++FPos;
                }
                if (FPos < n && FIn.at(FPos) == u' ')
                    ++FPos; // the delimiter belongs to the control word
                ControlWord(word, hasParam, static_cast<int>(negative ? -param : param));
            } else {
                ++FPos;
                ControlSymbol(d);
            }
            FGroupJustOpened = false;
            continue;
        }
        ++FPos;
        FGroupJustOpened = false;
        if (c == u'\r' || c == u'\n')
            continue; // line breaks in the source are not text
        if (FSkipChars > 0) {
            --FSkipChars;
            continue;
        }
        if (FState.Dest == TDest::ColorTable) {
            if (c == u';') {
                if (FRed < 0 && FGreen < 0 && FBlue < 0)
                    FColors.push_back(QColor()); // the automatic colour
                else
                    FColors.push_back(QColor(std::max(FRed, 0), std::max(FGreen, 0), std::max(FBlue, 0)));
                FRed = FGreen = FBlue = -1;
            }
            continue;
        }
        if (FState.Dest == TDest::FontTable) {
            if (c == u';') {
                FFonts.insert(FState.Font, FFontName.trimmed());
                FFontName.clear();
            } else {
                FFontName += c;
            }
            continue;
        }
        if (FState.Dest == TDest::Skip)
            continue;
        run += c;
    }
    flush();
    if (!FBreakPending && FAnyText)
        FCursor.setBlockFormat(BlockFormat());
}

void TRtfReader::ControlSymbol(QChar c)
{
    if (c == u'*') {
        if (FGroupJustOpened)
            FState.Dest = TDest::Skip;
        return;
    }
    QString text;
    if (c == u'\\' || c == u'{' || c == u'}')
        text = c;
    else if (c == u'~')
        text = QChar(0x00A0);
    else if (c == u'_')
        text = QChar(0x2011);
    else if (c == u'\n' || c == u'\r') {
        if (FState.Dest == TDest::Text)
            EndParagraph();
        return;
    } else if (c == u'\'') {
        // \'hh: a byte of the ANSI code page; Latin-1 covers what it is used for here
        bool ok = false;
        const int v = FIn.mid(FPos, 2).toInt(&ok, 16);
        if (FPos + 2 <= FIn.size() && ok) {
            FPos += 2;
            text = QChar(v);
        }
    }
    if (text.isEmpty())
        return;
    if (FSkipChars > 0) {
        --FSkipChars;
        return;
    }
    if (FState.Dest == TDest::Text)
        AddText(text);
    else if (FState.Dest == TDest::FontTable)
        FFontName += text;
}

void TRtfReader::ControlWord(const QString& w, bool hasParam, int param)
{
    if (FSkipChars > 0 && w != QLatin1String("u")) {
        --FSkipChars; // a control word can stand as the fallback of \u
        return;
    }
    const int on = hasParam ? param : 1;
    if (w == QLatin1String("fonttbl"))
        FState.Dest = TDest::FontTable;
    else if (w == QLatin1String("colortbl")) {
        FState.Dest = TDest::ColorTable;
        FRed = FGreen = FBlue = -1;
    } else if (w == QLatin1String("stylesheet") || w == QLatin1String("info") || w == QLatin1String("pict")
               || w == QLatin1String("header") || w == QLatin1String("footer"))
        FState.Dest = TDest::Skip;
    else if (w == QLatin1String("red"))
        FRed = std::clamp(param, 0, 255);
    else if (w == QLatin1String("green"))
        FGreen = std::clamp(param, 0, 255);
    else if (w == QLatin1String("blue"))
        FBlue = std::clamp(param, 0, 255);
    else if (FState.Dest == TDest::Skip)
        return;
    else if (w == QLatin1String("f"))
        FState.Font = param;
    else if (FState.Dest != TDest::Text)
        return;
    else if (w == QLatin1String("par"))
        EndParagraph();
    else if (w == QLatin1String("pard"))
        FState.ResetParagraph();
    else if (w == QLatin1String("plain"))
        FState.ResetCharacter();
    else if (w == QLatin1String("b"))
        FState.Bold = on != 0;
    else if (w == QLatin1String("i"))
        FState.Italic = on != 0;
    else if (w == QLatin1String("ul"))
        FState.Underline = on != 0;
    else if (w == QLatin1String("ulnone"))
        FState.Underline = false;
    else if (w == QLatin1String("fs"))
        FState.HalfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
    else if (w == QLatin1String("cf"))
        FState.Color = param;
    else if (w == QLatin1String("sb"))
        FState.SpaceBefore = param;
    else if (w == QLatin1String("sa"))
        FState.SpaceAfter = param;
    else if (w == QLatin1String("li"))
        FState.LeftIndent = param;
    else if (w == QLatin1String("ri"))
        FState.RightIndent = param;
    else if (w == QLatin1String("fi"))
        FState.FirstIndent = param;
    else if (w == QLatin1String("tx"))
        FState.Tabs.push_back(param);
    else if (w == QLatin1String("ql"))
        FState.Align = Qt::AlignLeft;
    else if (w == QLatin1String("qc"))
        FState.Align = Qt::AlignHCenter;
    else if (w == QLatin1String("qr"))
        FState.Align = Qt::AlignRight;
    else if (w == QLatin1String("qj"))
        FState.Align = Qt::AlignJustify;
    else if (w == QLatin1String("uc"))
        FState.UnicodeSkip = std::max(0, param);
    else if (w == QLatin1String("u")) {
        // The value is a UTF-16 code unit, written signed or unsigned; a pair of
        // escapes for a surrogate pair joins up again in the QString.
        AddText(QString(QChar(static_cast<char16_t>(param & 0xFFFF))));
        FSkipChars = FState.UnicodeSkip;
    } else if (w == QLatin1String("line"))
        AddText(QString(QChar::LineSeparator));
    else if (w == QLatin1String("tab"))
        AddText(QStringLiteral("\t"));
    else if (w == QLatin1String("bullet"))
        AddText(QString(QChar(0x2022)));
    else if (w == QLatin1String("endash"))
        AddText(QString(QChar(0x2013)));
    else if (w == QLatin1String("emdash"))
        AddText(QString(QChar(0x2014)));
    else if (w == QLatin1String("lquote"))
        AddText(QString(QChar(0x2018)));
    else if (w == QLatin1String("rquote"))
        AddText(QString(QChar(0x2019)));
    else if (w == QLatin1String("ldblquote"))
        AddText(QString(QChar(0x201C)));
    else if (w == QLatin1String("rdblquote"))
        AddText(QString(QChar(0x201D)));
    // everything else (\rtf1, \ansi, \deff0, \viewkind4 ...) does not change the look
}

QTextCharFormat TRtfReader::CharFormat() const
{
    QTextCharFormat f;
    QStringList families;
    const QString name = FFonts.value(FState.Font);
    if (!name.isEmpty())
        families << name;
    // The document's font may be missing here ("Segoe UI" on Linux): fall back
    // to the window font's family rather than to whatever the system picks.
    families << UiFontFamily();
    f.setFontFamilies(families);
    f.setFontPointSize(FState.HalfPoints / 2.0);
    f.setFontWeight(FState.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(FState.Italic);
    f.setFontUnderline(FState.Underline);
    if (FState.Color > 0 && FState.Color < FColors.size() && FColors[FState.Color].isValid())
        f.setForeground(FColors[FState.Color]);
    return f;
}

QTextBlockFormat TRtfReader::BlockFormat() const
{
    QTextBlockFormat b;
    b.setTopMargin(Px(FState.SpaceBefore));
    b.setBottomMargin(Px(FState.SpaceAfter));
    b.setLeftMargin(Px(FState.LeftIndent));
    b.setRightMargin(Px(FState.RightIndent));
    b.setTextIndent(Px(FState.FirstIndent));
    b.setAlignment(FState.Align);
    // RTF measures tab stops from the paragraph's left edge, Qt from where the
    // line starts; the first line starts at the left plus first-line indent.
    // (A tab after a \line in a hanging paragraph lands that far off; the help
    // text has none.)
    QList<QTextOption::Tab> tabs;
    // Indents and stops each reach a billion twips; their differences do
    // not fit an int.
    const long long firstLineStart = static_cast<long long>(FState.LeftIndent) + FState.FirstIndent;
    for (int t : FState.Tabs) {
        if (t > firstLineStart)
            tabs.append(QTextOption::Tab(Px(double(t - firstLineStart)), QTextOption::LeftTab));
    }
    b.setTabPositions(tabs);
    return b;
}

void TRtfReader::EnsureBlock()
{
    if (FBreakPending) {
        FCursor.insertBlock();
        FBreakPending = false;
    }
}

void TRtfReader::AddText(const QString& s)
{
    if (FState.Dest != TDest::Text)
        return;
    EnsureBlock();
    FCursor.insertText(s, CharFormat());
    FAnyText = true;
}

void TRtfReader::EndParagraph()
{
    EnsureBlock();
    FCursor.setBlockFormat(BlockFormat());
    FCursor.setBlockCharFormat(CharFormat()); // the height of an empty paragraph
    FBreakPending = true;
    FAnyText = true;
}

double ScreenDpi()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return s->logicalDotsPerInchY();
    return 96.0;
}

} // namespace

void RtfToDocument(const QString& rtf, QTextDocument* doc, double dpi)
{
    TRtfReader(rtf, doc, dpi > 0 ? dpi : ScreenDpi()).Run();
}

void LinkWebAddresses(QTextDocument* doc)
{
    static const QRegularExpression address(QStringLiteral("https?://[^\\s<>\"]*[^\\s<>\".,;:!?)]"));
    QTextCursor found = doc->find(address);
    while (!found.isNull()) {
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(found.selectedText());
        link.setFontUnderline(true);
        link.setForeground(QColor(0, 120, 215));
        found.mergeCharFormat(link);
        found = doc->find(address, found);
    }
}
