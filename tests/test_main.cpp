// Test entry point shared by every test program: a QApplication exists for the
// whole run (widgets, fonts and pixmaps need one), and QStandardPaths is put
// into test mode so nothing reaches the user's real data folder.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
