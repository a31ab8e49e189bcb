#include "private_bus.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#if defined(__SANITIZE_THREAD__)
// Every test of this folder starts a private bus, so this file is linked into
// each of them. Qt, QtDBus and libdbus are not built with ThreadSanitizer:
// they hand messages between their own threads through locks it cannot see,
// so their memory accesses are left unjudged. Our own code, and every lock
// and atomic it uses, is still checked in full.
extern "C" const char* __tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}
#endif

namespace {
// Session-like and wide open: the test's own processes are the only clients.
const char* const kConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// The first line the daemon prints (its address), waiting at most timeoutMs.
std::string ReadLine(int fd, int timeoutMs)
{
    std::string line;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            throw std::runtime_error("dbus-daemon printed no address");
        char c;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("dbus-daemon ended before printing its address");
        if (c == '\n')
            return line;
        line += c;
    }
}
} // namespace

TPrivateBus::TPrivateBus()
{
    if (!FDir.isValid())
        throw std::runtime_error("no temporary folder for the private bus");
    const QString configPath = FDir.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly)
        || config.write(QString::fromLatin1(kConfig).arg(FDir.path()).toUtf8()) < 0)
        throw std::runtime_error("cannot write the private bus configuration");
    config.close();

    // posix_spawn rather than QProcess: the latter starts children with
    // vfork semantics, which ThreadSanitizer cannot follow.
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for dbus-daemon");
    std::string configArg = "--config-file=" + configPath.toStdString();
    char prog[] = "dbus-daemon";
    char nofork[] = "--nofork";
    char printAddress[] = "--print-address=1";
    char* argv[] = {prog, configArg.data(), nofork, printAddress, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = ::posix_spawnp(&FPid, prog, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        FPid = -1;
        throw std::runtime_error("dbus-daemon did not start");
    }
    try {
        FAddress = QString::fromStdString(ReadLine(out[0], 5000)).trimmed();
    } catch (...) {
        ::close(out[0]);
        Stop();
        throw;
    }
    ::close(out[0]);
    if (FAddress.isEmpty()) {
        Stop();
        throw std::runtime_error("dbus-daemon printed an empty address");
    }
}

TPrivateBus::~TPrivateBus()
{
    Stop();
}

void TPrivateBus::Stop()
{
    if (FPid <= 0)
        return;
    ::kill(FPid, SIGTERM);
    int status = 0;
    while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
    }
    FPid = -1;
}
