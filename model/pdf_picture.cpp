#include "model/pdf_picture.h"

#include "model/model_error.h"
#include "model/picture_decode.h"

#include <QFileInfo>
#include <QPainter>

#include <poppler-qt6.h>


namespace {

// Poppler reports every oddity of a damaged file on the debug channel; the
// user gets one German message instead.
void Quiet(const QString&, const QVariant&) {}

QSizeF PageSizePt(const Poppler::Document& Doc, int Page)
{
    const std::unique_ptr<Poppler::Page> P = Doc.page(Page - 1);
    return P ? P->pageSizeF() : QSizeF();
}

}  // namespace

TPdfPicture::TPdfPicture(const QString& FileName) : FName(QFileInfo(FileName).fileName())
{
    Poppler::setDebugErrorFunction(Quiet, QVariant());
    FDoc = Poppler::Document::load(FileName);
    if (!FDoc)
        throw EModelError(
            QStringLiteral("Die PDF-Datei \"%1\" kann nicht gelesen werden (beschädigte Datei)").arg(FName));
    if (FDoc->isLocked())
        throw EModelError(
            QStringLiteral("Die PDF-Datei \"%1\" ist verschlüsselt und kann nicht geöffnet werden").arg(FName));
    FPageCount = FDoc->numPages();
    if (FPageCount <= 0)
        throw EModelError(QStringLiteral("Die PDF-Datei \"%1\" enthält keine Seite").arg(FName));
    FDoc->setRenderHint(Poppler::Document::Antialiasing);
    FDoc->setRenderHint(Poppler::Document::TextAntialiasing);
}

TPdfPicture::~TPdfPicture() = default;

void TPdfPicture::SelectPage(int Page)
{
    if (Page < 1 || Page > FPageCount)
        throw EModelError(QStringLiteral("Die PDF-Datei \"%1\" hat keine Seite %2 (Seiten 1 bis %3)")
                              .arg(FName)
                              .arg(Page)
                              .arg(FPageCount));
    FPage = Page;
}

QSizeF TPdfPicture::NaturalSize() const
{
    const QSizeF Pt = PageSizePt(*FDoc, FPage);
    if (Pt.isEmpty())
        throw EModelError(QStringLiteral("Die Seite %1 der PDF-Datei \"%2\" ist leer").arg(FPage).arg(FName));
    return Pt * (kPrinterDpi / 72.0);
}

QImage TPdfPicture::Render(QSize Dots) const
{
    Dots = Dots.expandedTo(QSize(1, 1));
    const QString What = QStringLiteral("Die Seite %1 der PDF-Datei \"%2\"").arg(FPage).arg(FName);
    CheckPictureSize(Dots.width(), Dots.height(), What);
    const std::unique_ptr<Poppler::Page> P = FDoc->page(FPage - 1);
    const QSizeF Pt = P ? P->pageSizeF() : QSizeF();
    if (Pt.isEmpty())
        throw EModelError(QStringLiteral("%1 ist leer").arg(What));
    // One resolution per axis puts the page onto exactly Dots.
    QImage Page = P->renderToImage(Dots.width() * 72.0 / Pt.width(), Dots.height() * 72.0 / Pt.height(), 0, 0,
                                   Dots.width(), Dots.height());
    if (Page.isNull())
        throw EModelError(QStringLiteral("%1 kann nicht gezeichnet werden").arg(What));
    if (Page.size() == Dots)
        return OnWhite(Page);
    // A rounding dot short: the rest is white paper.
    QImage Exact(Dots, QImage::Format_RGB32);
    Exact.fill(Qt::white);
    QPainter(&Exact).drawImage(0, 0, Page);
    return Exact;
}
