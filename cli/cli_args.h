#pragma once
// The command line: a command, its options and its plain arguments. Each
// command accepts only its own options; anything else is a usage error
// (ECliUsage) with a German message.
//
// Forms: "--name value", "--name=value", "-o value"; a lone "-" is a plain
// argument; "--" ends the options, so a text may begin with a dash.

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

struct TCliArgs {
    QString Command;                       // empty: none given
    QStringList Plain;                     // the plain arguments in order
    std::map<QString, QString> Values;     // option name (with dashes) -> value
    std::map<QString, bool> Switches;      // options without a value that were given
    bool Help = false;

    bool Has(const QString& Name) const;
    std::optional<QString> Value(const QString& Name) const;
    // The value as an integer within Min..Max, or Default when the option is
    // missing. Raises ECliUsage naming the option and the range otherwise.
    int Int(const QString& Name, int Min, int Max, int Default) const;
    std::optional<int> OptionalInt(const QString& Name, int Min, int Max) const;
};

// Commands the program knows, in the order the overview lists them.
const QStringList& CliCommands();

// Parses the arguments after the program name. "--help" or "-h" anywhere
// sets Help; "help BEFEHL" becomes BEFEHL with Help. Raises ECliUsage for an
// unknown command or option, a missing or repeated value.
TCliArgs ParseCliArgs(const QStringList& Args);

// Raises ECliUsage unless the command got between Min and Max plain
// arguments; What names the missing one ("Etikettendatei").
void RequirePlainCount(const TCliArgs& A, int Min, int Max, const QString& What);
