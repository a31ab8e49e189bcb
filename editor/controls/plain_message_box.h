#pragma once
// Message boxes whose text is always shown as typed. Qt guesses rich text
// from anything that looks like a tag, so a label named "<Preis>" would
// vanish from "Änderungen an "<Preis>" speichern?"; every box that may carry
// a user's or a device's text goes through here.

#include <QMessageBox>

QMessageBox::StandardButton PlainMessageBox(QMessageBox::Icon Icon, QWidget* Parent, const QString& Text,
                                            QMessageBox::StandardButtons Buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton DefaultButton = QMessageBox::NoButton);
