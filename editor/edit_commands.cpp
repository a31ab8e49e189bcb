// Element commands of the toolbar and the keys: insert, duplicate, delete
// and restack. Each records an undo step before it changes the label.
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "model/dot_math.h"
#include "model/label_doc.h"
#include "model/picture_source.h"

#include <QPlainTextEdit>
#include <algorithm>

namespace {

// A shape of size W × H in the middle of the design area.
void Centre(TLabelElement& E, int32_t DW, int32_t DH)
{
    E.X = (DW - E.W) / 2;
    E.Y = (DH - E.H) / 2;
}

} // namespace

void TLabelMainForm::AddElement(std::unique_ptr<TLabelElement> E)
{
    if (!E)
        return;
    PushUndo();
    TLabelElement* added = FDoc->Elements.Add(std::move(E));
    FSel = nullptr;  // so that SelectElement always shows the new element's properties
    SelectElement(added);
    DocChanged();
}

void TLabelMainForm::InsertTextElement(const QString& Text)
{
    const int32_t DW = FDoc->DesignWidth();
    const int32_t DH = FDoc->DesignHeight();
    auto E = std::make_unique<TLabelElement>(ekText);
    E->X = 8;
    E->W = DW - 16;
    E->H = std::min(64, DH - 16);
    E->Y = (DH - E->H) / 2;
    E->Text = Text;
    E->FontSize = std::min(40, E->H - 8);
    E->Bold = true;
    AddElement(std::move(E));
}

void TLabelMainForm::InsertText()
{
    InsertTextElement(QStringLiteral("Text"));
    // Typing right away replaces the word "Text".
    if (MemoText) {
        MemoText->setFocus(Qt::OtherFocusReason);
        MemoText->selectAll();
    }
}

void TLabelMainForm::InsertImage()
{
    const QString file = FDialogs->OpenFile(this, QStringLiteral("Bild einfügen"), PictureFileFilter());
    if (!file.isEmpty())
        InsertPictureFile(file);
}

void TLabelMainForm::InsertRect()
{
    const int32_t DW = FDoc->DesignWidth();
    const int32_t DH = FDoc->DesignHeight();
    auto E = std::make_unique<TLabelElement>(ekRect);
    E->W = std::min(160, DW - 16);
    E->H = std::min(100, DH - 16);
    Centre(*E, DW, DH);
    AddElement(std::move(E));
}

void TLabelMainForm::InsertEllipse()
{
    const int32_t DW = FDoc->DesignWidth();
    const int32_t DH = FDoc->DesignHeight();
    auto E = std::make_unique<TLabelElement>(ekEllipse);
    E->W = std::min(120, DW - 16);
    E->H = std::min(120, DH - 16);
    Centre(*E, DW, DH);
    AddElement(std::move(E));
}

void TLabelMainForm::InsertLine()
{
    const int32_t DW = FDoc->DesignWidth();
    const int32_t DH = FDoc->DesignHeight();
    auto E = std::make_unique<TLabelElement>(ekLine);
    E->X = 16;
    E->W = DW - 32;
    E->H = 8;
    E->Y = DH / 2 - 4;
    E->LineWidth = 3;
    AddElement(std::move(E));
}

void TLabelMainForm::DuplicateSelected()
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    if (sel.size() == 1) {
        auto E = FSel->Clone();
        E->X = DotAdd(E->X, 8);
        E->Y = DotAdd(E->Y, 8);
        (void)E->BoundsRect();  // a copy whose far edge does not fit is refused before anything changes
        AddElement(std::move(E));
        return;
    }
    // Every copy is made before the label changes, so a copy that does not
    // fit leaves everything as it was.
    std::vector<std::unique_ptr<TLabelElement>> copies;
    TLabelElement* primary = nullptr;
    for (TLabelElement* e : sel) {
        auto c = e->Clone();
        c->X = DotAdd(c->X, 8);
        c->Y = DotAdd(c->Y, 8);
        (void)c->BoundsRect();
        copies.push_back(std::move(c));
    }
    PushUndo();
    std::vector<TLabelElement*> added;
    for (size_t i = 0; i < copies.size(); ++i) {
        added.push_back(FDoc->Elements.Add(std::move(copies[i])));
        if (sel[i] == FSel)
            primary = added.back();
    }
    SetSelection(added, primary);
    DocChanged();
}

void TLabelMainForm::DeleteSelected()
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    PushUndo();
    FSel = nullptr;
    FSelSet.clear();
    FDrag = edNone;
    for (TLabelElement* e : sel)
        FDoc->Elements.Remove(e);
    ShowElemProps();
    DocChanged();
}

void TLabelMainForm::RestackSelected(int Dir)
{
    // Each selected element steps over the unselected neighbour on that side;
    // walking from that end, a group moves as a whole and keeps its order,
    // and elements already at the end stay.
    TElementList& list = FDoc->Elements;
    const int n = list.Count();
    const auto canStep = [&](int i) { return IsSelected(list[i]) && !IsSelected(list[i + Dir]); };
    bool any = false;
    for (int i = 0; i < n; ++i)
        any = any || (i + Dir >= 0 && i + Dir < n && canStep(i));
    if (!any)
        return;
    PushUndo();
    for (int k = 0; k < n; ++k) {
        const int i = Dir > 0 ? n - 1 - k : k;
        if (i + Dir >= 0 && i + Dir < n && canStep(i))
            list.Exchange(i, i + Dir);
    }
    DocChanged();
}

void TLabelMainForm::BringForward()
{
    RestackSelected(+1);
}

void TLabelMainForm::SendBackward()
{
    RestackSelected(-1);
}

void TLabelMainForm::ReplaceImage()
{
    if (!FSel || FSel->Kind != ekImage)
        return;
    const QString file = FDialogs->OpenFile(this, QString(), PictureFileFilter());
    if (file.isEmpty())
        return;
    TLabelElement* target = FSel;
    // Loaded into a scratch element of the same box first (a drawing is
    // drawn at the box's size): a picture that fails to load leaves the
    // element, the history and the modified flag as they were.
    TLabelElement scratch(ekImage);
    scratch.W = target->W;
    scratch.H = target->H;
    try {
        const int page = ChoosePage(file);
        if (page == 0)
            return;
        scratch.LoadImageFromFile(file, page);
    } catch (const std::exception& ex) {
        ShowPictureLoadError(*FDialogs, this, ex);
        return;
    }
    PushUndo();
    target->SetImagePng(scratch.ImagePng());
    DocChanged();
}
