#pragma once
// Shared by the fault tests: labels big enough that a save takes a while, a
// small disk that really runs full, and PNG bytes that announce a huge
// picture behind a few hundred bytes of compressed zeros.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class FileSizeLimit;
class TLabelDoc;

// A label with two text elements; with APictureBytes > 0 also an image
// element and a background whose bytes (stored as they are, never decoded
// here) make the file about 4/3 of that size. AVariant changes the texts so
// that files of different variants differ.
std::unique_ptr<TLabelDoc> MakeLabel(int AVariant, int APictureBytes);

// The file's bytes; empty when it cannot be read.
QByteArray FileBytes(const QString& AFileName);

// A folder on a tmpfs of ABytes, mounted for the guard's lifetime. Where
// mounting is not allowed, the folder is an ordinary one and Fill() sets a
// file size limit instead, which makes writes fail the same way.
class SmallDisk {
public:
    explicit SmallDisk(int ABytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    QString Path() const { return FDir.path(); }
    bool Mounted() const { return FMounted; }
    // Takes every free byte (or, unmounted, limits files to 64 bytes).
    void Fill();
    // What Fill took, back; the filler file is removed.
    void Release();
    // Remounts the tmpfs read-only or writable again; false when not mounted
    // or not allowed.
    bool SetReadOnly(bool AOn);

private:
    QTemporaryDir FDir;
    QByteArray FOptions;
    bool FMounted = false;
    std::unique_ptr<FileSizeLimit> FLimit;
};

// A PNG file whose header announces AWidth x AHeight RGB pixels and whose
// picture data is a deflate stream of a few MB of zeros: a decompression
// bomb in a few KB.
QByteArray PngBomb(int AWidth, int AHeight);
