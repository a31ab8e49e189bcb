#pragma once
// Builds the help pages as small RTF documents. The text is pure 7-bit ASCII:
// everything from U+0080 up is written as an RTF Unicode escape.
#include <QString>

// RTF form of a plain text: line feed -> "\line ", carriage return dropped,
// "\", "{" and "}" escaped with a backslash, code units from U+0080 as
// "\u<decimal>?" (unsigned, one escape per UTF-16 code unit).
QString RtfEscape(const QString& S);

class TRtf {
public:
    TRtf(); // writes the document frame: font table, colour table, body style

    void H(const QString& S);                        // heading: 13 pt, bold, blue
    void P(const QString& S);                        // paragraph
    void B(const QString& S);                        // bullet item, hanging indent
    void K(const QString& Key, const QString& Desc); // key in bold, description at a tab stop
    void Tip(const QString& S);                      // indented gray italic tip

    // The document so far, closed.
    QString Text() const;

private:
    QString FSB;
};
