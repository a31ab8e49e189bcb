#pragma once
// Every message box, input box and file dialog of the editor goes through
// this interface, so tests can answer them by script instead of by hand.

#include <QString>
#include <QStringList>

#include <exception>

class QWidget;

class TDialogs {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TDialogs() = default;
    // Yes / No / Cancel; closing the box counts as Cancel.
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // Yes / No; closing the box counts as No.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    virtual void ShowInfo(QWidget* parent, const QString& text) = 0;
    virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // False when cancelled; Value holds the proposal on entry and the answer on exit.
    virtual bool InputBox(QWidget* parent, const QString& caption, const QString& prompt, QString& Value) = 0;
    // Empty when cancelled.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // One of Items; false when cancelled. Index holds the proposal on entry
    // and the choice on exit.
    virtual bool ChooseItem(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& Items,
                            int& Index) = 0;
};

// "Bild konnte nicht geladen werden:", a line break and the reason.
void ShowPictureLoadError(TDialogs& Dialogs, QWidget* Parent, const std::exception& Error);

// A file filter written as "Name|*.a;*.b|Name|*.*" in the form Qt's file
// dialogs read: "Name (*.a *.b);;Name (*)". "*.*" means every file, also
// those without an extension.
QString QtFileFilter(const QString& Filter);

// The real boxes and dialogs of the desktop.
class TQtDialogs : public TDialogs {
public:
    TAnswer AskYesNoCancel(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    void ShowInfo(QWidget* parent, const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    bool InputBox(QWidget* parent, const QString& caption, const QString& prompt, QString& Value) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    bool ChooseItem(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& Items,
                    int& Index) override;
};
