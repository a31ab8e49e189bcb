// The window-wide keyboard table and the application-wide mouse-wheel hook.
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "model/label_doc.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

bool TLabelMainForm::FocusInTextField() const
{
    // Editable text of any kind keeps its own arrows, Delete and Ctrl+Z;
    // a combo box counts even when it is not editable.
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)
            || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w))
            return true;
        if (w == this)
            break;
    }
    return false;
}

bool TLabelMainForm::FormKeyDown(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const int key = e->key();

    if (key == Qt::Key_F1) {
        OpenHelp(0);
        return true;
    }
    if (ctrl) {
        const bool shift = mods.testFlag(Qt::ShiftModifier);
        switch (key) {
        case Qt::Key_N: NewLabel(); return true;
        case Qt::Key_S: SaveLabel(); return true;
        case Qt::Key_D: DuplicateSelected(); return true;
        case Qt::Key_P: PrintLabel(); return true;
        case Qt::Key_0: ZoomFit(); return true;
        case Qt::Key_1: SetZoom(1.0); return true;
        default: break;
        }
        // These belong to a text field while it has the focus.
        if (FocusInTextField())
            return false;
        switch (key) {
        case Qt::Key_Z:
            if (shift)
                Redo();
            else
                Undo();
            return true;
        case Qt::Key_Y: Redo(); return true;
        case Qt::Key_C: CopySelected(); return true;
        case Qt::Key_X: CutSelected(); return true;
        case Qt::Key_V: PasteElements(); return true;
        case Qt::Key_A: SelectAll(); return true;
        default: return false;
        }
    }
    if (FocusInTextField())
        return false;
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && FocusOnCanvas())
        return CanvasTab(key == Qt::Key_Backtab || mods.testFlag(Qt::ShiftModifier) ? -1 : 1);
    if (!FSel)
        return false;
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    switch (key) {
    case Qt::Key_Left: NudgeSelected(-1, 0, shift); return true;
    case Qt::Key_Right: NudgeSelected(1, 0, shift); return true;
    case Qt::Key_Up: NudgeSelected(0, -1, shift); return true;
    case Qt::Key_Down: NudgeSelected(0, 1, shift); return true;
    case Qt::Key_Delete: DeleteSelected(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!FocusOnCanvas() || FSel->Kind != ekText)
            return false;
        EditSelectedText();
        return true;
    default: return false;
    }
}

bool TLabelMainForm::FocusOnCanvas() const
{
    const QWidget* f = QApplication::focusWidget();
    return f && Scroll && (f == Scroll || Scroll->isAncestorOf(f));
}

bool TLabelMainForm::CanvasTab(int Dir)
{
    // Tab walks through the elements in drawing order; past the last one
    // (or before the first) it leaves the canvas as Tab does everywhere.
    const int n = FDoc->Elements.Count();
    const int i = FSel ? FDoc->Elements.IndexOf(FSel) : -1;
    const int next = FSel ? i + Dir : (Dir > 0 ? 0 : n - 1);
    if (next < 0 || next >= n) {
        SelectElement(nullptr);
        return false;
    }
    SelectElement(FDoc->Elements[next]);
    return true;
}

bool TLabelMainForm::AppEventsMessage(QObject* watched, QEvent* event)
{
    Q_UNUSED(watched);
    if (event->type() != QEvent::Wheel || !Scroll || !isActiveWindow())
        return false;
    auto* we = static_cast<QWheelEvent*>(event);
    QWidget* viewport = Scroll->viewport();
    const QPoint P = viewport->mapFromGlobal(we->globalPosition().toPoint());
    if (!viewport->rect().contains(P))
        return false;
    const int delta = we->angleDelta().y();
    if (we->modifiers().testFlag(Qt::ShiftModifier)) {
        QScrollBar* bar = Scroll->verticalScrollBar();
        bar->setValue(bar->value() - delta / 2);
    } else if (delta > 0) {
        StepZoom(+1, P);
    } else if (delta < 0) {
        StepZoom(-1, P);
    }
    return true;
}

bool TLabelMainForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Key preview: the window sees a key before the focused control, once,
        // when it is delivered to that control (or to the window itself).
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != this)
            break;
        const QWidget* focus = QApplication::focusWidget();
        if (focus ? w != focus : w != this)
            break;
        auto* ke = static_cast<QKeyEvent*>(event);
        if (CbZoom && (w == CbZoom || w == CbZoom->lineEdit()) && CbZoomKeyDown(ke))
            return true;
        return FormKeyDown(ke);
    }
    case QEvent::Wheel:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == this)
            return AppEventsMessage(watched, event);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
