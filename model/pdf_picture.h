#pragma once
// Pages of PDF documents (shipping labels, tickets) drawn through Poppler at
// the size in dots the label needs.

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace Poppler {
class Document;
}

// The printer's resolution, at which a page has its natural size.
constexpr double kPrinterDpi = 203.0;

class TPdfPicture {
public:
    // Raises EModelError for a file that is no readable PDF, an encrypted
    // document and a document without pages.
    explicit TPdfPicture(const QString& FileName);
    ~TPdfPicture();
    TPdfPicture(const TPdfPicture&) = delete;
    TPdfPicture& operator=(const TPdfPicture&) = delete;

    int PageCount() const { return FPageCount; }
    // 1-based; raises EModelError for a page the document does not have.
    void SelectPage(int Page);
    int Page() const { return FPage; }

    // The chosen page at 203 dpi, in dots.
    QSizeF NaturalSize() const;
    // The chosen page drawn onto exactly Dots, on white.
    QImage Render(QSize Dots) const;

private:
    QString FName;
    std::unique_ptr<Poppler::Document> FDoc;
    int FPageCount = 0;
    int FPage = 1;
};
