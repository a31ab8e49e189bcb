#include "app/open_requests.h"

#include "editor/label_main_form.h"

#include <QApplication>
#include <QTimer>

namespace {

// How often a waiting file checks whether the dialog in its way has closed.
constexpr int kRetryMs = 250;

} // namespace

TOpenRequests::TOpenRequests(TLabelMainForm& AWindow, QObject* parent)
    : QObject(parent), FWindow(AWindow)
{
    FRetry = new QTimer(this);
    FRetry->setInterval(kRetryMs);
    connect(FRetry, &QTimer::timeout, this, &TOpenRequests::OpenPending);
}

void TOpenRequests::Open(const QString& FileName)
{
    Raise();
    if (FileName.isEmpty())
        return;
    FPending << FileName;
    OpenPending();
}

void TOpenRequests::Raise()
{
    if (FWindow.isMinimized())
        FWindow.setWindowState((FWindow.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    FWindow.show();
    FWindow.raise();
    FWindow.activateWindow();
    // Where the desktop refuses to hand the focus to another program's
    // request, the task bar entry at least asks for attention.
    QApplication::alert(&FWindow);
}

void TOpenRequests::OpenPending()
{
    while (!FPending.isEmpty()) {
        if (QApplication::activeModalWidget()) {
            FRetry->start();
            return;
        }
        // Taken off the list first: opening may ask a question, and a file
        // handed over meanwhile must not open this one a second time.
        const QString file = FPending.takeFirst();
        FWindow.OpenTemplate(file);
    }
    FRetry->stop();
}
