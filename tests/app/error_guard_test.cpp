// An error that a command handler does not catch must reach the user as a
// message box with its German text, and the program must go on running.
#include "app/pellwerk_application.h"

#include <QEvent>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TPellwerkApplication* App = nullptr;

// A command handler that fails: it raises from inside the event loop, the
// way a click on "Speichern" does when the file cannot be written.
class TFailingHandler : public QObject {
public:
    int Calls = 0;
    bool Plain = false;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++Calls;
        if (Plain)
            throw 42;
        throw std::runtime_error("Die Datei \"a.pellwerk\" konnte nicht gespeichert werden");
    }
};

TEST(ErrorGuard, UncaughtErrorIsShownAndTheEventLoopGoesOn)
{
    QStringList shown;
    App->ShowError = [&shown](const QString& text) { shown << text; };
    TFailingHandler handler;

    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    ASSERT_EQ(shown, QStringList{QStringLiteral("Die Datei \"a.pellwerk\" konnte nicht gespeichert werden")});

    // The loop survived: the next command runs and fails the same way.
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(handler.Calls, 2);
    EXPECT_EQ(shown.size(), 2);
}

TEST(ErrorGuard, ErrorsWithoutAMessageGetAGermanText)
{
    QStringList shown;
    App->ShowError = [&shown](const QString& text) { shown << text; };
    TFailingHandler handler;
    handler.Plain = true;
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Unbekannter Fehler")});
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    TPellwerkApplication app(argc, argv);
    App = &app;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
