// Editing on the canvas: selection, handles, dragging and resizing with the
// mouse, the double click and nudging with the arrow keys.
#include "editor/canvas_geometry.h"
#include "editor/edit_drag.h"
#include "editor/label_main_form.h"
#include "editor/props_code_group.h"
#include "editor/paint_box.h"
#include "editor/props_spin_edit.h"
#include "editor/props_updating.h"
#include "editor/snap_guides.h"
#include "model/dot_math.h"
#include "model/label_doc.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <algorithm>

int TLabelMainForm::HandleAt(int x, int y) const
{
    // Handles belong to a single selection; a group is moved, not resized.
    if (!FSel || MultiSelected())
        return -1;
    const QRect r = DesignToScreen(FSel->BoundsRect().ToQRect());
    for (int i = 0; i < 4; ++i)
        if (HandleRect(i, r).contains(x, y))
            return i;
    return -1;
}

void TLabelMainForm::BindCanvasMouse()
{
    PaintBox->OnMouseDown = [this](QMouseEvent* e) { PaintBoxMouseDown(e); };
    PaintBox->OnMouseMove = [this](QMouseEvent* e) { PaintBoxMouseMove(e); };
    PaintBox->OnMouseUp = [this](QMouseEvent* e) { PaintBoxMouseUp(e); };
    PaintBox->OnDblClick = [this](QMouseEvent* e) { PaintBoxDblClick(e); };
}

void TLabelMainForm::PaintBoxMouseDown(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        // The menu acts on what is under the mouse: an element outside the
        // selection becomes the selection first; empty space keeps it.
        const QPoint pix = e->position().toPoint();
        TLabelElement* E = FDoc->HitTest(ScreenToDesign(pix.x(), pix.y()));
        if (E && !IsSelected(E))
            SelectElement(E);
        ShowContextMenu(pix);
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    // Arrow keys and Delete act on elements once the canvas was clicked.
    Scroll->setFocus(Qt::MouseFocusReason);
    const QPoint pix = e->position().toPoint();
    const QPoint P = ScreenToDesign(pix.x(), pix.y());
    const bool adding = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    FNarrowOnRelease = false;
    const int h = adding ? -1 : HandleAt(pix.x(), pix.y());
    if (h >= 0) {
        // A handle of the selection wins over any element lying above it.
        FDrag = edResize;
        FDragCorner = h;
    } else {
        TLabelElement* E = FDoc->HitTest(P);
        if (adding && E) {
            ToggleSelected(E);
            return;
        }
        if (!E) {
            if (!adding)
                SelectElement(nullptr);
            FDrag = edRubber;
            FDragStart = P;
            FRubberEnd = P;
            FDragGroup.clear();
            for (TLabelElement* s : SelectedElements())
                FDragGroup.emplace_back(s, s->BoundsRect());
            return;
        }
        if (IsSelected(E) && MultiSelected()) {
            // The whole group goes with the drag; a plain click narrows it.
            FNarrowOnRelease = true;
            if (E != FSel) {
                FSel = E;
                ShowElemProps();
                RepaintCanvas();
            }
        } else {
            SelectElement(E);
        }
        FDrag = edMove;
    }
    FDragStart = P;
    FDragOrig = FSel->BoundsRect();
    FDragGroup.clear();
    for (TLabelElement* s : SelectedElements())
        FDragGroup.emplace_back(s, s->BoundsRect());
    FDragMoved = false;
}

void TLabelMainForm::SetCanvasCursor(int x, int y)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (HandleAt(x, y)) {
    case 0:
    case 2: shape = Qt::SizeFDiagCursor; break;
    case 1:
    case 3: shape = Qt::SizeBDiagCursor; break;
    default:
        if (FDoc->HitTest(ScreenToDesign(x, y)))
            shape = Qt::SizeAllCursor;
        break;
    }
    if (PaintBox->cursor().shape() != shape)
        PaintBox->setCursor(shape);
}

void TLabelMainForm::PaintBoxMouseMove(QMouseEvent* e)
{
    const QPoint pix = e->position().toPoint();
    // The selection can vanish under a held button (Delete, a new label);
    // the drag ends with it.
    if ((FDrag == edMove || FDrag == edResize) && !FSel)
        FDrag = edNone;
    if (FDrag == edNone) {
        SetCanvasCursor(pix.x(), pix.y());
        return;
    }
    const QPoint P = ScreenToDesign(pix.x(), pix.y());
    if (FDrag == edRubber) {
        // Only the band changes: the rendered label stays cached.
        FRubberEnd = P;
        PaintBox->update();
        return;
    }
    const int32_t dx = DotSub(P.x(), FDragStart.x());
    const int32_t dy = DotSub(P.y(), FDragStart.y());
    if (!FDragMoved && dx == 0 && dy == 0)
        return;
    const bool alt = e->modifiers().testFlag(Qt::AltModifier);
    if (FDrag == edMove) {
        MoveSelectionBy(dx, dy, alt);
        return;
    }
    // Computed from the press alone, so the result does not depend on how
    // many move events arrive; computed before the snapshot, so a value that
    // does not fit leaves neither a change nor an empty undo step.
    const TDotRect B = editdrag::Resized(FDragOrig, FDragCorner, dx, dy, alt, editdrag::MinSize(FSel->Kind));
    ApplyBounds({{FSel, B}});
}

void TLabelMainForm::MoveSelectionBy(int32_t dx, int32_t dy, bool Alt)
{
    // The primary element's corner lands on the grid and the group follows
    // it; near a guide the group's edge or centre lands on the guide instead.
    const TDotRect primary = editdrag::Moved(FDragOrig, dx, dy, Alt);
    int32_t mx = DotSub(primary.Left, FDragOrig.Left);
    int32_t my = DotSub(primary.Top, FDragOrig.Top);
    FGuides.clear();
    if (!Alt) {
        TDotRect group = FDragGroup.front().second;
        std::vector<TDotRect> others;
        for (const auto& [el, r] : FDragGroup) {
            group = {std::min(group.Left, r.Left), std::min(group.Top, r.Top), std::max(group.Right, r.Right),
                     std::max(group.Bottom, r.Bottom)};
        }
        for (const auto& el : FDoc->Elements)
            if (!IsSelected(el.get()))
                others.push_back(el->BoundsRect());
        const TDotRect raw{DotAdd(group.Left, dx), DotAdd(group.Top, dy), DotAdd(group.Right, dx),
                           DotAdd(group.Bottom, dy)};
        const int32_t DW = FDoc->DesignWidth(), DH = FDoc->DesignHeight();
        const snapguides::TSnap snap = snapguides::Snap(raw, snapguides::Targets(DW, DH, others), DW, DH);
        if (snap.SnapX)
            mx = DotAdd(dx, snap.Dx);
        if (snap.SnapY)
            my = DotAdd(dy, snap.Dy);
        FGuides = snap.Guides;
    }
    std::vector<std::pair<TLabelElement*, TDotRect>> bounds;
    for (const auto& [el, r] : FDragGroup)
        bounds.emplace_back(el, TDotRect{DotAdd(r.Left, mx), DotAdd(r.Top, my), DotAdd(r.Right, mx),
                                         DotAdd(r.Bottom, my)});
    ApplyBounds(bounds);
}

void TLabelMainForm::ApplyBounds(const std::vector<std::pair<TLabelElement*, TDotRect>>& Bounds)
{
    // Sizes are computed (and may raise) before the snapshot.
    std::vector<std::pair<int32_t, int32_t>> sizes;
    for (const auto& [el, b] : Bounds)
        sizes.emplace_back(b.Width(), b.Height());
    if (!FDragMoved) {
        PushUndo();
        FDragMoved = true;
    }
    for (size_t i = 0; i < Bounds.size(); ++i) {
        TLabelElement* el = Bounds[i].first;
        el->X = Bounds[i].second.Left;
        el->Y = Bounds[i].second.Top;
        el->W = sizes[i].first;
        el->H = sizes[i].second;
    }
    if (FSel && !MultiSelected()) {
        // The position fields follow the drag without writing back.
        TUpdatingScope updating(FUpdating);
        SeX->SetValue(FSel->X);
        SeY->SetValue(FSel->Y);
        SeW->SetValue(FSel->W);
        SeH->SetValue(FSel->H);
    } else {
        ShowElemProps();
    }
    DocChanged();
}

void TLabelMainForm::PaintBoxMouseUp(QMouseEvent*)
{
    const TEditDrag was = FDrag;
    FDrag = edNone;
    FGuides.clear();
    if (was == edRubber) {
        // What the band touches joins what was selected when it began.
        const QRect band = QRect(FDragStart, FRubberEnd).normalized();
        std::vector<TLabelElement*> sel;
        for (const auto& [el, r] : FDragGroup)
            sel.push_back(el);
        if (FRubberEnd != FDragStart)
            for (const auto& el : FDoc->Elements)
                if (el->BoundsRect().ToQRect().intersects(band))
                    sel.push_back(el.get());
        FDragGroup.clear();
        SetSelection(sel, sel.empty() ? nullptr : sel.back());
        return;
    }
    if (was == edMove && FNarrowOnRelease && !FDragMoved)
        SelectElement(FSel);
    FNarrowOnRelease = false;
    PaintBox->update();  // the guides go
}

void TLabelMainForm::PaintBoxDblClick(QMouseEvent* e)
{
    // The first click of the double click has selected the element already.
    if (e->button() != Qt::LeftButton || !FSel)
        return;
    if (FSel->Kind == ekText) {
        if (MemoText) {
            MemoText->setFocus(Qt::MouseFocusReason);
            MemoText->selectAll();
        }
    } else if (FSel->Kind == ekImage) {
        FDrag = edNone;
        ReplaceImage();
    } else if (FSel->Kind == ekCode && FCodeGroup) {
        FCodeGroup->FocusData();
    }
}

void TLabelMainForm::NudgeSelected(int dx, int dy, bool Large)
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    const int32_t step = Large ? 8 : 1;
    std::vector<QPoint> to;
    for (const TLabelElement* e : sel) {
        const int32_t X = DotAdd(e->X, DotMul(dx, step));
        const int32_t Y = DotAdd(e->Y, DotMul(dy, step));
        // The far edges must still fit, or the element could not be drawn.
        (void)DotAdd(X, e->W);
        (void)DotAdd(Y, e->H);
        to.emplace_back(X, Y);
    }
    PushUndoMerged();
    for (size_t i = 0; i < sel.size(); ++i) {
        sel[i]->X = to[i].x();
        sel[i]->Y = to[i].y();
    }
    ShowElemProps();
    DocChanged();
}
