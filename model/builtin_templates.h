#pragma once
// Template names and the six templates written into an empty templates folder.

#include "model/label_doc.h"

#include <QString>

// The extension of label files.
inline const QString kLabelFileExt = QStringLiteral(".pellwerk");

// The file name stem for a label name: trimmed of characters up to U+0020 at
// both ends, the nine characters \ / : * ? " < > | replaced by "_", and
// "Etikett" when nothing is left.
QString SafeFileName(const QString& Name);

// Writes the six built-in templates into folder Dir, replacing files of the
// same names. Raises EModelError when a file cannot be written; templates
// written before it stay on disk.
void CreateBuiltinTemplates(const QString& Dir);

// Appends a text element with the defaults of a new element and these
// values, on top of the others; used for the built-in templates and the test
// label of the printer setup.
TLabelElement* AddTextElement(TLabelDoc& Doc, int32_t X, int32_t Y, int32_t W, int32_t H, const QString& Text,
                              int32_t FontSize, bool Bold, TLblAlign Align);
