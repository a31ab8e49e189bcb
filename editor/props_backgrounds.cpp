// The background list of the label group: presets, the document's own
// picture, loading a picture file and the pictures of the backgrounds folder.
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "editor/props_updating.h"
#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_source.h"
#include "settings/app_settings.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <exception>

namespace {

constexpr int OwnPictureEntry = 7;  // "Eigenes Bild"
constexpr int LoadPictureEntry = 8; // "Bild laden …"
constexpr int FolderEntries = 9;    // "Bild: …" from here on

QString ErrorText(const std::exception& e)
{
    if (const auto* m = dynamic_cast<const EModelError*>(&e))
        return m->Message();
    return QString::fromUtf8(e.what());
}

bool IsBackgroundPicture(const QFileInfo& f)
{
    return IsPictureFileName(f.fileName());
}

} // namespace

void TLabelMainForm::LoadBackgrounds()
{
    FBgFiles.clear();
    const QDir dir(TAppSettings::BackgroundDir());
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (IsBackgroundPicture(f))
            FBgFiles << f.absoluteFilePath();
    }
    std::sort(FBgFiles.begin(), FBgFiles.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });

    {
        TUpdatingScope updating(FUpdating);
        CbBg->setUpdatesEnabled(false);
        CbBg->clear();
        CbBg->addItems({QStringLiteral("Kein Hintergrund"), QStringLiteral("Rahmen"), QStringLiteral("Doppelrahmen"),
                        QStringLiteral("Abgerundeter Rahmen"), QStringLiteral("Punktrahmen"),
                        QStringLiteral("Zierecken"), QStringLiteral("Streifen oben/unten"),
                        QStringLiteral("Eigenes Bild"), QStringLiteral("Bild laden …")});
        for (const QString& f : FBgFiles)
            CbBg->addItem(QStringLiteral("Bild: ") + QFileInfo(f).completeBaseName());
        CbBg->setUpdatesEnabled(true);
    }
    ShowLabelProps();
}

void TLabelMainForm::CbBgChange()
{
    if (FUpdating)
        return;
    const int i = CbBg->currentIndex();
    PushUndo();
    try {
        if (i >= 0 && i < OwnPictureEntry) {
            // A picture the label holds stays stored behind the preset.
            FDoc->BgPreset = static_cast<TBgPreset>(i);
        } else if (i == OwnPictureEntry) {
            if (!FDoc->BgPng().isEmpty())
                FDoc->BgPreset = bpImage;
        } else if (i == LoadPictureEntry) {
            const QString file =
                FDialogs->OpenFile(this, QStringLiteral("Hintergrundbild wählen"), PictureFileFilter());
            if (!file.isEmpty())
                LoadBackgroundPicture(file);
        } else if (i >= FolderEntries && i - FolderEntries < FBgFiles.size()) {
            const QString& file = FBgFiles[i - FolderEntries];
            if (const int page = ChoosePage(file))
                FDoc->LoadBackgroundFromFile(file, page);
        }
    } catch (const std::exception& e) {
        FDialogs->ShowError(this, QStringLiteral("Bild konnte nicht geladen werden:\r\n") + ErrorText(e));
    }
    // Also moves the box back to the preset in force ("Bild laden …" becomes
    // "Eigenes Bild", a refused "Eigenes Bild" the previous preset).
    ShowLabelProps();
    DocChanged();
}

void TLabelMainForm::LoadBackgroundPicture(const QString& file)
{
    const int page = ChoosePage(file);
    if (page == 0)
        return;
    FDoc->LoadBackgroundFromFile(file, page);
    KeepBackgroundCopy(file);
}

void TLabelMainForm::KeepBackgroundCopy(const QString& file)
{
    // A copy in the backgrounds folder puts the picture in the list from now
    // on; a file of that name is never replaced.
    const QString target = QDir(TAppSettings::BackgroundDir()).filePath(QFileInfo(file).fileName());
    if (QFileInfo::exists(target))
        return;
    QFile source(file);
    if (source.copy(target))
        LoadBackgrounds();
    else
        // The label has the picture; only the list misses it.
        FDialogs->ShowWarning(this, QStringLiteral("Das Bild konnte nicht in den Hintergrundordner \"%1\" kopiert "
                                                   "werden (%2). Es steht deshalb nicht in der Hintergrundliste.")
                                        .arg(QDir::toNativeSeparators(TAppSettings::BackgroundDir()),
                                             source.errorString()));
}

void TLabelMainForm::OpenBackgroundFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(TAppSettings::BackgroundDir()));
    SetStatus(3, QStringLiteral("Neue Bilder erscheinen nach erneutem Öffnen der Hintergrundliste"));
    LoadBackgrounds();
}
