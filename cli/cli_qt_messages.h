#pragma once
// Qt's own messages (no runtime folder when run as a service or over ssh,
// font substitutions, a missing session bus) are notes for developers; a
// command-line run shows only its own German messages on standard error, so
// scripts and file managers can take anything there as a real problem.

// Installs the filter before the application object exists. Qt's critical
// and fatal messages still pass. With QT_LOGGING_RULES set, a developer asks
// for Qt's messages and gets all of them.
void QuietQtMessages();
