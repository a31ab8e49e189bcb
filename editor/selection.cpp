// The selection: one primary element (FSel) and the set it belongs to. Every
// way of changing it keeps the two in step, so code that knows only FSel
// keeps working.
#include "editor/label_main_form.h"
#include "model/label_doc.h"

#include <QPlainTextEdit>
#include <algorithm>

void TLabelMainForm::SelectElement(TLabelElement* E)
{
    if (E == FSel && FSelSet.size() == (E ? 1u : 0u))
        return;
    // A drag belongs to the element it started on.
    FDrag = edNone;
    FSel = E;
    FSelSet.clear();
    if (E)
        FSelSet.push_back(E);
    ShowElemProps();
    RepaintCanvas();
}

std::vector<TLabelElement*> TLabelMainForm::SelectedElements() const
{
    std::vector<TLabelElement*> out;
    for (const auto& e : FDoc->Elements)
        if (IsSelected(e.get()))
            out.push_back(e.get());
    return out;
}

bool TLabelMainForm::IsSelected(const TLabelElement* E) const
{
    if (!E || !FSel)
        return false;
    // Code that sets only the primary element selects that one alone.
    if (std::find(FSelSet.begin(), FSelSet.end(), FSel) == FSelSet.end())
        return E == FSel;
    return std::find(FSelSet.begin(), FSelSet.end(), E) != FSelSet.end();
}

bool TLabelMainForm::MultiSelected() const
{
    return FSel && FSelSet.size() > 1 && std::find(FSelSet.begin(), FSelSet.end(), FSel) != FSelSet.end();
}

void TLabelMainForm::SetSelection(const std::vector<TLabelElement*>& Elems, TLabelElement* Primary)
{
    const auto inSet = [this](const TLabelElement* e) {
        return std::find(FSelSet.begin(), FSelSet.end(), e) != FSelSet.end();
    };
    FSelSet.clear();
    for (TLabelElement* e : Elems)
        if (e && FDoc->Elements.IndexOf(e) >= 0 && !inSet(e))
            FSelSet.push_back(e);
    if (!Primary || !inSet(Primary))
        Primary = FSelSet.empty() ? nullptr : FSelSet.back();
    FDrag = edNone;
    FSel = Primary;
    ShowElemProps();
    RepaintCanvas();
}

void TLabelMainForm::ToggleSelected(TLabelElement* E)
{
    if (!E)
        return;
    std::vector<TLabelElement*> set = SelectedElements();
    if (IsSelected(E)) {
        std::erase(set, E);
        SetSelection(set, FSel == E ? nullptr : FSel);
    } else {
        set.push_back(E);
        SetSelection(set, E);
    }
}

void TLabelMainForm::SelectAll()
{
    std::vector<TLabelElement*> all;
    for (const auto& e : FDoc->Elements)
        all.push_back(e.get());
    SetSelection(all, FSel);
}

void TLabelMainForm::SyncSelection()
{
    // Elements can vanish under the selection (undo, a new label): nothing
    // may keep pointing at them.
    std::erase_if(FSelSet, [this](TLabelElement* e) { return FDoc->Elements.IndexOf(e) < 0; });
    if (FSel && FDoc->Elements.IndexOf(FSel) < 0)
        FSel = nullptr;
    if (!FSel)
        FSelSet.clear();
    else if (std::find(FSelSet.begin(), FSelSet.end(), FSel) == FSelSet.end())
        FSelSet = {FSel};
}

std::vector<int> TLabelMainForm::SelectionIndices() const
{
    std::vector<int> out;
    for (const TLabelElement* e : SelectedElements())
        out.push_back(FDoc->Elements.IndexOf(e));
    return out;
}

void TLabelMainForm::RestoreSelection(const std::vector<int>& Indices, int Primary)
{
    FSelSet.clear();
    FSel = nullptr;
    for (int i : Indices)
        if (i >= 0 && i < FDoc->Elements.Count())
            FSelSet.push_back(FDoc->Elements[i]);
    if (Primary >= 0 && Primary < FDoc->Elements.Count()
        && std::find(FSelSet.begin(), FSelSet.end(), FDoc->Elements[Primary]) != FSelSet.end())
        FSel = FDoc->Elements[Primary];
    else if (!FSelSet.empty())
        FSel = FSelSet.back();
}

void TLabelMainForm::EditSelectedText()
{
    if (!FSel || FSel->Kind != ekText || MultiSelected() || !MemoText)
        return;
    MemoText->setFocus(Qt::OtherFocusReason);
    MemoText->selectAll();
}

void TLabelMainForm::ResetEditState()
{
    FUndo.clear();
    FRedo.clear();
    FLastUndoTick = 0;
    FDrag = edNone;
    FSel = nullptr;
    FSelSet.clear();
    FGuides.clear();
}
