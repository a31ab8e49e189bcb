#include "model/picture_label.h"

#include "model/dot_math.h"
#include "model/picture_io.h"
#include "model/picture_source.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kMinLengthMm = 5;
constexpr int32_t kMaxLengthMm = 1000;

// Whole millimetres that hold Dots rows, within the label lengths there are.
int32_t LengthFor(double Dots)
{
    const double Mm = std::ceil(Dots / 8.0 - 1e-9);
    return int32_t(std::clamp(Mm, double(kMinLengthMm), double(kMaxLengthMm)));
}

}  // namespace

std::unique_ptr<TLabelDoc> BuildPictureLabel(const QString& FileName, const TPictureLabelOptions& Options)
{
    TPictureSource Source(FileName, kPictureMaxSide);
    Source.SelectPage(Options.Page);
    const QSizeF N = Source.NaturalSize();

    auto Doc = std::make_unique<TLabelDoc>();
    Doc->Name = QFileInfo(FileName).completeBaseName();
    const double DW = Doc->DesignWidth();
    double S = 0;
    if (Options.Fit == pfWidth) {
        S = DW / N.width();
        Doc->LengthMm = Options.LengthMm > 0 ? Options.LengthMm : LengthFor(N.height() * S);
    } else {
        Doc->LengthMm = Options.LengthMm > 0 ? Options.LengthMm : LengthFor(N.height());
        S = Doc->DesignHeight() / double(N.height());
    }
    // Never beyond the paper or the end of the label.
    S = std::min({S, DW / N.width(), Doc->DesignHeight() / double(N.height())});

    auto E = std::make_unique<TLabelElement>(ekImage);
    E->W = std::max(1, RoundHalfEven(N.width() * S));
    E->H = std::max(1, RoundHalfEven(N.height() * S));
    E->X = (Doc->DesignWidth() - E->W) / 2;
    E->Y = (Doc->DesignHeight() - E->H) / 2;
    E->Dither = Options.Dither.value_or(!Source.IsVector());
    E->LoadImageFrom(Source);
    Doc->Elements.Add(std::move(E));
    Doc->Modified = false;
    return Doc;
}
