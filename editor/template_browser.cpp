#include "editor/template_browser.h"

#include "editor/template_filter.h"
#include "editor/template_scan.h"
#include "settings/app_settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QShortcut>
#include <QVBoxLayout>

TTemplateBrowser::TTemplateBrowser(const TOptions& Options, QWidget* Parent)
    : QWidget(Parent), FCache(Options.CacheFolder)
{
    // Thumbnails are drawn on the list's base colour, read here on the main
    // thread once for all workers.
    const QColor Base = QGuiApplication::palette().color(QPalette::Base);
    FModel = new TTemplateListModel(QSize(ThumbW, ThumbH), Base, this);
    FModel->OnWanted = [this](const QString& Path) {
        // Collected while the view paints, handed over once it is done.
        if (FWanted.isEmpty())
            QMetaObject::invokeMethod(this, &TTemplateBrowser::FlushWanted, Qt::QueuedConnection);
        FWanted << Path;
    };
    FFilter = new TTemplateFilter(this);
    FFilter->setSourceModel(FModel);

    auto* Lay = new QVBoxLayout(this);
    Lay->setContentsMargins(0, 0, 0, 0);
    Lay->setSpacing(6);

    FSearch = new QLineEdit(this);
    FSearch->setObjectName(QStringLiteral("EdTemplateSearch"));
    FSearch->setPlaceholderText(QStringLiteral("Vorlage suchen …"));
    FSearch->setClearButtonEnabled(true);
    FSearch->setToolTip(QStringLiteral("Vorlage suchen (Strg+F)"));
    connect(FSearch, &QLineEdit::textChanged, this, [this](const QString& T) { FFilter->SetPattern(T); });
    connect(FSearch, &QLineEdit::returnPressed, this, &TTemplateBrowser::OpenFirstMatch);
    auto* Find = new QShortcut(QKeySequence::Find, this);
    Find->setContext(Qt::WindowShortcut);
    connect(Find, &QShortcut::activated, this, [this] {
        FSearch->setFocus(Qt::ShortcutFocusReason);
        FSearch->selectAll();
    });
    Lay->addWidget(FSearch);

    FView = new QListView(this);
    FView->setObjectName(QStringLiteral("LvTemplates"));
    FView->setViewMode(QListView::IconMode);
    FView->setIconSize(QSize(ThumbW, ThumbH));
    FView->setMovement(QListView::Static);
    FView->setResizeMode(QListView::Adjust);
    FView->setWrapping(true);
    FView->setWordWrap(true);
    FView->setUniformItemSizes(true);
    FView->setGridSize(QSize(ThumbW + 8, ThumbH + 40));
    FView->setSelectionMode(QAbstractItemView::SingleSelection);
    FView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FView->setFrameShape(QFrame::NoFrame);
    QPalette Lp = FView->palette();
    // The selection stays visible when the list has no focus.
    Lp.setColor(QPalette::Inactive, QPalette::Highlight, Lp.color(QPalette::Active, QPalette::Highlight));
    Lp.setColor(QPalette::Inactive, QPalette::HighlightedText, Lp.color(QPalette::Active, QPalette::HighlightedText));
    FView->setPalette(Lp);
    FView->setModel(FFilter);
    connect(FView, &QListView::doubleClicked, this, [this](const QModelIndex& I) {
        if (OnOpen && I.isValid())
            OnOpen(I.data(TTemplateListModel::PathRole).toString());
    });
    Lay->addWidget(FView, 1);

    FLoader = std::make_unique<TTemplateLoader>(
        FCache, QSize(ThumbW, ThumbH), Base,
        [this](TThumbResult R) {
            QMetaObject::invokeMethod(this, [this, R = std::move(R)] { ApplyThumb(R); }, Qt::QueuedConnection);
        },
        Options.Workers);

    FSettle.setSingleShot(true);
    FSettle.setInterval(150);
    connect(&FSettle, &QTimer::timeout, this, &TTemplateBrowser::ReloadInBackground);
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { FSettle.start(); });
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, &TTemplateBrowser::FileChanged);
}

TTemplateBrowser::~TTemplateBrowser()
{
    Shutdown();
}

void TTemplateBrowser::Shutdown()
{
    FSettle.stop();
    FWatcher.disconnect(this);
    if (FLoader)
        FLoader->Stop();
    if (FScan.joinable())
        FScan.join();
    ++FGeneration;  // a scan result still on its way is dropped
    FScanPending = false;
}

void TTemplateBrowser::Reload()
{
    ++FGeneration;
    FScanPending = false;
    Apply(ScanTemplateFolder(TAppSettings::TemplateDir()), {}, true);
}

void TTemplateBrowser::ReloadInBackground()
{
    if (!FLoader || !FLoader->Running())
        return;
    if (FScan.joinable())
        FScan.join();
    const quint64 Gen = ++FGeneration;
    FScanPending = true;
    const QString Dir = TAppSettings::TemplateDir();
    FScan = std::thread([this, Gen, Dir] {
        std::vector<TTemplateEntry> Entries = ScanTemplateFolder(Dir);
        QMetaObject::invokeMethod(
            this,
            [this, Gen, Entries = std::move(Entries)] {
                if (Gen != FGeneration)
                    return;
                FScanPending = false;
                // At start nothing is selected yet, and stays so: the list
                // is filled before the last label is opened.
                Apply(Entries, SelectedPath(), false);
            },
            Qt::QueuedConnection);
    });
}

void TTemplateBrowser::Apply(const std::vector<TTemplateEntry>& Entries, const QString& Select, bool SelectCurrent)
{
    FView->setUpdatesEnabled(false);
    FModel->SetEntries(Entries);
    if (!Select.isEmpty()) {
        SelectPath(Select);
    } else if (SelectCurrent && IsCurrent) {
        for (const TTemplateEntry& E : Entries)
            if (IsCurrent(E.Path)) {
                SelectPath(E.Path);
                break;
            }
    }
    FView->setUpdatesEnabled(true);
    FWanted.clear();
    FLoader->Enqueue(FGeneration, FModel->Paths());
    Watch();
}

void TTemplateBrowser::ApplyThumb(const TThumbResult& R)
{
    if (R.Generation != FGeneration)
        return;  // from a fill that has been replaced; its files are queued again
    if (R.Ok)
        FModel->SetThumb(R.Path, R.Thumb, R.Name);
    else
        FModel->RemovePath(R.Path);  // no label, or one that cannot be drawn: not listed
}

void TTemplateBrowser::FlushWanted()
{
    if (FWanted.isEmpty())
        return;
    FLoader->Prioritize(FWanted);
    FWanted.clear();
}

namespace {

QString FileStamp(const QString& Path)
{
    const QFileInfo I(Path);
    if (!I.exists())
        return {};
    return QStringLiteral("%1|%2|%3")
        .arg(I.size())
        .arg(I.lastModified().toMSecsSinceEpoch())
        .arg(I.metadataChangeTime().toMSecsSinceEpoch());
}

} // namespace

void TTemplateBrowser::FileChanged(const QString& Path)
{
    // Any write changes the status-change time, which no program can set
    // back, so a rewrite that keeps size and modification time still counts.
    const QString Now = FileStamp(Path);
    if (Now.isEmpty() || Now != FStamps.value(Path))
        FSettle.start();
}

void TTemplateBrowser::Watch()
{
    const QStringList Old = FWatcher.files() + FWatcher.directories();
    if (!Old.isEmpty())
        FWatcher.removePaths(Old);
    // Files too: a rewrite in place changes no entry of the folder.
    QStringList Paths = FModel->Paths();
    FStamps.clear();
    for (const QString& P : Paths)
        FStamps.insert(P, FileStamp(P));
    Paths << TAppSettings::TemplateDir();
    FWatcher.addPaths(Paths);
}

void TTemplateBrowser::SelectPath(const QString& Path)
{
    const int Row = FModel->RowOf(Path);
    const QModelIndex I = FFilter->mapFromSource(FModel->index(Row));
    if (Row < 0 || !I.isValid())
        return;
    FView->setCurrentIndex(I);
}

QString TTemplateBrowser::SelectedPath() const
{
    const QModelIndexList Sel = FView->selectionModel()->selectedIndexes();
    return Sel.isEmpty() ? QString() : Sel.first().data(TTemplateListModel::PathRole).toString();
}

QString TTemplateBrowser::SelectedName() const
{
    const QModelIndexList Sel = FView->selectionModel()->selectedIndexes();
    return Sel.isEmpty() ? QString() : Sel.first().data(Qt::DisplayRole).toString();
}

bool TTemplateBrowser::Loading() const
{
    return FScanPending || FModel->MissingThumbs() > 0;
}

void TTemplateBrowser::OpenFirstMatch()
{
    if (FFilter->rowCount() == 0 || !OnOpen)
        return;
    const QModelIndex First = FFilter->index(0, 0);
    FView->setCurrentIndex(First);
    OnOpen(First.data(TTemplateListModel::PathRole).toString());
}
