#include "app/single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// First word of every request; anything else on the socket is not ours.
constexpr quint32 kRequestMagic = 0x50574b31;  // "PWK1"
constexpr char kAccepted = 'A';
// A path is short; a client that sends more is not a Pellwerk start.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

} // namespace

TSingleInstance::TSingleInstance(QString ASocketPath, QObject* parent)
    : QObject(parent), FSocketPath(std::move(ASocketPath))
{
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::IsListening() const
{
    return FServer && FServer->isListening();
}

bool TSingleInstance::HandOverOrListen(const QString& FileName, int TimeoutMs)
{
    // Two starts at the same moment (a file manager opening several files)
    // must not both find no editor and both listen: the lock makes "ask,
    // else listen" one step. The lock of a start that crashed is taken over
    // (its process is gone).
    QLockFile lock(FSocketPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    const bool locked = lock.tryLock(TimeoutMs);
    switch (HandOver(FileName, TimeoutMs)) {
    case THandOver::Accepted:
        return true;
    case THandOver::NoAnswer:
        // Someone is there but hung: the name stays theirs.
        return false;
    case THandOver::NoEditor:
        // What is left on the socket belongs to an editor that ended without
        // cleaning up; only the holder of the lock may clear it away.
        Listen(locked);
        return false;
    }
    return false;
}

TSingleInstance::THandOver TSingleInstance::HandOver(const QString& FileName, int TimeoutMs)
{
#ifdef Q_OS_UNIX
    // In the shared temporary folder another user could have put a socket
    // of his own under our name; he must get neither our files nor the
    // power to keep the editor from starting.
    const QFileInfo info(FSocketPath);
    if (info.exists() && info.ownerId() != getuid())
        return THandOver::NoAnswer;
#endif
    QLocalSocket socket;
    socket.connectToServer(FSocketPath);
    if (!socket.waitForConnected(TimeoutMs))
        return THandOver::NoEditor;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << kRequestMagic << FileName;
    socket.write(request);
    if (!socket.waitForBytesWritten(TimeoutMs))
        return THandOver::NoAnswer;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(TimeoutMs))
            return THandOver::NoAnswer;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kAccepted ? THandOver::Accepted : THandOver::NoAnswer;
}

void TSingleInstance::Listen(bool MayClearStale)
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(FSocketPath)) {
        if (!MayClearStale)
            return;
        QLocalServer::removeServer(FSocketPath);
        if (!server->listen(FSocketPath))
            return;  // the editor still works, only without the hand-over
    }
    connect(server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = FServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(socket); });
            Receive(socket);
        }
    });
    FServer = std::move(server);
}

void TSingleInstance::Receive(QLocalSocket* Socket)
{
    if (Socket->bytesAvailable() > kMaxRequestBytes) {
        Socket->abort();
        return;
    }
    QDataStream in(Socket);
    in.startTransaction();
    quint32 magic = 0;
    in >> magic;
    if (in.status() == QDataStream::Ok && magic != kRequestMagic) {
        Socket->abort();  // not a Pellwerk start
        return;
    }
    QString fileName;
    in >> fileName;
    if (!in.commitTransaction())
        return;  // not complete yet; readyRead comes again
    // Answer first: the new start can end while this editor opens the file
    // (which may ask about unsaved changes and take as long as the user).
    Socket->write(&kAccepted, 1);
    Socket->flush();
    Socket->disconnectFromServer();
    emit OpenRequested(fileName);
}

QString DefaultInstanceSocketPath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath();
#ifdef Q_OS_UNIX
    const QString user = QString::number(getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    return QDir(dir).filePath(QStringLiteral("pellwerk-%1.socket").arg(user));
}
