#include "cli/cli_run.h"

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_usage.h"

#include <exception>
#include <ostream>

namespace {

void Dispatch(const TCliArgs& A, TCliStreams& S)
{
    const QString& c = A.Command;
    if (c == QStringLiteral("render"))
        CmdRender(A, S);
    else if (c == QStringLiteral("job"))
        CmdJob(A, S);
    else if (c == QStringLiteral("scan"))
        CmdScan(A, S);
    else if (c == QStringLiteral("print"))
        CmdPrint(A, S);
    else if (c == QStringLiteral("text"))
        CmdText(A, S);
    else if (c == QStringLiteral("templates"))
        CmdTemplates(A, S);
    else if (c == QStringLiteral("thumbnail"))
        CmdThumbnail(A, S);
    else if (c == QStringLiteral("diagnose"))
        CmdDiagnose(A, S);
}

} // namespace

int RunCli(const QStringList& Args, TCliStreams& S)
{
    try {
        const TCliArgs a = ParseCliArgs(Args);
        if (a.Help) {
            S.Out << CliUsage(a.Command).toStdString();
            S.Out.flush();
            return kExitOk;
        }
        Dispatch(a, S);
        return kExitOk;
    } catch (const ECliUsage& e) {
        S.Err << "pellwerk-cli: " << e.what() << "\n\n" << CliUsage(QString::fromStdString(e.Command())).toStdString();
        S.Err.flush();
        return kExitUsage;
    } catch (const std::exception& e) {
        S.Err << "pellwerk-cli: " << e.what() << '\n';
        S.Err.flush();
        return kExitFailed;
    }
}
