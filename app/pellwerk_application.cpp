#include "app/pellwerk_application.h"

#include "editor/controls/plain_message_box.h"

#include <exception>

TPellwerkApplication::TPellwerkApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    ShowError = [](const QString& text) {
        PlainMessageBox(QMessageBox::Critical, QApplication::activeWindow(), text);
    };
}

bool TPellwerkApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}
