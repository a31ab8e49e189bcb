// pellwerk-cli: the editor's printing and printer data from the command line.
#include "cli/cli_interrupt.h"
#include "cli/cli_qt_messages.h"
#include "cli/cli_run.h"

#include <QGuiApplication>
#include <QLocale>

#include <cstdio>
#include <iostream>
#ifdef Q_OS_WIN
#include <io.h>
#define PELLWERK_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define PELLWERK_ISATTY(f) isatty(fileno(f))
#endif

int main(int argc, char** argv)
{
    // Rendering needs a GUI application for its fonts, but a command-line
    // run needs no window: without a chosen platform, draw off screen, so the
    // program also works without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietQtMessages();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("MIRVO Pellwerk"));
    QGuiApplication::setOrganizationName(QStringLiteral("MIRVO"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    InstallInterruptHandler();
    TCliStreams streams{std::cout, std::cerr, PELLWERK_ISATTY(stderr) != 0};
    return RunCli(QGuiApplication::arguments().mid(1), streams);
}
