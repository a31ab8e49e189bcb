#pragma once
// A main window for tests: dialogs answered by script, a clock the test
// drives, and a data folder of its own under the test's HOME.

#include "ble/sim/sim_ble_manager.h"
#include "editor/dialogs.h"
#include "editor/label_main_form.h"

#include <QStringList>
#include <deque>
#include <memory>

// Records every box shown and answers from queues; an unexpected question
// fails the test instead of blocking it.
class TScriptedDialogs : public TDialogs {
public:
    std::deque<TAnswer> YesNoCancel;
    std::deque<bool> YesNo;
    std::deque<std::pair<bool, QString>> Inputs;  // (ok, answer)
    std::deque<QString> Files;                   // empty string = cancelled
    std::deque<int> Choices;                     // index of the item chosen, -1 = cancelled
    QStringList Shown;                           // "kind: text" of every box, in order

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

// Empties the program's data folder and the thumbnail cache so every test
// starts like a first run.
void ResetDataFolder();

// A plain file where a folder belongs, for as long as the guard lives: no
// folder can be made or written there, whoever runs the test (root too).
class TBlockedFolder {
public:
    explicit TBlockedFolder(const QString& APath);
    ~TBlockedFolder();
    TBlockedFolder(const TBlockedFolder&) = delete;
    TBlockedFolder& operator=(const TBlockedFolder&) = delete;

private:
    QString FPath;
};

class QListView;
// The captions of the templates list, top to bottom.
QStringList ListCaptions(const QListView* List);
// Processes events until the templates list has every name and thumbnail.
bool WaitForTemplates(TLabelMainForm& Form, int TimeoutMs = 30000);

struct TEditorFixture {
    TScriptedDialogs Dialogs;
    uint64_t Now = 1000000;  // the clock the window reads, in ms
    TSimBleManager Ble;      // an empty radio: no printer around
    std::unique_ptr<TLabelMainForm> Form;

    // Creates (and shows) the window and waits for its templates list; call
    // after preparing the data folder.
    TLabelMainForm& Create(bool show = true);
};
