#pragma once
// Text of the properties panel's fields and of the document, converted both
// ways, and where a font stands in the font box.

#include <QString>

class QComboBox;
class QPlainTextEdit;

// The document keeps line breaks as CR LF; the text field works with LF.
QString FieldText(const QString& DocText);
QString DocText(const QString& FieldText);
// The text box's contents as typed, with no-break spaces kept.
QString MemoRawText(const QPlainTextEdit* Memo);
// Index of FontName in the font box, or of the family drawn in its place.
int FontBoxIndex(const QComboBox* Box, const QString& FontName);
