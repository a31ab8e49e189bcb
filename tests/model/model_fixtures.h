#pragma once
// Small fixtures for the label model tests: pictures, crafted files, file I/O.

#include "model/model_error.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// Base of the tests that work on files: a temporary folder, and the German
// message of the EModelError a call raises.
class TModelFileTest : public ::testing::Test {
protected:
    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    // The message of the EModelError that Fn raises; fails when it raises none.
    template <class F>
    static QString ErrorOf(F&& Fn)
    {
        try {
            Fn();
        } catch (const EModelError& E) {
            return E.Message();
        }
        ADD_FAILURE() << "no EModelError";
        return QString();
    }

    QTemporaryDir Dir;
};
