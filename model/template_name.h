#pragma once
// The name of a template file, read without decoding its pictures: a folder
// of hundreds of templates is listed from the first bytes of each file.

#include <QString>

// The label's stored "name", or the file name without its extension when the
// file has none. Raises EModelError ("Keine gültige Etikettendatei") when
// the file cannot be a label, and when it cannot be read. A file that starts
// like a label but is broken further on may still get a name here; loading
// it in full tells.
QString ReadTemplateName(const QString& AFileName);
