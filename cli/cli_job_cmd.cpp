// job: the bytes a printer would receive for a label, in the order they are
// sent, without a printer.
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_label.h"
#include "cli/cli_picture_label.h"
#include "cli/cli_merge.h"
#include "cli/cli_print_values.h"
#include "merge/batch_job.h"
#include "model/label_doc.h"
#include "protocol/v5g_job.h"
#include "protocol/v5x_job.h"

namespace {

// The bytes of one raster in the order the link sends them.
void AppendJob(std::vector<uint8_t>& Bytes, const TNbMonoImage& Raster, const TCliPrintValues& Values, bool Last)
{
    if (Values.Protocol == TCliProtocol::V5X) {
        // The four pieces in the order the link sends them: density and start
        // on the command characteristic, the rows, then the end command.
        const TNbV5XJob job = NbV5XBuildJob(Raster, Values.V5XDensityPercent(), 0);
        for (const std::vector<uint8_t>* piece : {&job.DensityCmd, &job.StartCmd, &job.ImageData, &job.EndCmd})
            Bytes.insert(Bytes.end(), piece->begin(), piece->end());
        return;
    }
    // The printer's head temperature is unknown here, so the energy is the
    // one of the settings, as for a cool printer. Only the last job of a
    // batch feeds the paper out.
    TNbV5GParams params = Values.Params();
    if (!Last)
        params.FeedLines = 0;
    const std::vector<uint8_t> job = NbV5GBuildJob(Raster, params);
    Bytes.insert(Bytes.end(), job.begin(), job.end());
}

QString ProtocolName(const TCliPrintValues& Values)
{
    return Values.Protocol == TCliProtocol::V5X ? QStringLiteral("V5X") : QStringLiteral("V5G");
}

}  // namespace

void CmdJob(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Etikettendatei"));
    const std::optional<QString> out = A.Value(QStringLiteral("-o"));
    if (!out)
        throw ECliUsage("Ausgabedatei fehlt (-o DATEI)", "job");
    const TCliPrintValues values = CliPrintValues(A);
    const TPlaceholderClockScope clock(ParseNow(A));

    const std::unique_ptr<TLabelDoc> doc = LoadLabelOrPicture(A);
    const TCliMerge merge = CliMerge(A, *doc);
    // A V5X job announces its rows in 16 bits; a longer print is written as
    // the jobs a batch would send.
    if (merge.Table ||
        (values.Protocol == TCliProtocol::V5X && NeedsSplitForV5X(*doc, values.Copies, values.GapDots()))) {
        // A batch: its jobs one after another, each built when it is written.
        const TBatchPlan plan = CliBatchPlan(A, merge, *doc, values.Copies, values.GapDots(),
                                             values.Protocol == TCliProtocol::V5X ? kMaxV5XJobRows : 0);
        std::vector<uint8_t> bytes;
        for (size_t j = 0; j < plan.Jobs().size(); ++j)
            AppendJob(bytes, RenderBatchJob(*doc, merge.Table.get(), plan, j), values, j + 1 == plan.Jobs().size());
        SaveBytes(bytes, *out);
        const QString what = merge.Table ? QStringLiteral("%1 Datensätze in %2 Aufträgen")
                                               .arg(QString::number(merge.Records.size()),
                                                    QString::number(plan.Jobs().size()))
                                         : QStringLiteral("%1 Aufträge").arg(plan.Jobs().size());
        WriteLine(S.Out, QStringLiteral("%1: %2 Byte (%3, %4 Zeilen, %5)")
                             .arg(*out, QString::number(bytes.size()), ProtocolName(values),
                                  QString::number(plan.TotalRows()), what));
        return;
    }
    const TNbMonoImage raster = RenderCopies(*doc, values.Copies, values.GapDots());
    std::vector<uint8_t> bytes;
    AppendJob(bytes, raster, values, true);
    SaveBytes(bytes, *out);
    WriteLine(S.Out, QStringLiteral("%1: %2 Byte (%3, %4 Zeilen)")
                         .arg(*out, QString::number(bytes.size()), ProtocolName(values),
                              QString::number(raster.Height)));
}
