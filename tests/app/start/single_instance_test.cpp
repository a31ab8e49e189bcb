// One editor per user: a later start hands its file to the running one over
// the local socket, and nothing left behind by a crashed editor or sent by a
// stranger on the socket gets in the way.
#include "app/single_instance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

namespace {

// Runs Work on a thread of its own while this thread's event loop goes on.
void RunInThread(const std::function<void()>& Work)
{
    std::unique_ptr<QThread> thread(QThread::create(Work));
    thread->start();
    while (!thread->isFinished())
        QTest::qWait(5);
    thread->wait();
}

class SingleInstance : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Socket() const { return Dir.filePath("pellwerk.socket"); }

    // A second start runs in its own thread, as it would in its own process:
    // the running editor answers from this thread's event loop meanwhile.
    bool SecondStart(const QString& File, int TimeoutMs = 5000)
    {
        std::atomic<int> result{-1};
        RunInThread([&] {
            TSingleInstance second(Socket());
            result = second.HandOverOrListen(File, TimeoutMs) ? 1 : 0;
        });
        return result == 1;
    }
};

TEST_F(SingleInstance, ALaterStartHandsItsFileToTheRunningEditor)
{
    TSingleInstance first(Socket());
    ASSERT_FALSE(first.HandOverOrListen({}, 1000));
    ASSERT_TRUE(first.IsListening());
    QSignalSpy spy(&first, &TSingleInstance::OpenRequested);

    const QString file = QString::fromUtf8("/tmp/Ä b/Preis\nschild.pellwerk");  // any byte a path may hold
    EXPECT_TRUE(SecondStart(file));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), file);

    // A start without a file only asks for the window.
    EXPECT_TRUE(SecondStart({}));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toString(), QString());
}

TEST_F(SingleInstance, WhatACrashedEditorLeftIsTakenOver)
{
    // The socket file of an editor that died: nobody listens there any more.
    QFile stale(Socket());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    ASSERT_FALSE(QLocalServer().listen(Socket()));

    TSingleInstance next(Socket());
    EXPECT_FALSE(next.HandOverOrListen("/tmp/a.pellwerk", 1000));
    EXPECT_TRUE(next.IsListening());
}

TEST_F(SingleInstance, AnEditorThatDoesNotAnswerDoesNotBlockTheStart)
{
    // Something accepts on the socket but never answers (a hung editor).
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(Socket()));
    bool handedOver = true;
    bool listening = true;
    RunInThread([&] {
        TSingleInstance second(Socket());
        handedOver = second.HandOverOrListen("/tmp/a.pellwerk", 200);
        listening = second.IsListening();
    });
    EXPECT_FALSE(handedOver);
    // The name is taken, so it cannot listen; the editor starts anyway.
    EXPECT_FALSE(listening);
}

TEST_F(SingleInstance, StrangersOnTheSocketAreIgnored)
{
    TSingleInstance first(Socket());
    ASSERT_FALSE(first.HandOverOrListen({}, 1000));
    QSignalSpy spy(&first, &TSingleInstance::OpenRequested);

    for (const QByteArray& junk : {QByteArray("GET / HTTP/1.0\r\n\r\n"), QByteArray(70 * 1024, 'x')}) {
        SCOPED_TRACE(junk.left(8).toStdString());
        QLocalSocket s;
        s.connectToServer(Socket());
        ASSERT_TRUE(s.waitForConnected(1000));
        s.write(junk);
        s.waitForBytesWritten(1000);
        // The editor drops the connection without an answer.
        for (int i = 0; i < 500 && s.state() != QLocalSocket::UnconnectedState; ++i)
            QTest::qWait(10);
        EXPECT_EQ(s.state(), QLocalSocket::UnconnectedState);
        EXPECT_EQ(s.bytesAvailable(), 0);
    }
    EXPECT_EQ(spy.count(), 0);
    // And still serves a real start afterwards.
    EXPECT_TRUE(SecondStart("/tmp/b.pellwerk"));
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
