// thumbnail: the picture a file manager shows for a label file. The label's
// on-screen rendering, scaled so that its longer side is SIZE pixels.
//
// File managers run this on every label they list, including files from
// anywhere, often in a sandbox without the user's data folder: it reads the
// one file it is given and writes the one picture, nothing else.
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_label.h"
#include "cli/cli_thumbnail.h"
#include "model/label_doc.h"

#include <QImage>

#include <algorithm>
#include <cmath>

QSize ThumbnailSize(const QSize& Picture, int Size)
{
    if (Picture.isEmpty() || Size < 1)
        return {};
    const double s = static_cast<double>(Size) / std::max(Picture.width(), Picture.height());
    // The shorter side of a long strip still gets one pixel.
    const auto scaled = [s](int v) { return std::max(1, static_cast<int>(std::nearbyint(v * s))); };
    return Picture.width() >= Picture.height() ? QSize(Size, scaled(Picture.height()))
                                               : QSize(scaled(Picture.width()), Size);
}

void CmdThumbnail(const TCliArgs& A, TCliStreams&)
{
    RequirePlainCount(A, 3, 3, QStringLiteral("EINGABE, AUSGABE und GRÖSSE"));
    bool ok = false;
    const int size = A.Plain[2].trimmed().toInt(&ok, 10);
    if (!ok || size < 1 || size > kMaxThumbnailSize)
        throw ECliUsage(QStringLiteral("GRÖSSE erwartet eine ganze Zahl von 1 bis %1, nicht \"%2\"")
                            .arg(kMaxThumbnailSize)
                            .arg(A.Plain[2])
                            .toStdString(),
                        "thumbnail");

    const std::unique_ptr<TLabelDoc> doc = LoadLabelFile(A.Plain[0]);
    const QImage picture = doc->RenderBitmap(false, 1);
    const QSize target = ThumbnailSize(picture.size(), size);
    SavePng(picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), A.Plain[1]);
}
