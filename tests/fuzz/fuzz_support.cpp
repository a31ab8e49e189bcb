#include "fuzz_support.h"

#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

void FuzzEnsureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    // Never a real display and never the user's data folder.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    static int Argc = 1;
    static char Name[] = "pellwerk-fuzz";
    static char* Argv[] = {Name, nullptr};
    static QGuiApplication App(Argc, Argv);
}

QString FuzzScratchDir()
{
    static std::unique_ptr<QTemporaryDir> Dir;
    if (!Dir) {
        Dir = std::make_unique<QTemporaryDir>();
        if (!Dir->isValid()) {
            std::fprintf(stderr, "fuzz: no scratch folder: %s\n", qPrintable(Dir->errorString()));
            std::abort();
        }
    }
    return Dir->path();
}

void FuzzFail(const char* What, const QString& Expected, const QString& Got)
{
    std::fprintf(stderr, "fuzz property broken: %s\n  expected: %s\n  got:      %s\n", What,
                 qPrintable(Expected.left(2000)), qPrintable(Got.left(2000)));
    std::abort();
}
