#include "settings_fixture.h"

#include "settings/data_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

void SettingsHomeTest::SetUp()
{
    ASSERT_TRUE(FHome.isValid());
    FOldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(FHome.path()));
    // Never let a test reach a real data folder.
    ASSERT_TRUE(DataRoot().startsWith(FHome.path())) << DataRoot().toStdString();
}

void SettingsHomeTest::TearDown()
{
    qputenv("HOME", FOldHome);
}

QString SettingsHomeTest::DataRoot() const
{
    return RoamingDataDir();
}

void WriteTestFile(const QString& AFileName, const QByteArray& AData)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(AFileName).path()));
    QFile File(AFileName);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate)) << AFileName.toStdString();
    ASSERT_EQ(File.write(AData), AData.size());
}

QByteArray ReadTestFile(const QString& AFileName)
{
    QFile File(AFileName);
    if (!File.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << AFileName.toStdString();
        return {};
    }
    return File.readAll();
}

QStringList FolderEntries(const QString& AFolder)
{
    return QDir(AFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                   QDir::Name);
}

namespace {

bool SetImmutable(const QString& APath, bool AOn)
{
    const int Fd = ::open(QFile::encodeName(APath).constData(), O_RDONLY | O_DIRECTORY);
    if (Fd < 0)
        return false;
    int Flags = 0;
    bool Ok = ::ioctl(Fd, FS_IOC_GETFLAGS, &Flags) == 0;
    if (Ok) {
        Flags = AOn ? (Flags | FS_IMMUTABLE_FL) : (Flags & ~FS_IMMUTABLE_FL);
        Ok = ::ioctl(Fd, FS_IOC_SETFLAGS, &Flags) == 0;
    }
    ::close(Fd);
    return Ok;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString& APath) : FPath(APath)
{
    QFile::setPermissions(FPath, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                     QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    if (!Effective())
        FImmutable = SetImmutable(FPath, true);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (FImmutable)
        SetImmutable(FPath, false);
    QFile::setPermissions(FPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool ReadOnlyFolder::Effective() const
{
    const QByteArray Probe = QFile::encodeName(FPath + QStringLiteral("/.probe"));
    const int Fd = ::open(Probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (Fd < 0)
        return true;
    ::close(Fd);
    ::unlink(Probe.constData());
    return false;
}

FileSizeLimit::FileSizeLimit(long ABytes)
{
    rlimit Limit{};
    if (::getrlimit(RLIMIT_FSIZE, &Limit) != 0) {
        ADD_FAILURE() << "getrlimit failed";
        return;
    }
    FOldSoft = Limit.rlim_cur;
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    Limit.rlim_cur = static_cast<rlim_t>(ABytes);
    FActive = ::setrlimit(RLIMIT_FSIZE, &Limit) == 0;
    if (!FActive)
        ADD_FAILURE() << "setrlimit failed";
}

FileSizeLimit::~FileSizeLimit()
{
    if (FActive) {
        rlimit Limit{};
        ::getrlimit(RLIMIT_FSIZE, &Limit);
        Limit.rlim_cur = static_cast<rlim_t>(FOldSoft);
        ::setrlimit(RLIMIT_FSIZE, &Limit);
    }
    std::signal(SIGXFSZ, FOldHandler);
}
