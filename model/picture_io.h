#pragma once
// Picture files and PNG bytes: every picture of a label is kept as the bytes
// of a PNG file and decoded into a Format_RGB32 bitmap only when drawn.

#include <QByteArray>
#include <QImage>
#include <QString>

// The longer side of an imported picture, in dots.
constexpr int kPictureMaxSide = 1200;

// Reads a picture file: ".png" (any case) through the PNG decoder, an SVG
// drawing or the first page of a PDF at its own size, anything else through
// Qt's general reader. Transparent parts become white; when the longer side
// exceeds MaxSide the picture is reduced so that it becomes MaxSide. Raises
// EModelError for a missing, unreadable, undecodable or absurdly large picture.
QImage LoadPictureFile(const QString& FileName, int MaxSide);

// The bytes of a PNG file holding the bitmap's pixels (lossless).
QByteArray BitmapToPng(const QImage& Bmp);

// A Format_RGB32 bitmap of the PNG picture, transparency on white; a null
// QImage for empty bytes. Raises EModelError for bytes that are no valid PNG.
QImage PngToBitmap(const QByteArray& Bytes);
