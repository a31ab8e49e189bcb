#include "button_fixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

ButtonFixture::ButtonFixture()
    : FHost(std::make_unique<QWidget>())
{
    FHost->setAutoFillBackground(true);
    QPalette pal = FHost->palette();
    pal.setColor(QPalette::Window, Qt::white);
    FHost->setPalette(pal);
    FHost->resize(300, 100);
    FBtn = new TModernButton(FHost.get());
    FBtn->move(10, 10);
}

ButtonFixture::~ButtonFixture() = default;

void ButtonFixture::Enter()
{
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(15, 15));
    QApplication::sendEvent(FBtn, &e);
}

void ButtonFixture::Leave()
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(FBtn, &e);
}

void ButtonFixture::Press(Qt::MouseButton b)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(15, 15), b, b, Qt::NoModifier);
    QApplication::sendEvent(FBtn, &e);
}

void ButtonFixture::Release(QPoint at, Qt::MouseButton b)
{
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), QPointF(at + QPoint(10, 10)), b, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(FBtn, &e);
}

void ButtonFixture::MoveHeld(QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(at + QPoint(10, 10)), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(FBtn, &e);
}

QImage ButtonFixture::Render() const
{
    QImage img(FBtn->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    FBtn->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

static bool Near(QRgb px, QColor c, int tol)
{
    return std::abs(qRed(px) - c.red()) <= tol && std::abs(qGreen(px) - c.green()) <= tol
           && std::abs(qBlue(px) - c.blue()) <= tol;
}

int CountNear(const QImage& img, const QRect& area, QColor c, int tolerance)
{
    int n = 0;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            n += Near(img.pixel(x, y), c, tolerance) ? 1 : 0;
    return n;
}

QRect BoundsOf(const QImage& img, const QRect& area, QColor c, int tolerance)
{
    QRect b;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (Near(img.pixel(x, y), c, tolerance))
                b |= QRect(x, y, 1, 1);
    return b;
}
