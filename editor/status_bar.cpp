#include "editor/status_bar.h"

#include <QLabel>
#include <QMouseEvent>
#include <stdexcept>

namespace {
constexpr int PanelWidths[4] = {380, 140, 90, 600};
}

TStatusBar::TStatusBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Status"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(243, 243, 243));
    setPalette(pal);
    setFixedHeight(24);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Klick: Drucker & Druckeinstellungen"));
    // The panels are placed by hand, not by a layout: their widths are
    // fixed, and a narrow window cuts them off at its right edge instead of
    // being held wide by them.
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setContentsMargins(6, 0, 6, 0);
        l->setTextFormat(Qt::PlainText);
        // Panels are separated like the classic status bar: a thin line on the right.
        l->setStyleSheet(QStringLiteral("QLabel { border-right: 1px solid rgb(229,229,229); color: rgb(32,32,32); }"));
        FPanels[i] = l;
    }
    PlacePanels();
}

QSize TStatusBar::minimumSizeHint() const
{
    return {0, height()};
}

QSize TStatusBar::sizeHint() const
{
    int w = 0;
    for (int pw : PanelWidths)
        w += pw;
    return {w, height()};
}

void TStatusBar::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    PlacePanels();
}

void TStatusBar::PlacePanels()
{
    int x = 0;
    for (int i = 0; i < 4; ++i) {
        FPanels[i]->setGeometry(x, 0, PanelWidths[i], height());
        x += PanelWidths[i];
    }
}

void TStatusBar::SetText(int index, const QString& text)
{
    if (index < 0 || index >= 4)
        throw std::out_of_range("Statusfeld außerhalb des Bereichs");
    FPanels[index]->setText(text);
}

QString TStatusBar::Text(int index) const
{
    if (index < 0 || index >= 4)
        throw std::out_of_range("Statusfeld außerhalb des Bereichs");
    return FPanels[index]->text();
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick();
    QWidget::mouseReleaseEvent(e);
}
