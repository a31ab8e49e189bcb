#pragma once
// Labels that reach the running editor from outside: the file of its own
// command line and the files that later starts hand over. Each one is opened
// as a double click in the templates panel opens a template (asking about
// unsaved changes, a box with the reason when the file cannot be read).

#include <QObject>
#include <QStringList>

class QTimer;
class TLabelMainForm;

class TOpenRequests : public QObject {
    Q_OBJECT
public:
    explicit TOpenRequests(TLabelMainForm& AWindow, QObject* parent = nullptr);

    // Brings the window to the front and opens FileName (empty: nothing to
    // open). While a dialog of the editor is open (help, printer setup, a
    // question) the file waits until it has closed, so it neither lands
    // behind the dialog nor replaces the label under it.
    void Open(const QString& FileName);
    bool HasPending() const { return !FPending.isEmpty(); }

private:
    void Raise();
    void OpenPending();

    TLabelMainForm& FWindow;
    QStringList FPending;
    QTimer* FRetry = nullptr;
};
