#include "cli/cli_picture_label.h"

#include "cli/cli_args.h"
#include "cli/cli_error.h"
#include "cli/cli_label.h"
#include "model/builtin_templates.h"
#include "model/picture_label.h"
#include "model/picture_source.h"

#include <QFileInfo>

#include <stdexcept>

namespace {

const QStringList& PictureOptions()
{
    static const QStringList options = {"--page", "--fit", "--dither", "--no-dither", "--length-mm"};
    return options;
}

TPictureLabelOptions OptionsFrom(const TCliArgs& A)
{
    TPictureLabelOptions o;
    o.Page = A.Int(QStringLiteral("--page"), 1, 100000, 1);
    o.LengthMm = A.Int(QStringLiteral("--length-mm"), 5, 1000, 0);
    const QString fit = A.Value(QStringLiteral("--fit")).value_or(QStringLiteral("width"));
    if (fit == QStringLiteral("width"))
        o.Fit = pfWidth;
    else if (fit == QStringLiteral("length"))
        o.Fit = pfLength;
    else
        throw ECliUsage(QStringLiteral("--fit erwartet \"width\" oder \"length\", nicht \"%1\"").arg(fit).toStdString(),
                        A.Command.toStdString());
    const bool on = A.Has(QStringLiteral("--dither"));
    const bool off = A.Has(QStringLiteral("--no-dither"));
    if (on && off)
        throw ECliUsage("--dither und --no-dither schließen einander aus", A.Command.toStdString());
    if (on || off)
        o.Dither = on;
    return o;
}

}  // namespace

bool IsPictureArgument(const QString& Path)
{
    const QFileInfo info(Path);
    if (!info.isFile() || Path.endsWith(kLabelFileExt, Qt::CaseInsensitive))
        return false;
    return IsPictureFileName(Path) || PictureKindOf(Path) != pkRaster;
}

std::unique_ptr<TLabelDoc> LoadLabelOrPicture(const TCliArgs& A)
{
    const QString& arg = A.Plain[0];
    if (!IsPictureArgument(arg)) {
        for (const QString& option : PictureOptions())
            if (A.Has(option))
                throw ECliUsage(QStringLiteral("%1 gilt nur für Bilder, SVG- und PDF-Dateien").arg(option).toStdString(),
                                A.Command.toStdString());
        return LoadLabel(arg);
    }
    const TPictureLabelOptions options = OptionsFrom(A);
    try {
        return BuildPictureLabel(arg, options);
    } catch (const std::exception& e) {
        throw std::runtime_error(
            QStringLiteral("Bild \"%1\" konnte nicht geladen werden: %2").arg(arg, QString::fromUtf8(e.what())).toStdString());
    }
}
