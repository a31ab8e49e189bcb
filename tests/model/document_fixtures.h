#pragma once
// Picture files as people have them, made in the tests: a JPEG carrying a
// camera orientation tag, SVG drawings (also gzip-compressed), PDF documents
// written by Qt, and a PDF that asks for a password.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// The JPEG bytes of Img with an EXIF block whose orientation tag is
// Orientation (1..8; 6 = the camera was held upright, turned clockwise).
QByteArray JpegWithOrientation(const QImage& Img, int Orientation);

// An SVG document of ViewW x ViewH user units (also its width and height
// in CSS pixels) holding Body.
QByteArray SvgDocument(double ViewW, double ViewH, const QString& Body);

// Bytes in the gzip format (what an .svgz file holds).
QByteArray Gzip(const QByteArray& Data);

// One page of a PDF: its size in millimetres and the black areas on it, as
// fractions of the page (0..1).
struct TPdfPageSpec {
    QSizeF SizeMm;
    std::vector<QRectF> Black;
};
// A PDF document written by Qt's PDF writer.
QByteArray PdfDocument(const std::vector<TPdfPageSpec>& Pages);

// A one-page PDF encrypted with the standard handler whose user password
// is not empty, so that no reader opens it without asking.
QByteArray EncryptedPdf();

// The share of dark pixels (gray below 128) in Rect of Img, 0..1.
double DarkShare(const QImage& Img, const QRect& Rect);
