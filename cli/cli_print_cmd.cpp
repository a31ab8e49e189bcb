// print and text: a label, or plain text in the built-in pixel font, through
// the printer link to a real or a virtual printer.
#include "ble/nimbo_ble.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_label.h"
#include "cli/cli_picture_label.h"
#include "cli/cli_merge.h"
#include "cli/cli_printer_target.h"
#include "merge/batch_job.h"
#include "lineprinter/line_printer.h"
#include "model/label_doc.h"
#include "protocol/v5x_job.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

#include <iostream>
#include <iterator>

namespace {

constexpr int32_t kPrinterWidth = 384;
constexpr int kDefaultCharsPerLine = 32;

TCliPrintValues ValuesFor(const TCliArgs& A, TCliPrinterTarget& Target)
{
    TAppSettings settings;
    settings.Load();
    Target = CliPrinterTarget(A, settings);
    // A virtual printer speaks its own protocol; the flags are checked against it.
    return CliPrintValues(A, Target.Protocol ? &*Target.Protocol : nullptr);
}

// A raster goes out as the protocol of the run wants it. Only the last job
// of a batch feeds the paper out, so the labels follow each other as in one
// job.
void StartRaster(TNimboBle& Link, const TNbMonoImage& Raster, const TCliPrintValues& Values, bool Last = true)
{
    if (Values.Protocol == TCliProtocol::V5X) {
        Link.PrintV5X(NbV5XBuildJob(Raster, Values.V5XDensityPercent(), 0));
        return;
    }
    TNbV5GParams params = Values.Params();
    if (!Last)
        params.FeedLines = 0;
    Link.PrintV5G(Raster, params);
}

// Every chosen record, in jobs of at most --job-mm of paper over one
// connection. A failure names the record to go on from.
void PrintBatch(const TCliArgs& A, TCliStreams& S, const TLabelDoc& Doc, const TCliMerge& M,
                const TCliPrinterTarget& Target, const TCliPrintValues& Values)
{
    const TBatchPlan plan = CliBatchPlan(A, M, Doc, Values.Copies, Values.GapDots(),
                                         Values.Protocol == TCliProtocol::V5X ? kMaxV5XJobRows : 0);
    const size_t jobs = plan.Jobs().size();
    if (M.Table)
        WriteLine(S.Err, QStringLiteral("Sende \"%1\" (%2 Datensätze, %3×, %4 Aufträge) …")
                             .arg(Doc.Name)
                             .arg(M.Records.size())
                             .arg(Values.Copies)
                             .arg(jobs));
    else
        WriteLine(S.Err,
                  QStringLiteral("Sende \"%1\" (%2×, %3 Aufträge) …").arg(Doc.Name).arg(Values.Copies).arg(jobs));
    std::optional<size_t> started;
    try {
        RunPrinterJobs(
            Target, Values, S, jobs,
            [&](TNimboBle& Link, size_t Job) {
                started = Job;
                // Rendered only now: one job's labels in memory at a time.
                StartRaster(Link, RenderBatchJob(Doc, M.Table.get(), plan, Job), Values, Job + 1 == jobs);
            },
            [&plan](size_t Job, int64_t Sent, int64_t Total) {
                const int64_t rows = plan.Jobs()[Job].Rows;
                const int64_t inJob = Total > 0 ? std::clamp<int64_t>(Sent, 0, Total) * rows / Total : 0;
                return static_cast<int>((plan.RowsBefore(Job) + inJob) * 100 / std::max<int64_t>(plan.TotalRows(), 1));
            });
    } catch (const std::exception& e) {
        if (!started)
            throw;
        QString msg = QString::fromUtf8(e.what());
        msg.remove(QRegularExpression(QStringLiteral("^Druck fehlgeschlagen: ")));
        if (!M.Table)
            throw std::runtime_error(
                QStringLiteral("Druck fehlgeschlagen bei Teil %1 von %2: %3").arg(*started + 1).arg(jobs).arg(msg).toStdString());
        const std::vector<int> rest = plan.RecordsFrom(*started);
        throw std::runtime_error(QStringLiteral("Druck bei Datensatz %1 fehlgeschlagen: %2%3")
                                     .arg(rest.front())
                                     .arg(msg, CliResumeHint(rest))
                                     .toStdString());
    }
}

QString ReadStandardInput()
{
    const std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

void CmdPrint(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Etikettendatei"));
    TCliPrinterTarget target;
    const TCliPrintValues values = ValuesFor(A, target);
    const TPlaceholderClockScope clock(ParseNow(A));

    // Everything that can go wrong with the label goes wrong before the
    // printer is woken.
    const std::unique_ptr<TLabelDoc> doc = LoadLabelOrPicture(A);
    const TCliMerge merge = CliMerge(A, *doc);
    // A V5X job announces its rows in 16 bits; a longer print goes out in
    // jobs, as a batch does.
    if (merge.Table ||
        (values.Protocol == TCliProtocol::V5X && NeedsSplitForV5X(*doc, values.Copies, values.GapDots()))) {
        PrintBatch(A, S, *doc, merge, target, values);
        return;
    }
    const TNbMonoImage raster = RenderCopies(*doc, values.Copies, values.GapDots());
    WriteLine(S.Err, QStringLiteral("Sende \"%1\" (%2×) …").arg(doc->Name, QString::number(values.Copies)));
    RunPrinterJob(target, values, S, [&](TNimboBle& Link) { StartRaster(Link, raster, values); });
}

void CmdText(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Text"));
    TCliPrinterTarget target;
    const TCliPrintValues values = ValuesFor(A, target);
    const int charsPerLine = A.Int(QStringLiteral("--chars-per-line"), 1, kPrinterWidth, kDefaultCharsPerLine);
    const QString text = A.Plain[0] == QStringLiteral("-") ? ReadStandardInput() : A.Plain[0];
    const std::u16string text16 = text.toStdU16String();

    // The line printer's own check (at least 3 dots per character) speaks
    // before any printer is searched for.
    TNbMonoImage raster;
    try {
        raster = TNbLinePrinter::TextToMono(text16, kPrinterWidth, charsPerLine, u"");
    } catch (const std::invalid_argument& e) {
        throw ECliUsage(e.what(), "text");
    }
    WriteLine(S.Err, QStringLiteral("Sende Text …"));
    RunPrinterJob(target, values, S, [&](TNimboBle& Link) {
        // Text jobs are a V5G matter of the link; a V5X printer gets the same
        // raster as a V5X job.
        if (values.Protocol == TCliProtocol::V5X)
            StartRaster(Link, raster, values);
        else
            Link.PrintText(text16, values.Params(), charsPerLine, kPrinterWidth, u"");
    });
}
