#pragma once
// The editor's command line: at most one label file to open. Qt has taken
// its own options (-platform, -style …) out of the list already.

#include <QString>
#include <QStringList>

struct TStartArgs {
    QString File;      // absolute path of the label to open; empty: the last label
    bool Help = false;
    bool Version = false;
    QString Error;     // German message of a wrong command line; empty when fine
};

// Args without the program name. A "file://" address (as some file managers
// pass) becomes its local path; a relative path is taken from the current
// folder, because a running editor that receives it has another one.
TStartArgs ParseStartArgs(const QStringList& Args);

// The German text of "pellwerk --help".
QString StartUsage();
