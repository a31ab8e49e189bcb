#include "ble/bluez/bluez_inbox.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

TBluezInbox::TBluezInbox()
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::runtime_error("BlueZ backend: no wake-up pipe");
    FRead = fds[0];
    FWrite = fds[1];
    FNotifier = new QSocketNotifier(FRead, QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { Drain(); });
}

TBluezInbox::~TBluezInbox()
{
    delete FNotifier;
    ::close(FRead);
    ::close(FWrite);
}

void TBluezInbox::Push(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FTasks.push_back(std::move(task));
    }
    const char wake = 1;
    // A full pipe already holds a wake-up that is not yet drained.
    while (::write(FWrite, &wake, 1) < 0 && errno == EINTR) {
    }
}

void TBluezInbox::Drain()
{
    char buf[256];
    while (::read(FRead, buf, sizeof buf) > 0) {
    }
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            if (FTasks.empty())
                return;
            task = std::move(FTasks.front());
            FTasks.pop_front();
        }
        task();
    }
}
