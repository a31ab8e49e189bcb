#pragma once
// Work handed to a Qt thread from any other thread: a queue under a standard
// mutex and a wake-up pipe watched by a socket notifier on the receiving
// thread. Unlike a queued Qt invocation, every hand-over here is a plain
// mutex and pipe operation, which race checkers can follow.

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;

class TBluezInbox : public QObject {
public:
    // Create on the receiving thread; tasks run there, in the order pushed.
    TBluezInbox();
    ~TBluezInbox() override;
    TBluezInbox(const TBluezInbox&) = delete;
    TBluezInbox& operator=(const TBluezInbox&) = delete;

    // Any thread. The owner makes sure nobody pushes once it destroys the inbox;
    // tasks still queued then are dropped unrun.
    void Push(std::function<void()> task);

private:
    void Drain();

    int FRead = -1;
    int FWrite = -1;
    QSocketNotifier* FNotifier = nullptr;
    std::mutex FMutex;
    std::deque<std::function<void()>> FTasks;
};
