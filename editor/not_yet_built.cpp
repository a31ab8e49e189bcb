// Commands of the main window whose parts are still being built. Each one
// tells the user so in the status line; the file disappears when the last of
// them has its real implementation.
#include "editor/label_main_form.h"
#include "model/label_doc.h"

namespace {
const QString NotYet = QStringLiteral("Diese Funktion ist in dieser Version noch nicht verfügbar.");
}

