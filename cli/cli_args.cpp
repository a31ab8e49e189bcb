#include "cli/cli_args.h"

#include "cli/cli_error.h"

#include <set>

namespace {

struct TOptionSpec {
    QString Name;
    bool TakesValue;
};

const std::vector<TOptionSpec>& AllOptions()
{
    static const std::vector<TOptionSpec> options = {
        {"-o", true},           {"--output", true},       {"--copies", true},      {"--gap-mm", true},
        {"--screen", false},    {"--now", true},          {"--protocol", true},    {"--name", true},
        {"--seconds", true},    {"--printer", true},      {"--virtual-out", true}, {"--chars-per-line", true},
        {"--energy", true},     {"--density", true},      {"--quality", true},     {"--speed", true},
        {"--feed-mm", true},    {"--packet-size", true},  {"--pause-ms", true},    {"--test-print", false},
        {"--page", true},       {"--fit", true},          {"--dither", false},     {"--no-dither", false},
        {"--length-mm", true},
        {"--data", true},       {"--records", true},      {"--each", false},       {"--job-mm", true},
    };
    return options;
}

// The options each command accepts.
const std::set<QString>& CommandOptions(const QString& Command)
{
    static const std::map<QString, std::set<QString>> table = {
        {"render",
         {"-o", "--output", "--copies", "--gap-mm", "--screen", "--now", "--page", "--fit", "--dither", "--no-dither",
          "--length-mm", "--data", "--records", "--each"}},
        {"job",
         {"-o", "--output", "--copies", "--gap-mm", "--now", "--protocol", "--energy", "--density", "--quality",
          "--speed", "--feed-mm", "--page", "--fit", "--dither", "--no-dither", "--length-mm", "--data", "--records",
          "--job-mm"}},
        {"scan", {"--name", "--seconds"}},
        {"print",
         {"--printer", "--virtual-out", "--copies", "--gap-mm", "--now", "--protocol", "--energy", "--density",
          "--quality", "--speed", "--feed-mm", "--packet-size", "--pause-ms", "--page", "--fit", "--dither",
          "--no-dither", "--length-mm", "--data", "--records", "--job-mm"}},
        {"text",
         {"--printer", "--virtual-out", "--chars-per-line", "--protocol", "--energy", "--density", "--quality",
          "--speed", "--feed-mm", "--packet-size", "--pause-ms"}},
        {"templates", {}},
        {"thumbnail", {}},
        {"diagnose", {"--printer", "-o", "--output", "--seconds", "--test-print"}},
    };
    static const std::set<QString> none;
    const auto it = table.find(Command);
    return it == table.end() ? none : it->second;
}

const TOptionSpec* FindOption(const QString& Name)
{
    for (const TOptionSpec& o : AllOptions())
        if (o.Name == Name)
            return &o;
    return nullptr;
}

// "-o" and "--output" are one option.
QString CanonicalName(const QString& Name)
{
    return Name == QStringLiteral("--output") ? QStringLiteral("-o") : Name;
}

std::string Std(const QString& S)
{
    return S.toStdString();
}

} // namespace

const QStringList& CliCommands()
{
    static const QStringList commands = {"render", "job", "scan", "print", "text", "templates", "thumbnail", "diagnose"};
    return commands;
}

bool TCliArgs::Has(const QString& Name) const
{
    const QString key = CanonicalName(Name);
    return Values.count(key) != 0 || Switches.count(key) != 0;
}

std::optional<QString> TCliArgs::Value(const QString& Name) const
{
    const auto it = Values.find(CanonicalName(Name));
    if (it == Values.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> TCliArgs::OptionalInt(const QString& Name, int Min, int Max) const
{
    const std::optional<QString> text = Value(Name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    // Base 10 only: a leading zero must not turn the value into octal.
    const qlonglong v = text->trimmed().toLongLong(&ok, 10);
    if (!ok || v < Min || v > Max)
        throw ECliUsage(Std(QStringLiteral("%1 erwartet eine ganze Zahl von %2 bis %3, nicht \"%4\"")
                                .arg(Name, QString::number(Min), QString::number(Max), *text)),
                        Std(Command));
    return static_cast<int>(v);
}

int TCliArgs::Int(const QString& Name, int Min, int Max, int Default) const
{
    return OptionalInt(Name, Min, Max).value_or(Default);
}

TCliArgs ParseCliArgs(const QStringList& Args)
{
    TCliArgs a;
    int i = 0;
    // Help without a command, or before it.
    while (i < Args.size() && (Args[i] == QStringLiteral("--help") || Args[i] == QStringLiteral("-h"))) {
        a.Help = true;
        ++i;
    }
    if (i >= Args.size()) {
        if (a.Help)
            return a;
        throw ECliUsage("Kein Befehl angegeben", "");
    }
    QString command = Args[i++];
    if (command == QStringLiteral("help")) {
        a.Help = true;
        if (i >= Args.size())
            return a;
        command = Args[i++];
    }
    if (!CliCommands().contains(command))
        throw ECliUsage(Std(QStringLiteral("Unbekannter Befehl \"%1\"").arg(command)), "");
    a.Command = command;

    const std::set<QString>& allowed = CommandOptions(command);
    bool optionsEnded = false;
    for (; i < Args.size(); ++i) {
        const QString& arg = Args[i];
        if (optionsEnded || arg == QStringLiteral("-") || !arg.startsWith(QLatin1Char('-'))) {
            a.Plain << arg;
            continue;
        }
        if (arg == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            a.Help = true;
            continue;
        }
        QString name = arg;
        std::optional<QString> inlineValue;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QStringLiteral("--")) && eq > 2) {
            name = arg.left(eq);
            inlineValue = arg.mid(eq + 1);
        }
        const TOptionSpec* option = FindOption(name);
        if (!option || allowed.count(name) == 0)
            throw ECliUsage(Std(QStringLiteral("Unbekannte Option \"%1\" für \"%2\"").arg(name, command)), Std(command));
        const QString key = CanonicalName(name);
        if (a.Values.count(key) || a.Switches.count(key))
            throw ECliUsage(Std(QStringLiteral("Option %1 ist mehrfach angegeben").arg(name)), Std(command));
        if (!option->TakesValue) {
            if (inlineValue)
                throw ECliUsage(Std(QStringLiteral("Option %1 nimmt keinen Wert").arg(name)), Std(command));
            a.Switches[key] = true;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= Args.size())
                throw ECliUsage(Std(QStringLiteral("Option %1 braucht einen Wert").arg(name)), Std(command));
            inlineValue = Args[++i];
        }
        a.Values[key] = *inlineValue;
    }
    return a;
}

void RequirePlainCount(const TCliArgs& A, int Min, int Max, const QString& What)
{
    if (A.Plain.size() < Min)
        throw ECliUsage(Std(QStringLiteral("%1 fehlt").arg(What)), Std(A.Command));
    if (A.Plain.size() > Max)
        throw ECliUsage(Std(QStringLiteral("Zu viele Angaben: \"%1\"").arg(A.Plain.mid(Max).join(QLatin1Char(' ')))),
                        Std(A.Command));
}
