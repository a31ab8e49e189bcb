#pragma once
// One editor per user. The first start listens on a local socket in the
// user's runtime folder; a later start hands its file (or, without one, only
// the wish to see the window) to it and ends instead of opening a second
// window on the same settings and templates.

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(QString ASocketPath, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when a running editor confirmed that it took FileName (empty: it
    // only shows its window): this process should end. False otherwise; this
    // process then listens for later starts when it can. Waits at most
    // TimeoutMs for each step, so a hung editor cannot block a new start.
    bool HandOverOrListen(const QString& FileName, int TimeoutMs);
    bool IsListening() const;

signals:
    // A later start asked for FileName (empty: only show the window).
    void OpenRequested(const QString& FileName);

private:
    enum class THandOver { Accepted, NoEditor, NoAnswer };
    THandOver HandOver(const QString& FileName, int TimeoutMs);
    void Listen(bool MayClearStale);
    void Receive(QLocalSocket* Socket);

    QString FSocketPath;
    std::unique_ptr<QLocalServer> FServer;
};

// The socket of this user: in XDG_RUNTIME_DIR when there is one (a folder
// only the user can enter), otherwise in the temporary folder, named after
// the user.
QString DefaultInstanceSocketPath();
