#pragma once
// The quick pass over the templates folder: every "*.pellwerk" file directly
// in it (hidden ones too: a name typed with a leading dot is still a template
// the user saved), sorted by comparing the paths code unit by code unit,
// case-sensitively ("B" before "a", umlauts last), each with its stored name.
// Files that cannot be labels are left out. Safe on any thread.

#include "editor/template_list_model.h"

#include <vector>

std::vector<TTemplateEntry> ScanTemplateFolder(const QString& Dir);
