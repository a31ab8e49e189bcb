#include "editor/paint_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

TPaintBox::TPaintBox(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox"));
    setMouseTracking(true);  // cursor shapes follow the handles without a button held
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    if (OnPaint)
        OnPaint(p, e->rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* e)
{
    if (OnMouseDown)
        OnMouseDown(e);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouseMove)
        OnMouseMove(e);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(e);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (OnDblClick)
        OnDblClick(e);
}
