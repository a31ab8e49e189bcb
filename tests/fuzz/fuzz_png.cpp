// PNG bytes as a label file may carry them: decoded to an opaque bitmap or
// refused with a message; a decoded picture survives encoding and decoding
// again pixel for pixel.

#include "fuzz_support.h"

#include "model/model_error.h"
#include "model/picture_io.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QByteArray Bytes(reinterpret_cast<const char*>(Data), qsizetype(Size));
    QImage Bmp;
    try {
        Bmp = PngToBitmap(Bytes);
    } catch (const EModelError& E) {
        if (E.Message().isEmpty())
            FuzzFail("a refusal says why", QStringLiteral("(message)"), E.Message());
        return 0;
    }
    if (Bytes.isEmpty()) {
        if (!Bmp.isNull())
            FuzzFail("no bytes, no picture", QString(), QStringLiteral("a picture"));
        return 0;
    }
    if (Bmp.isNull() || Bmp.format() != QImage::Format_RGB32)
        FuzzFail("a decoded picture is an RGB32 bitmap", QStringLiteral("RGB32"),
                 QString::number(int(Bmp.format())));

    // Re-encoding large pictures costs seconds each; small ones show the
    // same faults.
    if (qint64(Bmp.width()) * Bmp.height() > 512 * 512)
        return 0;
    const QImage Again = PngToBitmap(BitmapToPng(Bmp));
    if (Again != Bmp)
        FuzzFail("encode and decode keep every pixel",
                 QStringLiteral("%1 x %2").arg(Bmp.width()).arg(Bmp.height()),
                 QStringLiteral("%1 x %2").arg(Again.width()).arg(Again.height()));
    return 0;
}
