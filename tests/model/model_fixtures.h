#pragma once
// Small fixtures for the label model tests: pictures, crafted files, file I/O.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& S, std::ostream* Os)
{
    *Os << '"' << S.toStdString() << '"';
}

// A photo-like RGB32 picture: colour gradients with pseudo-random noise, so
// that PNG sizes are realistic. The same seed gives the same picture.
QImage NoisyPicture(int W, int H, uint32_t Seed);

// A PNG file whose header announces W x H pixels (valid signature and
// checksums) followed by a token of image data far too small for that size.
QByteArray PngHeaderOnly(uint32_t W, uint32_t H);

void WriteBytes(const QString& Path, const QByteArray& Bytes);
QByteArray ReadBytes(const QString& Path);

// Saves Img in Qt's Format ("png", "jpg", "bmp", "tiff") to Path.
void SavePicture(const QImage& Img, const QString& Path, const char* Format);
