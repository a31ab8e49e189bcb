#pragma once
// The application object. Errors that an event handler does not catch end up
// here: the user sees the German message in a box and the window stays
// usable, instead of the program ending.

#include <QApplication>
#include <functional>

class TPellwerkApplication : public QApplication {
public:
    TPellwerkApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an uncaught error; tests replace it to see what a user would see.
    std::function<void(const QString&)> ShowError;
};
