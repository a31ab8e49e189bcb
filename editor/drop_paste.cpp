#include "editor/drop_paste.h"

#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/picture_source.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

TDropContent DropContentOf(const QMimeData& Data)
{
    TDropContent content;
    for (const QUrl& url : Data.urls()) {
        if (!url.isLocalFile())
            continue;  // nothing is fetched from the network
        const QString file = url.toLocalFile();
        if (!QFileInfo(file).isFile())
            continue;
        if (file.endsWith(kLabelFileExt, Qt::CaseInsensitive))
            content.LabelFiles << file;
        else if (IsPictureFileName(file) || PictureKindOf(file) != pkRaster)
            content.PictureFiles << file;
    }
    if (content.LabelFiles.isEmpty() && content.PictureFiles.isEmpty() && Data.hasImage())
        content.Image = qvariant_cast<QImage>(Data.imageData());
    return content;
}

TDropTargets::TDropTargets(TLabelMainForm& Form, QWidget* Canvas, QWidget* Backgrounds)
    : QObject(&Form), FForm(Form), FCanvas(Canvas), FBackgrounds(Backgrounds)
{
    for (QWidget* w : {static_cast<QWidget*>(&Form), Canvas, Backgrounds}) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
}

bool TDropTargets::eventFilter(QObject* Watched, QEvent* Event)
{
    const QEvent::Type type = Event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(Event);
    const TDropContent content = DropContentOf(*drop->mimeData());
    if (content.IsEmpty()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type != QEvent::Drop)
        return true;
    const TTarget target = Watched == FCanvas ? TTarget::Canvas
                           : Watched == FBackgrounds ? TTarget::Backgrounds
                                                     : TTarget::Window;
    const QPoint pos = drop->position().toPoint();
    QMetaObject::invokeMethod(this, [this, target, content, pos] { Handle(target, content, pos); },
                              Qt::QueuedConnection);
    return true;
}

void TDropTargets::Handle(TTarget Target, const TDropContent& Content, QPoint CanvasPos)
{
    if (!Content.LabelFiles.isEmpty()) {
        FForm.OpenTemplate(Content.LabelFiles.first());  // asks about unsaved changes first
        return;
    }
    if (Target == TTarget::Backgrounds) {
        if (!Content.PictureFiles.isEmpty())
            FForm.DropBackgroundPicture(Content.PictureFiles.first());
        return;
    }
    std::optional<QPoint> at;
    if (Target == TTarget::Canvas)
        at = FForm.ScreenToDesign(CanvasPos.x(), CanvasPos.y());
    for (const QString& file : Content.PictureFiles)
        FForm.InsertPictureFile(file, at);
    if (!Content.Image.isNull())
        FForm.InsertPictureImage(Content.Image, at);
}

void TLabelMainForm::InstallDropTargets()
{
    FDropTargets = new TDropTargets(*this, PaintBox, CbBg);
}

void TLabelMainForm::DropBackgroundPicture(const QString& File)
{
    // Drawn for a label of the same size first: a file that fails leaves
    // the label, its history and its modified flag untouched.
    TLabelDoc scratch;
    scratch.LengthMm = FDoc->LengthMm;
    scratch.Landscape = FDoc->Landscape;
    try {
        const int page = ChoosePage(File);
        if (page == 0)
            return;
        scratch.LoadBackgroundFromFile(File, page);
    } catch (const std::exception& e) {
        ShowPictureLoadError(*FDialogs, this, e);
        return;
    }
    PushUndo();
    FDoc->SetBgPng(scratch.BgPng());
    FDoc->BgPreset = bpImage;
    KeepBackgroundCopy(File);
    ShowLabelProps();
    DocChanged();
}

bool TLabelMainForm::PasteFromClipboard(const QMimeData* Data)
{
    // What other programs put there: picture files, a picture, plain text.
    const TDropContent content = DropContentOf(*Data);
    for (const QString& file : content.PictureFiles)
        InsertPictureFile(file);
    if (!content.Image.isNull()) {
        InsertPictureImage(content.Image);
        return true;
    }
    if (content.PictureFiles.isEmpty() && Data->hasText() && !Data->text().trimmed().isEmpty()) {
        InsertTextElement(Data->text());
        return true;
    }
    return !content.PictureFiles.isEmpty();
}
