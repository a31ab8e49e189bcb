#pragma once
// Pixel pictures (PNG, JPEG, BMP, GIF, TIFF, WebP …) as the label imports
// them: upright, on white, the longer side at most MaxSide.

#include <QImage>
#include <QSize>
#include <QString>

// Photos of today's phones exceed Qt's default decode limit of 128 MiB; an
// import allows up to this many pixels and still refuses absurd headers.
constexpr qint64 kImportMaxPixels = 256LL * 1000 * 1000;

// W x H reduced so that the longer side becomes MaxSide (each side at least
// 1, rounded halves to even); unchanged when it already fits.
QSize CappedPictureSize(QSize Size, int MaxSide);

// A picture from elsewhere (the clipboard, a drop) under the same rules as a
// file: on white, Format_RGB32, the longer side at most MaxSide. Raises
// EModelError for an empty picture.
QImage ImportedPicture(const QImage& Img, int MaxSide);

// Decodes the file: ".png" (any case) through the PNG decoder, anything else
// through the format its content shows. The camera's orientation tag is
// applied; a JPEG larger than MaxSide is decoded straight at the reduced size
// so that a photo of 100 megapixels never lies in memory at full size.
// Raises EModelError for an unreadable, undecodable or too large picture.
QImage LoadRasterPicture(const QString& FileName, int MaxSide);
