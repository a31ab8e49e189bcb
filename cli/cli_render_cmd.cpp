// render: the printer raster of a label (all copies, as one print) or its
// on-screen picture, as a PNG file.
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_label.h"
#include "cli/cli_picture_label.h"
#include "cli/cli_print_values.h"
#include "model/label_doc.h"

#include <QFileInfo>

void CmdRender(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 1, 1, QStringLiteral("Etikettendatei"));
    const bool screen = A.Has(QStringLiteral("--screen"));
    if (screen && (A.Has(QStringLiteral("--copies")) || A.Has(QStringLiteral("--gap-mm"))))
        throw ECliUsage("--screen zeigt das Etikett einmal, wie im Editor; --copies und --gap-mm passen nicht dazu",
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

    QImage picture;
    if (screen)
        picture = doc->RenderBitmap(false, 1);
    else
        picture = MonoToImage(RenderCopies(*doc, values.Copies, values.GapDots()));
    SavePng(picture, out);
    WriteLine(S.Out, QStringLiteral("%1: %2 × %3 Punkte").arg(out, QString::number(picture.width()), QString::number(picture.height())));
}
