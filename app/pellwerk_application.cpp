#include "app/pellwerk_application.h"

#include <QMessageBox>
#include <exception>

TPellwerkApplication::TPellwerkApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    ShowError = [](const QString& text) {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
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
