// Start-up, window placement and shutdown of the main window.
#include "ble/nimbo_ble.h"
#include "editor/dialogs.h"
#include "merge/batch_run.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "editor/template_browser.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <exception>
#include <chrono>
#include <cmath>

TLabelMainForm::TLabelMainForm(const TMainFormDeps& deps, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    FDialogs = deps.Dialogs;
    FTickMs = deps.TickMs;
    FBle = deps.Ble;
    FLinkTime = deps.LinkTime;
    FScanTimerMs = deps.ScanTimerMs;
    FThumbCacheDir = deps.ThumbnailCacheDir;
    if (!FDialogs) {
        FOwnDialogs = std::make_unique<TQtDialogs>();
        FDialogs = FOwnDialogs.get();
    }
    FormCreate();
}

TLabelMainForm::~TLabelMainForm()
{
    FormDestroy();
}

uint64_t TLabelMainForm::TickMs() const
{
    if (FTickMs)
        return FTickMs();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void TLabelMainForm::FormCreate()
{
    TAppSettings::MigrateFromOldVersion();
    FSettings = std::make_unique<TAppSettings>();
    FSettings->Load();

    FDoc = std::make_unique<TLabelDoc>();
    FUndo.clear();
    FBgFiles.clear();

    FZoom = std::clamp(FSettings->ZoomPct, 25, 800) / 100.0;

    setWindowTitle(QStringLiteral("MIRVO Pellwerk"));
    LoadLogo();
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(243, 243, 243));
    setPalette(pal);
    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);

    PlaceWindow();
    BuildLayout();
    InstallDropTargets();

    // Step 7 (the wheel hook) is the same application event filter.
    CreatePrinterLink();
    CreateScanTimer();

    PrepareTemplateFolder();

    // The names are read on a worker and the thumbnails drawn on others: the
    // window shows at once, however many templates the folder holds.
    FTemplates->ReloadInBackground();
    LoadBackgrounds();

    if (!FSettings->LastTemplate.isEmpty() && QFileInfo::exists(FSettings->LastTemplate)) {
        try {
            FDoc->LoadFromFile(FSettings->LastTemplate);
        } catch (...) {
            FDoc->Clear();
        }
    }
    RefreshAll();
    StartAutoConnect();
}

void TLabelMainForm::PrepareTemplateFolder()
{
    // A data folder that cannot be created or written (read-only home, full
    // disk) costs the templates, not the editor: the user still gets a window
    // to work in and is told why the list stays empty.
    const QString templateDir = TAppSettings::TemplateDir();
    if (!QFileInfo(templateDir).isDir()) {
        ShowStartupError(QStringLiteral("Der Vorlagenordner \"%1\" kann nicht angelegt werden. "
                                        "Etiketten lassen sich erst speichern, wenn er angelegt werden kann.")
                             .arg(QDir::toNativeSeparators(templateDir)));
        return;
    }
    if (!QDir(templateDir).entryList({QStringLiteral("*.pellwerk")}, QDir::Files | QDir::Hidden).isEmpty())
        return;
    try {
        CreateBuiltinTemplates(templateDir);
    } catch (const std::exception& e) {
        ShowStartupError(QStringLiteral("Die mitgelieferten Vorlagen konnten nicht angelegt werden:\r\n")
                         + QString::fromUtf8(e.what()));
    }
}

void TLabelMainForm::ShowStartupError(const QString& Text)
{
    // Shown once the window is on screen, so the box has a parent to sit on.
    QMetaObject::invokeMethod(
        this, [this, Text] { FDialogs->ShowError(this, Text); }, Qt::QueuedConnection);
}

void TLabelMainForm::LoadLogo()
{
    // A missing logo only takes the toolbar picture away.
    const QIcon icon(QStringLiteral(":/MIRVO_LOGO"));
    if (icon.isNull() || icon.availableSizes().isEmpty())
        return;
    FLogo = icon.pixmap(48, 48).toImage();
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
}

void TLabelMainForm::PlaceWindow()
{
    const TAppSettings& s = *FSettings;
    resize(s.WinWidth, s.WinHeight);
    if (s.WinLeft < 0 || s.WinTop < 0) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            move(avail.x() + (avail.width() - s.WinWidth) / 2, avail.y() + (avail.height() - s.WinHeight) / 2);
        }
    } else {
        move(s.WinLeft, s.WinTop);
    }
    if (s.WinMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

bool TLabelMainForm::FormCloseQuery()
{
    if (!ConfirmDiscard())
        return false;
    FSettings->WinMaximized = isMaximized();
    if (!isMaximized() && !isMinimized()) {
        FSettings->WinLeft = x();
        FSettings->WinTop = y();
        FSettings->WinWidth = width();
        FSettings->WinHeight = height();
    }
    FSettings->ZoomPct = static_cast<int>(std::nearbyint(FZoom * 100));
    FSettings->LastTemplate = FDoc->FileName;
    try {
        FSettings->Save();
    } catch (const std::exception& e) {
        // The label has been dealt with already; an unwritable settings file
        // must not keep the user from closing the program.
        FDialogs->ShowError(this, QString::fromUtf8(e.what()));
    }
    return true;
}

void TLabelMainForm::closeEvent(QCloseEvent* e)
{
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

void TLabelMainForm::FormDestroy()
{
    // The link goes first: it disconnects, and no event of it reaches the
    // window after this.
    FPrinter.reset();
    // No thumbnail may arrive while the window goes away.
    if (FTemplates)
        FTemplates->Shutdown();
    qApp->removeEventFilter(this);
    // The paint box may still be asked to paint while children go away.
    if (PaintBox)
        PaintBox->OnPaint = nullptr;
    // Children still send signals while they go away (the zoom box, for one,
    // reports a typed step as chosen when it loses the focus); by then this
    // window is half destroyed, so none of its handlers may run any more.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    FSel = nullptr;
    FSelSet.clear();
}
