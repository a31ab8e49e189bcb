// Editing on the canvas: selection, handles, dragging and resizing with the
// mouse, the double click and nudging with the arrow keys.
#include "editor/canvas_geometry.h"
#include "editor/edit_drag.h"
#include "editor/label_main_form.h"
#include "editor/props_code_group.h"
#include "editor/paint_box.h"
#include "editor/props_spin_edit.h"
#include "editor/props_updating.h"
#include "model/dot_math.h"
#include "model/label_doc.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>

void TLabelMainForm::SelectElement(TLabelElement* E)
{
    if (E == FSel)
        return;
    // A drag belongs to the element it started on.
    FDrag = edNone;
    FSel = E;
    ShowElemProps();
    RepaintCanvas();
}

int TLabelMainForm::HandleAt(int x, int y) const
{
    if (!FSel)
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
    if (e->button() != Qt::LeftButton)
        return;
    // Arrow keys and Delete act on elements once the canvas was clicked.
    Scroll->setFocus(Qt::MouseFocusReason);
    const QPoint pix = e->position().toPoint();
    const int h = HandleAt(pix.x(), pix.y());
    if (h >= 0) {
        // A handle of the selection wins over any element lying above it.
        FDrag = edResize;
        FDragCorner = h;
    } else {
        TLabelElement* E = FDoc->HitTest(ScreenToDesign(pix.x(), pix.y()));
        SelectElement(E);
        if (!E)
            return;
        FDrag = edMove;
    }
    FDragStart = ScreenToDesign(pix.x(), pix.y());
    FDragOrig = FSel->BoundsRect();
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
    if (FDrag != edNone && !FSel)
        FDrag = edNone;
    if (FDrag == edNone) {
        SetCanvasCursor(pix.x(), pix.y());
        return;
    }
    const QPoint P = ScreenToDesign(pix.x(), pix.y());
    const int32_t dx = DotSub(P.x(), FDragStart.x());
    const int32_t dy = DotSub(P.y(), FDragStart.y());
    if (!FDragMoved && dx == 0 && dy == 0)
        return;
    const bool alt = e->modifiers().testFlag(Qt::AltModifier);
    // Computed from the press alone, so the result does not depend on how
    // many move events arrive; computed before the snapshot, so a value that
    // does not fit leaves neither a change nor an empty undo step.
    const TDotRect B = FDrag == edMove
                           ? editdrag::Moved(FDragOrig, dx, dy, alt)
                           : editdrag::Resized(FDragOrig, FDragCorner, dx, dy, alt, editdrag::MinSize(FSel->Kind));
    const int32_t W = B.Width();
    const int32_t H = B.Height();
    if (!FDragMoved) {
        PushUndo();
        FDragMoved = true;
    }
    FSel->X = B.Left;
    FSel->Y = B.Top;
    FSel->W = W;
    FSel->H = H;
    {
        // The position fields follow the drag without writing back.
        TUpdatingScope updating(FUpdating);
        SeX->SetValue(B.Left);
        SeY->SetValue(B.Top);
        SeW->SetValue(W);
        SeH->SetValue(H);
    }
    DocChanged();
}

void TLabelMainForm::PaintBoxMouseUp(QMouseEvent*)
{
    FDrag = edNone;
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
    if (!FSel)
        return;
    const int32_t step = Large ? 8 : 1;
    const int32_t X = DotAdd(FSel->X, DotMul(dx, step));
    const int32_t Y = DotAdd(FSel->Y, DotMul(dy, step));
    // The far edges must still fit, or the element could not be drawn.
    (void)DotAdd(X, FSel->W);
    (void)DotAdd(Y, FSel->H);
    PushUndoMerged();
    FSel->X = X;
    FSel->Y = Y;
    ShowElemProps();
    DocChanged();
}
