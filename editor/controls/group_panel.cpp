#include "editor/controls/group_panel.h"

#include "editor/controls/ui_font.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

QWidget* CreateGroupPanel(QWidget* Owner, QWidget* Parent, const QString& Title, int Height)
{
    auto* panel = new QWidget(Parent ? Parent : Owner);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
    panel->setFixedHeight(Height);

    auto* title = new QLabel(Title, panel);
    title->setObjectName(QStringLiteral("GroupTitle"));
    title->setFont(UiFont(10, TUiWeight::Semibold));
    QPalette tp = title->palette();
    tp.setColor(QPalette::WindowText, QColor(32, 32, 32));
    title->setPalette(tp);
    title->setTextFormat(Qt::PlainText);
    title->move(14, 10);
    title->adjustSize();
    return panel;
}
