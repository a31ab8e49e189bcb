#pragma once
// The whole program behind main: parses the arguments, runs the command and
// turns its outcome into the exit code (0 done, 1 failed, 2 wrong usage).
// Needs a QGuiApplication (rendering and the printer link's event loop).

#include "cli/cli_output.h"

#include <QStringList>

int RunCli(const QStringList& Args, TCliStreams& S);
