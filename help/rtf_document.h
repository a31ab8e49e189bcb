#pragma once
// Shows RTF in Qt's rich-text views, which read no RTF themselves. Understands
// what the help builder writes: paragraphs with space before and after, left
// and first-line indents, tab stops and alignment; bold, italic, underline,
// size, font and colour table; \line, \tab, \bullet and Unicode escapes.
// Anything else is skipped: unknown control words are ignored and "{\*...}"
// groups dropped, so a richer RTF still shows its text.
#include <QString>

class QTextDocument;

// Replaces the content of `doc` with the RTF text `rtf`. Lengths given in
// twips become pixels at `dpi` (0: the primary screen's logical DPI, the one
// font point sizes are laid out with).
void RtfToDocument(const QString& rtf, QTextDocument* doc, double dpi = 0);

// Turns every "http://" or "https://" address in `doc` into a link to itself.
void LinkWebAddresses(QTextDocument* doc);
