#include "editor/props_text.h"

#include <QComboBox>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

// The document keeps line breaks as CR LF; the text field works with LF.
QString FieldText(const QString& DocText)
{
    QString t = DocText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QString DocText(const QString& FieldText)
{
    QString t = FieldText;
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

// The text box's contents as typed. toPlainText() would turn a no-break
// space into a plain one and a line separator into a line break, so "9,99 €"
// could not be kept together; only the paragraph breaks become line feeds.
QString MemoRawText(const QPlainTextEdit* Memo)
{
    QStringList lines;
    for (QTextBlock b = Memo->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(u'\n');
}

// Where a font of this name stands in the font box: the family itself, or,
// when it is not installed (a label from Windows asks for "Arial"), the
// family the font system draws in its place. The element keeps its name.
int FontBoxIndex(const QComboBox* Box, const QString& FontName)
{
    const int i = Box->findText(FontName, Qt::MatchFixedString);
    if (i >= 0)
        return i;
    return Box->findText(QFontInfo(QFont(FontName)).family(), Qt::MatchFixedString);
}

