#include "editor/controls/plain_message_box.h"

#include <QApplication>

QMessageBox::StandardButton PlainMessageBox(QMessageBox::Icon Icon, QWidget* Parent, const QString& Text,
                                            QMessageBox::StandardButtons Buttons,
                                            QMessageBox::StandardButton DefaultButton)
{
    QMessageBox box(Icon, QApplication::applicationDisplayName(), Text, Buttons, Parent);
    box.setTextFormat(Qt::PlainText);
    if (DefaultButton != QMessageBox::NoButton)
        box.setDefaultButton(DefaultButton);
    // With standard buttons exec() answers the button; closing the box by its
    // frame or Escape answers the escape button (Cancel or No).
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
