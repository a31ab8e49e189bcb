#pragma once
// A picture file as people have it: a photo or other pixel picture, an SVG
// drawing or a page of a PDF document. Pixel pictures are imported once at
// their capped size; drawings and pages are drawn at whatever size in dots
// the label needs.

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class TSvgPicture;
class TPdfPicture;

enum TPictureKind : int { pkRaster = 0, pkSvg = 1, pkPdf = 2 };

// The longest side a drawing is ever drawn at: a 1000 mm label.
constexpr int kVectorMaxSide = 8000;

// What the file holds, judged by its first bytes and then by its extension
// (so that a damaged "x.pdf" is reported as a PDF). A ".png" file is always
// a pixel picture.
TPictureKind PictureKindOf(const QString& FileName);

// The file-dialog filter "Bilder|*.png;…|Alle Dateien|*.*" with every
// extension that can be read: Qt's picture formats, SVG, SVGZ and PDF.
QString PictureFileFilter();
// True when the extension of FileName is one of those.
bool IsPictureFileName(const QString& FileName);

class TPictureSource {
public:
    // Opens and checks the file; a pixel picture is decoded here with its
    // longer side at most MaxSide. Raises EModelError with the German reason.
    explicit TPictureSource(const QString& FileName, int MaxSide = 1200);
    ~TPictureSource();
    TPictureSource(const TPictureSource&) = delete;
    TPictureSource& operator=(const TPictureSource&) = delete;

    TPictureKind Kind() const { return FKind; }
    bool IsVector() const { return FKind != pkRaster; }
    // Pages of a PDF document; 1 for everything else.
    int PageCount() const;
    // 1-based; raises EModelError for a page that does not exist.
    void SelectPage(int Page);

    // The picture's own size: the imported pixels, the drawing at 96 CSS
    // pixels per inch, or the page at 203 dpi, in dots.
    QSize NaturalDots() const;
    // The same before rounding, for the aspect of drawings.
    QSizeF NaturalSize() const;
    // The picture to keep for a box of Box dots: a pixel picture as
    // imported; a drawing as large as fits into the box with its aspect.
    QImage RenderFitting(QSize Box) const;
    // As RenderFitting, but as large as covers the whole area (backgrounds
    // in every mode: fit, fill and stretch).
    QImage RenderCovering(QSize Area) const;

private:
    QImage RenderVector(QSize Dots) const;

    TPictureKind FKind = pkRaster;
    QImage FRaster;
    std::unique_ptr<TSvgPicture> FSvg;
    std::unique_ptr<TPdfPicture> FPdf;
};
