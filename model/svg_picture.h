#pragma once
// SVG and SVGZ drawings: drawn afresh at the size in dots that the label
// needs, so a logo stays sharp however large its box is.

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class QSvgRenderer;

class TSvgPicture {
public:
    // Raises EModelError for a file Qt SVG cannot parse and for a drawing
    // without any extent.
    explicit TSvgPicture(const QString& FileName);
    ~TSvgPicture();
    TSvgPicture(const TSvgPicture&) = delete;
    TSvgPicture& operator=(const TSvgPicture&) = delete;

    // The drawing's own size (CSS pixels of 1/96 inch) in printer dots.
    QSizeF NaturalSize() const;
    // The whole drawing stretched onto Dots, on white. Raises EModelError
    // when the drawing leaves every pixel empty.
    QImage Render(QSize Dots) const;

private:
    QString FName;
    std::unique_ptr<QSvgRenderer> FRenderer;
};
