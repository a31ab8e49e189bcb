// Lining up, spreading, centring and turning the selected elements. Each is
// one undo step, and a command that would change nothing records none.
#include "editor/align_ops.h"
#include "editor/label_main_form.h"
#include "model/dot_math.h"
#include "model/label_doc.h"

namespace {

std::vector<TDotRect> BoundsOf(const std::vector<TLabelElement*>& Elems)
{
    std::vector<TDotRect> out;
    for (const TLabelElement* e : Elems)
        out.push_back(e->BoundsRect());
    return out;
}

} // namespace

void TLabelMainForm::SetBoundsOf(const std::vector<TLabelElement*>& Elems, const std::vector<TDotRect>& Bounds)
{
    bool changed = false;
    std::vector<std::pair<int32_t, int32_t>> sizes;
    for (size_t i = 0; i < Elems.size(); ++i) {
        sizes.emplace_back(Bounds[i].Width(), Bounds[i].Height());
        changed = changed || !(Elems[i]->BoundsRect() == Bounds[i]);
    }
    if (!changed)
        return;
    PushUndo();
    for (size_t i = 0; i < Elems.size(); ++i) {
        Elems[i]->X = Bounds[i].Left;
        Elems[i]->Y = Bounds[i].Top;
        Elems[i]->W = sizes[i].first;
        Elems[i]->H = sizes[i].second;
    }
    ShowElemProps();
    DocChanged();
}

void TLabelMainForm::AlignSelected(int Mode)
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    // One element lines up with the label, several with each other.
    const TDotRect label{0, 0, FDoc->DesignWidth(), FDoc->DesignHeight()};
    const std::vector<TDotRect> rects = BoundsOf(sel);
    const TDotRect ref = sel.size() == 1 ? label : alignops::Union(rects);
    SetBoundsOf(sel, alignops::Align(rects, static_cast<TAlignMode>(Mode), ref));
}

void TLabelMainForm::AlignSelectedToLabel(int Mode)
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    const TDotRect label{0, 0, FDoc->DesignWidth(), FDoc->DesignHeight()};
    SetBoundsOf(sel, alignops::Align(BoundsOf(sel), static_cast<TAlignMode>(Mode), label));
}

void TLabelMainForm::DistributeSelected(bool Horizontal)
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.size() < 3) {
        SetStatus(3, QStringLiteral("Zum Verteilen mindestens drei Elemente auswählen"));
        return;
    }
    SetBoundsOf(sel, alignops::Distribute(BoundsOf(sel), Horizontal));
}

void TLabelMainForm::CentreSelectionOnLabel()
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    const TDotRect label{0, 0, FDoc->DesignWidth(), FDoc->DesignHeight()};
    SetBoundsOf(sel, alignops::CentreOn(BoundsOf(sel), label));
}

void TLabelMainForm::RotateSelected(int Degrees)
{
    std::vector<TLabelElement*> turn;
    for (TLabelElement* e : SelectedElements())
        if (e->Kind == ekText || e->Kind == ekImage)
            turn.push_back(e);
    if (turn.empty()) {
        if (FSel)
            SetStatus(3, QStringLiteral("Drehen geht nur bei Text und Bildern"));
        return;
    }
    const bool quarter = ((Degrees % 180) + 180) % 180 == 90;
    // A quarter turn swaps the box's sides about its centre, so the content
    // keeps its size and place. Computed first: a box that cannot be placed
    // leaves everything as it was.
    std::vector<TDotRect> boxes;
    for (const TLabelElement* e : turn) {
        if (!quarter) {
            boxes.push_back(e->BoundsRect());
            continue;
        }
        const int32_t x = DotAdd(e->X, int32_t((int64_t(e->W) - e->H) / 2));
        const int32_t y = DotAdd(e->Y, int32_t((int64_t(e->H) - e->W) / 2));
        boxes.push_back({x, y, DotAdd(x, e->H), DotAdd(y, e->W)});
    }
    PushUndo();
    for (size_t i = 0; i < turn.size(); ++i) {
        TLabelElement* e = turn[i];
        e->Rotation = (((e->Rotation + Degrees) % 360) + 360) % 360;
        e->X = boxes[i].Left;
        e->Y = boxes[i].Top;
        e->W = boxes[i].Width();
        e->H = boxes[i].Height();
    }
    ShowElemProps();
    DocChanged();
}
