#pragma once
// A white host window with one flat button in it, and helpers that drive the
// button with real mouse events and look at what it paints.
#include "editor/controls/modern_button.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <memory>

class ButtonFixture {
public:
    ButtonFixture();
    ~ButtonFixture();

    TModernButton* Btn() const { return FBtn; }
    QWidget* Host() const { return FHost.get(); }

    void Enter();
    void Leave();
    void Press(Qt::MouseButton b = Qt::LeftButton);
    void Release(QPoint at, Qt::MouseButton b = Qt::LeftButton);
    void Release(Qt::MouseButton b = Qt::LeftButton) { Release(QPoint(5, 5), b); }
    void MoveHeld(QPoint at);

    // The button as painted over the white host, in button coordinates.
    QImage Render() const;

private:
    std::unique_ptr<QWidget> FHost;
    TModernButton* FBtn = nullptr;
};

// Pixels of `img` inside `area` whose colour is within `tolerance` of `c`
// on every channel.
int CountNear(const QImage& img, const QRect& area, QColor c, int tolerance = 40);
// Smallest rectangle holding all pixels within `tolerance` of `c`.
QRect BoundsOf(const QImage& img, const QRect& area, QColor c, int tolerance = 40);
