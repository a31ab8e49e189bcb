// job: the bytes a printer would receive for a label, in the order they are
// sent, without a printer.
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_label.h"
#include "cli/cli_picture_label.h"
#include "cli/cli_print_values.h"
#include "model/label_doc.h"
#include "protocol/v5g_job.h"
#include "protocol/v5x_job.h"

void CmdJob(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Etikettendatei"));
    const std::optional<QString> out = A.Value(QStringLiteral("-o"));
    if (!out)
        throw ECliUsage("Ausgabedatei fehlt (-o DATEI)", "job");
    const TCliPrintValues values = CliPrintValues(A);
    const TPlaceholderClockScope clock(ParseNow(A));

    const std::unique_ptr<TLabelDoc> doc = LoadLabelOrPicture(A);
    const TNbMonoImage raster = RenderCopies(*doc, values.Copies, values.GapDots());
    std::vector<uint8_t> bytes;
    if (values.Protocol == TCliProtocol::V5X) {
        // The four pieces in the order the link sends them: density and start
        // on the command characteristic, the rows, then the end command.
        const TNbV5XJob job = NbV5XBuildJob(raster, values.V5XDensityPercent(), 0);
        for (const std::vector<uint8_t>* piece : {&job.DensityCmd, &job.StartCmd, &job.ImageData, &job.EndCmd})
            bytes.insert(bytes.end(), piece->begin(), piece->end());
    } else {
        // The printer's head temperature is unknown here, so the energy is
        // the one of the settings, as for a cool printer.
        bytes = NbV5GBuildJob(raster, values.Params());
    }
    SaveBytes(bytes, *out);
    WriteLine(S.Out, QStringLiteral("%1: %2 Byte (%3, %4 Zeilen)")
                         .arg(*out, QString::number(bytes.size()),
                              values.Protocol == TCliProtocol::V5X ? QStringLiteral("V5X") : QStringLiteral("V5G"),
                              QString::number(raster.Height)));
}
