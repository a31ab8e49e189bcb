// templates: the labels of the templates folder, by name and file.
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_label.h"

void CmdTemplates(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 0, 0, QString());
    QStringList skipped;
    for (const TTemplateEntry& t : ListTemplates(&skipped))
        WriteLine(S.Out, t.Name + QLatin1Char('\t') + t.FileName);
    for (const QString& s : skipped)
        WriteLine(S.Err, QStringLiteral("Übersprungen: ") + s);
}
