#include "help/rtf_builder.h"
#include "help/rtf_document.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Converted at 96 dpi, where 15 twips are one pixel.
struct Converted {
    QTextDocument doc;
    explicit Converted(const QString& rtf) { RtfToDocument(rtf, &doc, 96); }
    QTextBlock Block(int i) const { return doc.findBlockByNumber(i); }
};

QTextCharFormat FormatAt(const QTextBlock& b, int pos)
{
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (pos >= f.position() - b.position() && pos < f.position() - b.position() + f.length())
            return f.charFormat();
    }
    return {};
}

} // namespace

TEST(RtfDocument, KeepsTheLookOfEveryBuilderParagraph)
{
    TRtf r;
    r.H(u"Überschrift"_s);
    r.P(u"Absatz"_s);
    r.B(u"Punkt"_s);
    r.K(u"Strg + S"_s, u"speichern"_s);
    r.Tip(u"Tipp: leise"_s);
    Converted c(r.Text());
    ASSERT_EQ(c.doc.blockCount(), 5) << "no empty paragraph at the end";

    struct Case {
        int block;
        QString text;
        int pos;
        bool bold, italic;
        double pt;
        QColor colour;
    } cases[] = {
        {0, u"Überschrift"_s, 0, true, false, 13, QColor(0, 120, 215)},
        {1, u"Absatz"_s, 0, false, false, 10, QColor(32, 32, 32)},
        {2, u"•\tPunkt"_s, 3, false, false, 10, QColor(32, 32, 32)},
        {3, u"Strg + S\tspeichern"_s, 0, true, false, 10, QColor(32, 32, 32)},
        {3, u"Strg + S\tspeichern"_s, 10, false, false, 10, QColor(32, 32, 32)},
        {4, u"Tipp: leise"_s, 0, false, true, 10, QColor(110, 110, 110)},
    };
    for (const Case& k : cases) {
        const QTextBlock b = c.Block(k.block);
        EXPECT_EQ(b.text(), k.text) << k.block;
        const QTextCharFormat f = FormatAt(b, k.pos);
        EXPECT_EQ(f.fontWeight() >= QFont::Bold, k.bold) << k.block << "@" << k.pos;
        EXPECT_EQ(f.fontItalic(), k.italic) << k.block << "@" << k.pos;
        EXPECT_DOUBLE_EQ(f.fontPointSize(), k.pt) << k.block << "@" << k.pos;
        EXPECT_EQ(f.foreground().color(), k.colour) << k.block << "@" << k.pos;
        EXPECT_EQ(f.fontFamilies().toStringList().value(0), u"Segoe UI"_s) << "from the font table";
    }
}

TEST(RtfDocument, ParagraphSpacingIndentsAndTabStopsBecomePixels)
{
    TRtf r;
    r.H(u"H"_s);
    r.B(u"B"_s);
    r.K(u"K"_s, u"D"_s);
    r.Tip(u"T"_s);
    Converted c(r.Text());
    const QTextBlockFormat h = c.Block(0).blockFormat();
    EXPECT_NEAR(h.topMargin(), 200 / 15.0, 1e-9);
    EXPECT_NEAR(h.bottomMargin(), 80 / 15.0, 1e-9);

    const QTextBlockFormat b = c.Block(1).blockFormat();
    EXPECT_NEAR(b.leftMargin(), 420 / 15.0, 1e-9);
    EXPECT_NEAR(b.textIndent(), -260 / 15.0, 1e-9);
    // The stop at the hanging indent, counted from where the first line starts,
    // so the text after the bullet lines up with the wrapped lines.
    ASSERT_EQ(b.tabPositions().size(), 1);
    EXPECT_NEAR(b.leftMargin() + b.textIndent() + b.tabPositions()[0].position, b.leftMargin(), 1e-9);

    const QTextBlockFormat k = c.Block(2).blockFormat();
    ASSERT_EQ(k.tabPositions().size(), 1);
    EXPECT_NEAR(k.tabPositions()[0].position, 2400 / 15.0, 1e-9);
    EXPECT_EQ(k.leftMargin(), 0) << "\\pard resets the indent of the bullet before";

    const QTextBlockFormat t = c.Block(3).blockFormat();
    EXPECT_NEAR(t.leftMargin(), 200 / 15.0, 1e-9);
    EXPECT_NEAR(t.topMargin(), 80 / 15.0, 1e-9);
    EXPECT_NEAR(t.bottomMargin(), 120 / 15.0, 1e-9);
}

TEST(RtfDocument, EscapedTextComesBackUnchanged)
{
    const QString texts[] = {
        u"Klammern {NR} und C:\\Pfad"_s,
        u"Umlaute äöüß, € und – Gedankenstrich"_s,
        u"Zeile eins\nZeile zwei"_s,
        u"Gesicht 😀 und \uFFFD"_s,
        u"\"Zitat\" ; * ? ~"_s,
    };
    for (const QString& s : texts) {
        TRtf r;
        r.P(s);
        Converted c(r.Text());
        ASSERT_EQ(c.doc.blockCount(), 1) << s.toStdString();
        QString expected = s;
        expected.replace(u'\n', QChar::LineSeparator); // a line break inside the paragraph
        EXPECT_EQ(c.Block(0).text(), expected) << s.toStdString();
    }
}

TEST(RtfDocument, ReadsRtfBeyondWhatTheBuilderWrites)
{
    struct Case {
        const char* name;
        QString rtf;
        QString text;
    } cases[] = {
        {"negative unicode value", uR"({\rtf1 \u-4064?x\par })"_s, u"\uF020x"_s},
        {"two fallback characters", uR"({\rtf1\uc2 \u228??a\par })"_s, u"äa"_s},
        {"hex escape", uR"({\rtf1 \'e4\par })"_s, u"ä"_s},
        {"ignorable destination", uR"({\rtf1 a{\*\generator Foo;}b\par })"_s, u"ab"_s},
        {"unknown control word", uR"({\rtf1 a\foo12 b\par })"_s, u"ab"_s},
        {"group keeps its formatting to itself", uR"({\rtf1 a{\b b}c\par })"_s, u"abc"_s},
        {"line breaks in the source", u"{\\rtf1 a\r\nb\\par }"_s, u"ab"_s},
        {"missing closing brace", uR"({\rtf1 a\par b)"_s, u"a\u2029b"_s},
        {"stray closing brace", uR"(}}{\rtf1 a\par })"_s, u"a"_s},
        {"empty", QString(), QString()},
        {"trailing backslash", uR"({\rtf1 a\)"_s, u"a"_s},
        {"huge parameter", uR"({\rtf1\fs99999999999999999999 a\par })"_s, u"a"_s},
    };
    for (const Case& k : cases) {
        Converted c(k.rtf);
        EXPECT_EQ(c.doc.toRawText(), k.text) << k.name;
    }
}

TEST(RtfDocument, GroupFormattingEndsWithTheGroup)
{
    Converted c(uR"({\rtf1{\colortbl;\red255\green0\blue0;}a{\b\cf1 b}c\par })"_s);
    const QTextBlock b = c.Block(0);
    EXPECT_LT(FormatAt(b, 0).fontWeight(), QFont::Bold);
    EXPECT_GE(FormatAt(b, 1).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(b, 1).foreground().color(), QColor(255, 0, 0));
    EXPECT_LT(FormatAt(b, 2).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(b, 2).foreground().style(), Qt::NoBrush) << "automatic colour";
}

TEST(RtfDocument, WebAddressesBecomeLinks)
{
    TRtf r;
    r.P(u"Mehr unter https://www.mirvo.de/pellwerk. Oder http://x.de/a?b=1"_s);
    Converted c(r.Text());
    LinkWebAddresses(&c.doc);
    const QTextBlock b = c.Block(0);
    const int first = b.text().indexOf(u"https"_s);
    const int second = b.text().indexOf(u"http://"_s);
    EXPECT_EQ(FormatAt(b, first).anchorHref(), u"https://www.mirvo.de/pellwerk"_s) << "the full stop is not part of it";
    EXPECT_FALSE(FormatAt(b, b.text().indexOf(u". Oder"_s)).isAnchor());
    EXPECT_EQ(FormatAt(b, second).anchorHref(), u"http://x.de/a?b=1"_s);
    EXPECT_FALSE(FormatAt(b, 0).isAnchor());
}
