#include "edit_mouse.h"

#include "editor/label_main_form.h"
#include "editor/paint_box.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers mods)
{
    const QPointF local(pos);
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

} // namespace

QPoint DotPixel(const TLabelMainForm& Form, int x, int y)
{
    return Form.DesignToScreen(QRect(x, y, 1, 1)).topLeft();
}

void PressPixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods)
{
    Send(Form.Canvas(), QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton, Mods);
}

void MovePixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods)
{
    Send(Form.Canvas(), QEvent::MouseMove, At, Qt::NoButton, Qt::LeftButton, Mods);
}

void ReleasePixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods)
{
    Send(Form.Canvas(), QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton, Mods);
}

void DragPath(TLabelMainForm& Form, const std::vector<QPoint>& Pixels, Qt::KeyboardModifiers Mods)
{
    PressPixel(Form, Pixels.front(), Mods);
    for (size_t i = 1; i < Pixels.size(); ++i)
        MovePixel(Form, Pixels[i], Mods);
    ReleasePixel(Form, Pixels.back(), Mods);
}

void DragPixels(TLabelMainForm& Form, QPoint From, QPoint To, Qt::KeyboardModifiers Mods, int Steps)
{
    std::vector<QPoint> path{From};
    for (int i = 1; i <= Steps; ++i)
        path.push_back(From + (To - From) * i / Steps);
    DragPath(Form, path, Mods);
}

void DragDots(TLabelMainForm& Form, QPoint From, QPoint To, Qt::KeyboardModifiers Mods)
{
    DragPixels(Form, DotPixel(Form, From.x(), From.y()), DotPixel(Form, To.x(), To.y()), Mods);
}

void ClickDot(TLabelMainForm& Form, QPoint At)
{
    const QPoint p = DotPixel(Form, At.x(), At.y());
    Send(Form.Canvas(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Send(Form.Canvas(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
}

void DoubleClickPixel(TLabelMainForm& Form, QPoint At)
{
    QWidget* box = Form.Canvas();
    Send(box, QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Send(box, QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    Send(box, QEvent::MouseButtonDblClick, At, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Send(box, QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
}

void HoverPixel(TLabelMainForm& Form, QPoint At)
{
    Send(Form.Canvas(), QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
}

void PrintTo(const QPoint& P, std::ostream* os)
{
    *os << "(" << P.x() << ", " << P.y() << ")";
}

void PrintTo(const QRect& R, std::ostream* os)
{
    *os << "(" << R.x() << ", " << R.y() << ", " << R.width() << " x " << R.height() << ")";
}
