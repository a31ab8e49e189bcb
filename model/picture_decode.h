#pragma once
// The checks every decode of a picture goes through: a size announced in the
// header is weighed before a single pixel is allocated, and transparency ends
// up on white.

#include <QImage>
#include <QString>

class QImageReader;

// Decodes with the reader, refusing first a picture whose header announces
// more than the allocation limit in force allows ("... ist zu groß"). What
// names the picture in that message; FailText is the message for a file the
// decoder cannot read.
QImage DecodeChecked(QImageReader& Reader, const QString& What, const QString& FailText);

// Raises "... ist zu groß (W × H Pixel)" when W × H × 4 bytes exceed the
// allocation limit in force.
void CheckPictureSize(int W, int H, const QString& What);

// An opaque Format_RGB32 copy: the picture drawn onto white.
QImage OnWhite(const QImage& Src);

// Raises the decoders' allocation limit for as long as it lives and puts the
// previous one back afterwards (the limit is global to the process).
class TAllocationLimitScope {
public:
    explicit TAllocationLimitScope(int MiB);
    ~TAllocationLimitScope();
    TAllocationLimitScope(const TAllocationLimitScope&) = delete;
    TAllocationLimitScope& operator=(const TAllocationLimitScope&) = delete;

private:
    int FPrevious;
};
