#include "help/help_pages.h"
#include "help/rtf_builder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
const QString kFrame = uR"({\rtf1\ansi\deff0{\fonttbl{\f0 Segoe UI;}})"
                       uR"({\colortbl;\red32\green32\blue32;\red0\green120\blue215;\red110\green110\blue110;})"
                       uR"(\viewkind4\uc1\f0\fs20\cf1 )"_s;
}

TEST(RtfEscape, WritesControlCharactersAndNonAsciiAsEscapes)
{
    struct Case {
        QString in;
        QString out;
    } cases[] = {
        {u"Hallo"_s, u"Hallo"_s},
        {u"a\nb"_s, uR"(a\line b)"_s},
        {u"a\r\nb"_s, uR"(a\line b)"_s},
        {u"{NR}"_s, uR"(\{NR\})"_s},
        {u"C:\\temp"_s, uR"(C:\\temp)"_s},
        {u"\u007F~"_s, u"\u007F~"_s},
        {u"ä"_s, uR"(\u228?)"_s},
        {u"€"_s, uR"(\u8364?)"_s},
        {u"–"_s, uR"(\u8211?)"_s},
        {u"\u0080"_s, uR"(\u128?)"_s},
        {QString(QChar(0xFFFF)), uR"(\u65535?)"_s},
        {u"😀"_s, uR"(\u55357?\u56832?)"_s}, // one escape per UTF-16 code unit
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfEscape(c.in), c.out) << c.in.toStdString();
}

TEST(Rtf, EachOperationAppendsItsFormattedParagraph)
{
    struct Case {
        const char* name;
        void (*fill)(TRtf&);
        QString body;
    } cases[] = {
        {"P", [](TRtf& r) { r.P(u"Hallo"_s); }, uR"(\pard\sa120 Hallo\par )"_s},
        {"H", [](TRtf& r) { r.H(u"Über"_s); }, uR"(\pard\sb200\sa80\cf2\b\fs26 \u220?ber\b0\fs20\cf1\par )"_s},
        {"B", [](TRtf& r) { r.B(u"Punkt"_s); }, uR"(\pard\fi-260\li420\tx420\sa50 \bullet\tab Punkt\par )"_s},
        {"K", [](TRtf& r) { r.K(u"{NR}"_s, u"Nummer"_s); },
         uR"(\pard\tx2400\sa50 \b \{NR\}\b0\tab Nummer\par )"_s},
        {"Tip", [](TRtf& r) { r.Tip(u"Tipp"_s); }, uR"(\pard\sb80\sa120\li200\cf3\i Tipp\i0\cf1\par )"_s},
        {"none", [](TRtf&) {}, QString()},
    };
    for (const Case& c : cases) {
        TRtf r;
        c.fill(r);
        EXPECT_EQ(r.Text(), kFrame + c.body + u"}"_s) << c.name;
        EXPECT_EQ(r.Text(), r.Text()) << c.name << ": Text does not change the document";
    }
}

TEST(Rtf, OperationsAppendInOrder)
{
    TRtf r;
    r.H(u"A"_s);
    r.P(u"B"_s);
    const QString t = r.Text();
    EXPECT_LT(t.indexOf(u"A\\b0"_s), t.indexOf(u"\\pard\\sa120 B"_s));
    EXPECT_TRUE(t.endsWith(u"B\\par }"_s));
}

TEST(HelpPages, AreFivePagesOfPureAsciiRtf)
{
    const std::vector<THelpPage> pages = BuildHelpPages();
    ASSERT_EQ(pages.size(), 5u);
    const QString titles[] = {u"Erste Schritte"_s, u"Bedienung"_s, u"Tastenkürzel"_s, u"Drucker & Tipps"_s,
                              u"Lizenz"_s};
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].Title, titles[i]);
        EXPECT_TRUE(pages[i].Rtf.startsWith(kFrame)) << i;
        EXPECT_TRUE(pages[i].Rtf.endsWith(u"\\par }"_s)) << i;
        for (QChar c : pages[i].Rtf)
            ASSERT_LT(c.unicode(), 0x80) << "page " << i;
    }
}
