#include "editor/data_panel.h"

#include "editor/dialogs.h"
#include "merge/data_table.h"
#include "merge/field_check.h"
#include "merge/merge_error.h"
#include "merge/record_range.h"
#include "model/label_doc.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace {

// More columns do not fit beside each other; the rest is in the file.
constexpr int kShownColumns = 8;
constexpr int kCompactHeight = 38;
constexpr int kFullHeight = 230;
const QColor kErrorColour(176, 0, 32);
const QColor kInfoColour(96, 96, 96);
const QString kUsedMark = QStringLiteral("● ");

void SetColour(QLabel* L, const QColor& C)
{
    QPalette p = L->palette();
    p.setColor(QPalette::WindowText, C);
    L->setPalette(p);
}

}  // namespace

TDataPanel::TDataPanel(TLabelDoc& ADoc, TDialogs& ADialogs, QWidget* AParent)
    : QWidget(AParent), FDoc(ADoc), FDialogs(ADialogs)
{
    setObjectName(QStringLiteral("PnlData"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* root = new QVBoxLayout(this);
    // The panel's width follows the window, never the other way round.
    root->setSizeConstraint(QLayout::SetNoConstraint);
    root->setContentsMargins(10, 6, 10, 6);
    root->setSpacing(4);

    auto* head = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("Daten"), this);
    QFont tf = title->font();
    tf.setBold(true);
    title->setFont(tf);
    head->addWidget(title);
    BtnChoose = new QPushButton(QStringLiteral("Datei wählen …"), this);
    BtnChoose->setObjectName(QStringLiteral("BtnDataChoose"));
    BtnChoose->setToolTip(QStringLiteral("Tabelle (CSV oder TSV) für Serienetiketten wählen: ein Etikett je Zeile"));
    connect(BtnChoose, &QPushButton::clicked, this, [this] { ChooseFile(); });
    head->addWidget(BtnChoose);
    BtnReload = new QPushButton(QStringLiteral("Neu laden"), this);
    BtnReload->setObjectName(QStringLiteral("BtnDataReload"));
    BtnReload->setToolTip(QStringLiteral("Die Datendatei neu einlesen, etwa nach einer Änderung in der Tabelle"));
    connect(BtnReload, &QPushButton::clicked, this, [this] { Reload(); });
    head->addWidget(BtnReload);
    LblInfo = new QLabel(this);
    LblInfo->setObjectName(QStringLiteral("LblDataInfo"));
    LblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    head->addWidget(LblInfo, 1);
    root->addLayout(head);

    TblRecords = new QTableWidget(this);
    TblRecords->setObjectName(QStringLiteral("TblRecords"));
    TblRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TblRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    TblRecords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TblRecords->verticalHeader()->setDefaultSectionSize(20);
    TblRecords->horizontalHeader()->setStretchLastSection(true);
    TblRecords->setWordWrap(false);
    TblRecords->setMinimumHeight(90);
    connect(TblRecords, &QTableWidget::currentCellChanged, this, [this](int Row, int, int, int) {
        if (!FFilling && Row >= 0)
            ShowRecord(Row + 1);
    });
    connect(TblRecords, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!FFilling && TblRecords->selectionModel()->selectedRows().size() > 1)
            RbSelection->setChecked(true);
    });
    root->addWidget(TblRecords, 1);

    FFoot = new QWidget(this);
    auto* foot = new QHBoxLayout(FFoot);
    foot->setContentsMargins(0, 0, 0, 0);
    BtnPrev = new QPushButton(QStringLiteral("◀"), this);
    BtnPrev->setObjectName(QStringLiteral("BtnRecordPrev"));
    BtnPrev->setToolTip(QStringLiteral("Vorheriger Datensatz"));
    BtnPrev->setFixedWidth(32);
    connect(BtnPrev, &QPushButton::clicked, this, [this] { Step(-1); });
    foot->addWidget(BtnPrev);
    LblRecord = new QLabel(this);
    LblRecord->setObjectName(QStringLiteral("LblRecord"));
    LblRecord->setMinimumWidth(170);
    LblRecord->setAlignment(Qt::AlignCenter);
    foot->addWidget(LblRecord);
    BtnNext = new QPushButton(QStringLiteral("▶"), this);
    BtnNext->setObjectName(QStringLiteral("BtnRecordNext"));
    BtnNext->setToolTip(QStringLiteral("Nächster Datensatz"));
    BtnNext->setFixedWidth(32);
    connect(BtnNext, &QPushButton::clicked, this, [this] { Step(1); });
    foot->addWidget(BtnNext);
    foot->addSpacing(16);
    foot->addWidget(new QLabel(QStringLiteral("Drucken:"), this));
    RbAll = new QRadioButton(QStringLiteral("alle"), this);
    RbAll->setObjectName(QStringLiteral("RbRecordsAll"));
    RbAll->setChecked(true);
    foot->addWidget(RbAll);
    RbSelection = new QRadioButton(QStringLiteral("Auswahl in der Tabelle"), this);
    RbSelection->setObjectName(QStringLiteral("RbRecordsSelection"));
    foot->addWidget(RbSelection);
    RbRange = new QRadioButton(QStringLiteral("Bereich"), this);
    RbRange->setObjectName(QStringLiteral("RbRecordsRange"));
    foot->addWidget(RbRange);
    EdRange = new QLineEdit(this);
    EdRange->setObjectName(QStringLiteral("EdRecordRange"));
    EdRange->setPlaceholderText(QStringLiteral("1-5, 8"));
    EdRange->setFixedWidth(110);
    connect(EdRange, &QLineEdit::textEdited, this, [this] { RbRange->setChecked(true); });
    foot->addWidget(EdRange);
    foot->addStretch(1);
    BtnPrint = new QPushButton(QStringLiteral("Drucken"), this);
    BtnPrint->setObjectName(QStringLiteral("BtnDataPrint"));
    BtnPrint->setToolTip(QStringLiteral("Jeden gewählten Datensatz drucken, jeden mit der Anzahl Kopien"));
    connect(BtnPrint, &QPushButton::clicked, this, [this] { PrintClicked(); });
    foot->addWidget(BtnPrint);
    root->addWidget(FFoot);

    SyncWithDoc();
}

TDataPanel::~TDataPanel() = default;

void TDataPanel::SyncWithDoc()
{
    const QString path = FDoc.DataFilePath();
    // A file that vanished since it was read is said at once; a changed one
    // waits for "Neu laden", so the table does not change under the user.
    if (path != FLoadedPath || (FTable && !QFileInfo::exists(path)))
        LoadFrom(path);
    MarkUsedColumns();
    ShowInfo();
}

void TDataPanel::LoadFrom(const QString& Path)
{
    const int keep = CurrentNumber();
    FLoadedPath = Path;
    FLoadError.clear();
    FTable.reset();
    FRecord.reset();
    if (!Path.isEmpty()) {
        try {
            FTable = std::make_shared<const TDataTable>(LoadDataTable(Path));
        } catch (const EMergeError& e) {
            // The label stays editable; its fields show as typed.
            FLoadError = e.Message();
        }
    }
    FillTable();
    if (FTable)
        ShowRecord(keep >= 1 && keep <= FTable->Count() ? keep : 1);
    else
        UpdateRecordControls();
    if (OnRecordShown)
        OnRecordShown();
}

void TDataPanel::Reload()
{
    FLoadedPath = QStringLiteral("\n");  // differs from every path
    SyncWithDoc();
}

void TDataPanel::ChooseFile()
{
    const QString file = FDialogs.OpenFile(this, QStringLiteral("Datendatei wählen"),
                                           QStringLiteral("Tabellen (CSV, TSV, TXT)|*.csv;*.tsv;*.txt|Alle Dateien|*.*"));
    if (file.isEmpty())
        return;
    const QString before = FDoc.DataFile;
    FDoc.SetDataFilePath(file);
    const QString after = FDoc.DataFile;
    if (after != before) {
        // The undo snapshot must hold the label as it was.
        FDoc.DataFile = before;
        if (OnBeforeDataFileChange)
            OnBeforeDataFileChange();
        FDoc.DataFile = after;
        if (OnDataFileChanged)
            OnDataFileChanged();
    }
    Reload();
    if (!FLoadError.isEmpty())
        FDialogs.ShowError(this, FLoadError);
}

void TDataPanel::FillTable()
{
    FFilling = true;
    TblRecords->clear();
    const int columns = FTable ? std::min<int>(static_cast<int>(FTable->Columns->size()), kShownColumns) : 0;
    const int rows = FTable ? FTable->Count() : 0;
    TblRecords->setColumnCount(columns);
    TblRecords->setRowCount(rows);
    for (int c = 0; c < columns; ++c)
        TblRecords->setHorizontalHeaderItem(c, new QTableWidgetItem(FTable->Columns->at(c)));
    for (int r = 0; r < rows; ++r) {
        const QStringList& values = FTable->Rows[static_cast<size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            // One line per cell; a value with line breaks shows them as " ⏎ ".
            QString v = values.at(c);
            v.replace(QLatin1String("\r\n"), QLatin1String(" ⏎ ")).replace(QLatin1Char('\n'), QLatin1String(" ⏎ "));
            TblRecords->setItem(r, c, new QTableWidgetItem(v));
        }
    }
    FFilling = false;
}

void TDataPanel::MarkUsedColumns()
{
    if (!FTable)
        return;
    const QStringList used = LabelFields(FDoc);
    for (int c = 0; c < TblRecords->columnCount(); ++c) {
        QTableWidgetItem* h = TblRecords->horizontalHeaderItem(c);
        const QString name = FTable->Columns->at(c);
        const bool isUsed = used.contains(name, Qt::CaseInsensitive) && !name.isEmpty();
        h->setText(isUsed ? kUsedMark + name : name);
        QFont f = h->font();
        f.setBold(isUsed);
        h->setFont(f);
        h->setToolTip(isUsed ? QStringLiteral("Das Etikett verwendet {%1}").arg(name) : QString());
    }
}

void TDataPanel::ShowInfo()
{
    // Without a data file the panel is one line, and the canvas keeps its room.
    const bool compact = FLoadedPath.isEmpty();
    TblRecords->setVisible(!compact);
    FFoot->setVisible(!compact);
    setFixedHeight(compact ? kCompactHeight : kFullHeight);
    BtnReload->setEnabled(!FLoadedPath.isEmpty());
    if (FLoadedPath.isEmpty()) {
        SetColour(LblInfo, kInfoColour);
        LblInfo->setText(QStringLiteral("Keine Datendatei – für Serienetiketten eine Tabelle wählen und "
                                        "{Spaltenname} in die Texte schreiben"));
        return;
    }
    if (!FTable) {
        SetColour(LblInfo, kErrorColour);
        LblInfo->setText(FLoadError);
        return;
    }
    QStringList notes;
    notes << QStringLiteral("%1 – %2 Datensätze, %3 Spalten")
                 .arg(QFileInfo(FLoadedPath).fileName())
                 .arg(FTable->Count())
                 .arg(FTable->Columns->size());
    bool problem = false;
    try {
        CheckFields(FDoc, *FTable);
    } catch (const EMergeError& e) {
        notes << e.Message();
        problem = true;
    }
    const QStringList hidden = FTable->HiddenColumns();
    if (!hidden.isEmpty())
        notes << QStringLiteral("Spalte %1 ist ein eingebauter Platzhalter und wird nicht eingesetzt")
                     .arg(hidden.join(QStringLiteral(", ")));
    SetColour(LblInfo, problem ? kErrorColour : kInfoColour);
    LblInfo->setText(notes.join(QStringLiteral(" · ")));
}

void TDataPanel::ShowRecord(int Number)
{
    if (!FTable || Number < 1 || Number > FTable->Count())
        return;
    FRecord = FTable->Record(Number);
    if (TblRecords->currentRow() != Number - 1) {
        FFilling = true;
        TblRecords->setCurrentCell(Number - 1, 0, QItemSelectionModel::NoUpdate);
        FFilling = false;
    }
    UpdateRecordControls();
    if (OnRecordShown)
        OnRecordShown();
}

void TDataPanel::Step(int Delta)
{
    ShowRecord(CurrentNumber() + Delta);
}

const TMergeRecord* TDataPanel::CurrentRecord() const
{
    return FRecord ? &*FRecord : nullptr;
}

int TDataPanel::RecordCount() const
{
    return FTable ? FTable->Count() : 0;
}

int TDataPanel::CurrentNumber() const
{
    return FRecord ? FRecord->Number : 0;
}

void TDataPanel::UpdateRecordControls()
{
    const int count = FTable ? FTable->Count() : 0;
    const int n = CurrentNumber();
    LblRecord->setText(count > 0 ? QStringLiteral("Datensatz %1 von %2").arg(n).arg(count)
                                 : QStringLiteral("kein Datensatz"));
    BtnPrev->setEnabled(n > 1);
    BtnNext->setEnabled(n >= 1 && n < count);
    BtnPrint->setEnabled(FPrinting || count > 0);
}

std::vector<int> TDataPanel::ChosenRecords() const
{
    if (!FTable)
        throw EMergeError(QStringLiteral("Keine Datendatei gewählt"));
    if (RbRange->isChecked())
        return ParseRecordRange(EdRange->text(), FTable->Count());
    if (RbSelection->isChecked()) {
        std::set<int> rows;
        for (const QModelIndex& i : TblRecords->selectionModel()->selectedRows())
            rows.insert(i.row() + 1);
        if (rows.empty())
            throw EMergeError(QStringLiteral("In der Tabelle ist kein Datensatz ausgewählt"));
        return std::vector<int>(rows.begin(), rows.end());
    }
    return ParseRecordRange(QString(), FTable->Count());
}

void TDataPanel::SetRange(const QString& Text)
{
    EdRange->setText(Text);
    RbRange->setChecked(true);
}

void TDataPanel::SetPrinting(bool APrinting)
{
    FPrinting = APrinting;
    BtnPrint->setText(APrinting ? QStringLiteral("Abbrechen") : QStringLiteral("Drucken"));
    BtnChoose->setEnabled(!APrinting);
    UpdateRecordControls();
}

void TDataPanel::PrintClicked()
{
    if (FPrinting) {
        if (OnCancel)
            OnCancel();
        return;
    }
    std::vector<int> records;
    try {
        records = ChosenRecords();
    } catch (const EMergeError& e) {
        FDialogs.ShowError(this, e.Message());
        return;
    }
    if (OnPrint)
        OnPrint(records);
}
