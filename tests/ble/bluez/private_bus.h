#pragma once
// A private message bus for one test: a dbus-daemon of our own on a unix
// socket in a temporary folder, stopped (by its own process id) when the
// object goes. Nothing reaches the machine's system or session bus.

#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

class TPrivateBus {
public:
    // Throws std::runtime_error when the daemon does not come up.
    TPrivateBus();
    ~TPrivateBus();
    TPrivateBus(const TPrivateBus&) = delete;
    TPrivateBus& operator=(const TPrivateBus&) = delete;

    const QString& Address() const { return FAddress; }

private:
    void Stop();

    QTemporaryDir FDir;
    pid_t FPid = -1;
    QString FAddress;
};
