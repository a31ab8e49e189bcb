// Portrait and landscape: the switch in the label group and the toolbar, and
// the rescaling of the elements onto the turned design area.
#include "editor/controls/modern_button.h"
#include "editor/label_main_form.h"
#include "editor/props_radio_group.h"
#include "editor/props_updating.h"
#include "model/dot_math.h"
#include "model/label_doc.h"

#include <algorithm>
#include <cstdint>
#include <vector>

bool TLabelMainForm::IsPortrait() const
{
    return !FDoc->Landscape;
}

void TLabelMainForm::ShowOrientation()
{
    TUpdatingScope updating(FUpdating);
    const bool portrait = IsPortrait();
    RgOrient->SetItemIndex(portrait ? 0 : 1);
    BtnPortrait->SetChecked(portrait);
    BtnLandscape->SetChecked(!portrait);
}

void TLabelMainForm::SetOrientation(bool Portrait)
{
    TLabelDoc& d = *FDoc;
    if (Portrait == IsPortrait()) {
        ShowOrientation();
        return;
    }
    PushUndo();
    const double ow = d.DesignWidth();
    const double oh = d.DesignHeight();
    d.Landscape = !Portrait;
    const double nw = d.DesignWidth();
    const double nh = d.DesignHeight();
    const double fx = nw / ow;
    const double fy = nh / oh;

    // Every new place is worked out before any element changes: a value that
    // no longer fits in 32 bits raises with the label still as it was.
    struct TPlace {
        int32_t X, Y, W, H;
    };
    std::vector<TPlace> placed;
    placed.reserve(static_cast<size_t>(d.Elements.Count()));
    try {
        for (const auto& e : d.Elements) {
            placed.push_back({RoundHalfEven(e->X * fx), RoundHalfEven(e->Y * fy),
                              std::max(1, RoundHalfEven(e->W * fx)), std::max(1, RoundHalfEven(e->H * fy))});
        }
    } catch (...) {
        d.Landscape = Portrait;  // the orientation it had
        throw;
    }
    size_t i = 0;
    for (const auto& e : d.Elements) {
        e->X = placed[i].X;
        e->Y = placed[i].Y;
        e->W = placed[i].W;
        e->H = placed[i].H;
        ++i;
    }
    RefreshAll();
    DocChanged();
    SetStatus(3, Portrait ? QStringLiteral("Hochformat") : QStringLiteral("Querformat"));
}
