#pragma once
// Template names and the six templates written into an empty templates folder.

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
