// Any UTF-16 text (lone surrogates included) through the help's RTF
// escaping: the result is 7-bit ASCII, undoing the escapes gives the text
// back (carriage returns dropped), and a page built from it shows that text
// once the converter has read it.

#include "fuzz_support.h"

#include "help/rtf_builder.h"
#include "help/rtf_document.h"

#include <QTextDocument>

#include <cstdint>

namespace {

// The inverse of the escaping, for the four forms it writes.
QString Unescape(const QString& R)
{
    QString Out;
    qsizetype I = 0;
    while (I < R.size()) {
        if (R[I] != u'\\') {
            Out += R[I++];
            continue;
        }
        if (R.mid(I, 6) == QLatin1String("\\line ")) {
            Out += u'\n';
            I += 6;
        } else if (I + 1 < R.size() && (R[I + 1] == u'\\' || R[I + 1] == u'{' || R[I + 1] == u'}')) {
            Out += R[I + 1];
            I += 2;
        } else if (I + 1 < R.size() && R[I + 1] == u'u') {
            const qsizetype End = R.indexOf(u'?', I);
            bool Ok = false;
            const uint V = R.mid(I + 2, End - I - 2).toUInt(&Ok);
            if (End < 0 || !Ok || V < 0x80 || V > 0xFFFF)
                return QStringLiteral("<bad \\u escape at %1>").arg(I);
            Out += QChar(char16_t(V));
            I = End + 1;
        } else {
            return QStringLiteral("<stray backslash at %1>").arg(I);
        }
    }
    return Out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    QString S;
    for (size_t I = 0; I + 1 < Size; I += 2)
        S += QChar(char16_t(Data[I] | (Data[I + 1] << 8)));
    QString NoCr = S;
    NoCr.remove(u'\r');

    const QString Escaped = RtfEscape(S);
    for (const QChar C : Escaped)
        if (C.unicode() >= 0x80)
            FuzzFail("escaped text is 7-bit ASCII", QString(), Escaped);
    const QString Back = Unescape(Escaped);
    if (Back != NoCr)
        FuzzFail("escapes undo to the text", NoCr, Back);

    // The converter shows a paragraph's text; a line feed becomes a line
    // break. Qt's text document keeps U+FDD0 and U+FDD1 for the edges of its
    // frames and starts a new paragraph where text holds them.
    TRtf Page;
    Page.P(S);
    QTextDocument Doc;
    RtfToDocument(Page.Text(), &Doc, 96);
    QString Expected = NoCr;
    Expected.replace(u'\n', QChar::LineSeparator);
    Expected.replace(QChar(0xFDD0), QChar::ParagraphSeparator);
    Expected.replace(QChar(0xFDD1), QChar::ParagraphSeparator);
    QString Shown = Doc.toRawText();
    if (Shown != Expected)
        FuzzFail("a built page shows its text", Expected, Shown);
    return 0;
}
