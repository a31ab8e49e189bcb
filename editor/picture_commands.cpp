// Pictures as people have them: files of every readable kind, a page of a
// PDF document chosen from several, and pictures that come without a file
// (pasted or dropped), each becoming an image element of the label.
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "model/dot_math.h"
#include "model/label_doc.h"
#include "model/pdf_picture.h"
#include "model/picture_io.h"
#include "model/picture_source.h"
#include "model/raster_picture.h"

#include <QFileInfo>
#include <algorithm>

namespace {

// The picture fills at most 80 % of the label either way, centred on At or
// on the label.
void PlaceBox(TLabelElement& E, QSizeF Natural, int32_t DW, int32_t DH, std::optional<QPoint> At)
{
    const double s = std::min(DW * 0.8 / Natural.width(), DH * 0.8 / Natural.height());
    E.W = std::max<int32_t>(8, RoundHalfEven(Natural.width() * s));
    E.H = std::max<int32_t>(8, RoundHalfEven(Natural.height() * s));
    E.X = At ? At->x() - E.W / 2 : (DW - E.W) / 2;
    E.Y = At ? At->y() - E.H / 2 : (DH - E.H) / 2;
}

} // namespace

void ShowPictureLoadError(TDialogs& Dialogs, QWidget* Parent, const std::exception& Error)
{
    Dialogs.ShowError(Parent, QStringLiteral("Bild konnte nicht geladen werden:\r\n") + QString::fromUtf8(Error.what()));
}

int TLabelMainForm::ChoosePage(const QString& File)
{
    if (PictureKindOf(File) != pkPdf)
        return 1;
    const TPdfPicture pdf(File);
    const int n = pdf.PageCount();
    if (n == 1)
        return 1;
    QStringList pages;
    for (int i = 1; i <= n; ++i)
        pages << QStringLiteral("Seite %1 von %2").arg(i).arg(n);
    int index = 0;
    if (!FDialogs->ChooseItem(this, QStringLiteral("Seite wählen"),
                              QStringLiteral("\"%1\" hat %2 Seiten. Welche soll auf das Etikett?")
                                  .arg(QFileInfo(File).fileName())
                                  .arg(n),
                              pages, index))
        return 0;
    return index + 1;
}

void TLabelMainForm::InsertPictureFile(const QString& File, std::optional<QPoint> At)
{
    auto E = std::make_unique<TLabelElement>(ekImage);
    try {
        const int page = ChoosePage(File);
        if (page == 0)
            return;
        TPictureSource source(File, kPictureMaxSide);
        source.SelectPage(page);
        PlaceBox(*E, source.NaturalSize(), FDoc->DesignWidth(), FDoc->DesignHeight(), At);
        // A drawing or a page is drawn at the box's size, so it prints sharp.
        E->LoadImageFrom(source);
        E->Dither = !source.IsVector();
    } catch (const std::exception& ex) {
        ShowPictureLoadError(*FDialogs, this, ex);
        return;
    }
    AddElement(std::move(E));
}

void TLabelMainForm::InsertPictureImage(const QImage& Img, std::optional<QPoint> At)
{
    auto E = std::make_unique<TLabelElement>(ekImage);
    try {
        const QImage picture = ImportedPicture(Img, kPictureMaxSide);
        E->SetImagePng(BitmapToPng(picture));
        PlaceBox(*E, picture.size(), FDoc->DesignWidth(), FDoc->DesignHeight(), At);
    } catch (const std::exception& ex) {
        ShowPictureLoadError(*FDialogs, this, ex);
        return;
    }
    AddElement(std::move(E));
}
