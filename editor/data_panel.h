#pragma once
// The "Daten" panel below the canvas: the data file of a merge, a table of
// its records with the columns the label uses marked, which records to print,
// the record shown on the canvas ("◀ Datensatz 3 von 120 ▶") and the batch
// print. It owns its controls and reaches the window only through the
// callbacks below; the label's data file lives in the document.

#include "model/merge_record.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TDataTable;
class TDialogs;
class TLabelDoc;

class TDataPanel : public QWidget {
    Q_OBJECT
public:
    TDataPanel(TLabelDoc& ADoc, TDialogs& ADialogs, QWidget* AParent = nullptr);
    ~TDataPanel() override;

    // Before the document's data file changes (the window records undo).
    std::function<void()> OnBeforeDataFileChange;
    // The user chose another data file: the document's data file has been
    // set; the window records the edit (undo, modified, title).
    std::function<void()> OnDataFileChanged;
    // Another record is shown, or none: the canvas repaints.
    std::function<void()> OnRecordShown;
    // "Drucken": print these records (numbers of the table, in order).
    std::function<void(const std::vector<int>&)> OnPrint;
    // "Abbrechen" while a batch prints.
    std::function<void()> OnCancel;

    // Follows the document: loads its data file when it names another one
    // than the table shown, drops the table when it names none, and marks the
    // columns the label's texts use. Called after every load and edit.
    void SyncWithDoc();
    // Reads the data file again (the "Neu laden" button).
    void Reload();
    // Opens the file dialog (the "Datei wählen …" button).
    void ChooseFile();
    // Shows record Number (1-based) on the canvas; out of range is ignored.
    void ShowRecord(int Number);
    void Step(int Delta);

    // The record the canvas shows, or null without data.
    const TMergeRecord* CurrentRecord() const;
    int CurrentNumber() const;
    int RecordCount() const;
    std::shared_ptr<const TDataTable> Table() const { return FTable; }
    // The records to print as chosen: all, the rows selected in the table,
    // or the range text. Raises EMergeError for a range that does not parse.
    std::vector<int> ChosenRecords() const;
    // Chooses the range option with Text ("37-120" to go on after a failure).
    void SetRange(const QString& Text);
    // While a batch prints, "Drucken" becomes "Abbrechen".
    void SetPrinting(bool APrinting);

    // The controls, for tests and the window's wiring.
    QPushButton* ChooseButton() const { return BtnChoose; }
    QPushButton* ReloadButton() const { return BtnReload; }
    QPushButton* PrevButton() const { return BtnPrev; }
    QPushButton* NextButton() const { return BtnNext; }
    QPushButton* PrintButton() const { return BtnPrint; }
    QLabel* RecordLabel() const { return LblRecord; }
    QLabel* InfoLabel() const { return LblInfo; }
    QTableWidget* RecordTable() const { return TblRecords; }
    QRadioButton* AllOption() const { return RbAll; }
    QRadioButton* SelectionOption() const { return RbSelection; }
    QRadioButton* RangeOption() const { return RbRange; }
    QLineEdit* RangeEdit() const { return EdRange; }

private:
    void LoadFrom(const QString& Path);
    void FillTable();
    void MarkUsedColumns();
    void ShowInfo();
    void UpdateRecordControls();
    void PrintClicked();

    TLabelDoc& FDoc;
    TDialogs& FDialogs;
    std::shared_ptr<const TDataTable> FTable;
    QString FLoadedPath;     // the path the table (or the failure) belongs to
    QString FLoadError;      // why the data file could not be read
    std::optional<TMergeRecord> FRecord;
    bool FPrinting = false;
    bool FFilling = false;

    QPushButton* BtnChoose = nullptr;
    QPushButton* BtnReload = nullptr;
    QLabel* LblInfo = nullptr;
    QTableWidget* TblRecords = nullptr;
    QPushButton* BtnPrev = nullptr;
    QLabel* LblRecord = nullptr;
    QPushButton* BtnNext = nullptr;
    QRadioButton* RbAll = nullptr;
    QRadioButton* RbSelection = nullptr;
    QRadioButton* RbRange = nullptr;
    QLineEdit* EdRange = nullptr;
    QPushButton* BtnPrint = nullptr;
    QWidget* FFoot = nullptr;  // record navigation, choice and print
};
