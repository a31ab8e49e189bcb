#pragma once
// The German help texts: the overview and one text per command.

#include <QString>

// Command: empty for the overview.
QString CliUsage(const QString& Command);
