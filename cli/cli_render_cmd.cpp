// render: the printer raster of a label (all copies, as one print) or its
// on-screen picture, as a PNG file. With data, every chosen record, stacked
// into one picture or one picture per record.
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

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

// A picture of the whole batch must fit one QImage of 32-bit pixels.
constexpr int64_t kMaxStackedRows = std::numeric_limits<int32_t>::max() / (384 * 4);

// "preis.png" -> "preis-007.png", the number as wide as the largest one.
QString NumberedName(const QString& Out, int Number, int Largest)
{
    const QFileInfo info(Out);
    const QString stem = info.path() == QStringLiteral(".") && !Out.startsWith(QStringLiteral("./"))
                             ? info.completeBaseName()
                             : info.path() + QLatin1Char('/') + info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix();
    const int width = static_cast<int>(QString::number(Largest).size());
    return QStringLiteral("%1-%2.%3").arg(stem).arg(Number, width, 10, QLatin1Char('0')).arg(suffix);
}

void RenderMerge(const TCliArgs& A, TCliStreams& S, const TLabelDoc& Doc, const TCliMerge& M,
                 const TCliPrintValues& Values, const QString& Out)
{
    if (!A.Has(QStringLiteral("--each"))) {
        const TBatchPlan plan(M.Records, Values.Copies, PrintedLabelRows(Doc), Values.GapDots(),
                              std::numeric_limits<int64_t>::max(), kMaxStackedRows);
        const QImage picture = MonoToImage(RenderBatchJob(Doc, M.Table.get(), plan, 0));
        SavePng(picture, Out);
        WriteLine(S.Out, QStringLiteral("%1: %2 × %3 Punkte, %4 Datensätze")
                             .arg(Out)
                             .arg(picture.width())
                             .arg(picture.height())
                             .arg(M.Records.size()));
        return;
    }
    const int largest = *std::max_element(M.Records.begin(), M.Records.end());
    for (const int n : M.Records) {
        const TBatchPlan plan({n}, Values.Copies, PrintedLabelRows(Doc), Values.GapDots(),
                              std::numeric_limits<int64_t>::max(), kMaxStackedRows);
        const QImage picture = MonoToImage(RenderBatchJob(Doc, M.Table.get(), plan, 0));
        const QString name = NumberedName(Out, n, largest);
        SavePng(picture, name);
        WriteLine(S.Out, QStringLiteral("%1: %2 × %3 Punkte").arg(name).arg(picture.width()).arg(picture.height()));
    }
}

}  // namespace

void CmdRender(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Etikettendatei"));
    const bool screen = A.Has(QStringLiteral("--screen"));
    if (screen && (A.Has(QStringLiteral("--copies")) || A.Has(QStringLiteral("--gap-mm"))))
        throw ECliUsage("--screen zeigt das Etikett einmal, wie im Editor; --copies und --gap-mm passen nicht dazu",
                        "render");
    if (screen && (A.Has(QStringLiteral("--data")) || A.Has(QStringLiteral("--each"))))
        throw ECliUsage("--screen zeigt das Etikett einmal, wie im Editor; --data und --each passen nicht dazu",
                        "render");
    const TCliPrintValues values = CliPrintValues(A);
    const TPlaceholderClockScope clock(ParseNow(A));

    // The default picture is named after the label's file, which for a
    // template name is its safe file name ("Preis: 5/kg" -> "Preis_ 5_kg.png").
    // A picture's own name with ".png" could be the picture itself.
    const QString label = ResolveLabelPath(A.Plain[0]);
    const QString suffix =
        IsPictureArgument(label) ? QStringLiteral("-druckbild.png") : QStringLiteral(".png");
    const QString out = A.Value(QStringLiteral("-o")).value_or(QFileInfo(label).completeBaseName() + suffix);
    const std::unique_ptr<TLabelDoc> doc = LoadLabelOrPicture(A);

    if (!screen) {
        const TCliMerge merge = CliMerge(A, *doc);
        if (merge.Table) {
            RenderMerge(A, S, *doc, merge, values, out);
            return;
        }
    }
    QImage picture;
    if (screen)
        picture = doc->RenderBitmap(false, 1);
    else
        picture = MonoToImage(RenderCopies(*doc, values.Copies, values.GapDots()));
    SavePng(picture, out);
    WriteLine(S.Out, QStringLiteral("%1: %2 × %3 Punkte").arg(out, QString::number(picture.width()), QString::number(picture.height())));
}
