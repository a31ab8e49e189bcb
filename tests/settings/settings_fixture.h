#pragma once
// Shared helpers of the settings tests: a private HOME per test (the data
// folder lives under it in QStandardPaths' test mode), small file helpers,
// and two ways to make writing fail that also work for the root user.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SettingsHomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The roaming application-data folder inside this test's HOME.
    QString DataRoot() const;

    QTemporaryDir FHome;

private:
    QByteArray FOldHome;
};

// Creates parent folders as needed; fails the test when the write fails.
void WriteTestFile(const QString& AFileName, const QByteArray& AData);
QByteArray ReadTestFile(const QString& AFileName);
// Names of the entries of AFolder, sorted; empty when it does not exist.
QStringList FolderEntries(const QString& AFolder);

// Makes a folder read-only for the guard's lifetime: no mode bits for
// writing and, since root ignores those, the file system's immutable flag
// where that is allowed. Effective() says whether a file can no longer be
// created in it.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& APath);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Effective() const;

private:
    QString FPath;
    bool FImmutable = false;
};

// A full disk as the process sees it: files cannot grow beyond ABytes while
// the guard lives (writes fail with EFBIG instead of raising SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(long ABytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long FOldSoft = 0;
    bool FActive = false;
    void (*FOldHandler)(int) = nullptr;
};
