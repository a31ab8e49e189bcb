// Any bytes as a picture file to import. The first input byte picks the
// file name's extension (PNG decoder or the general one) and the size limit;
// the rest is the file. The import either fails with a message or gives an
// opaque bitmap whose longer side keeps the limit.

#include "fuzz_support.h"

#include "model/model_error.h"
#include "model/picture_io.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

const std::array<const char*, 8> kExtensions = {".png", ".PNG", ".jpg", ".bmp", ".gif", ".tif", ".jpeg", ""};
const std::array<int, 4> kMaxSides = {kPictureMaxSide, 64, 7, 1};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const QString Ext = QString::fromLatin1(kExtensions[Data[0] % kExtensions.size()]);
    const int MaxSide = kMaxSides[(Data[0] / kExtensions.size()) % kMaxSides.size()];
    const QString Name = FuzzScratchDir() + QStringLiteral("/bild") + Ext;
    {
        QFile F(Name);
        if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || F.write(reinterpret_cast<const char*>(Data + 1), qint64(Size - 1)) != qint64(Size - 1))
            FuzzFail("scratch file written", Name, F.errorString());
    }

    QImage Bmp;
    try {
        Bmp = LoadPictureFile(Name, MaxSide);
    } catch (const EModelError& E) {
        if (E.Message().isEmpty())
            FuzzFail("a refusal says why", QStringLiteral("(message)"), E.Message());
        return 0;
    }
    if (Bmp.isNull() || Bmp.format() != QImage::Format_RGB32 || Bmp.width() < 1 || Bmp.height() < 1
        || std::max(Bmp.width(), Bmp.height()) > MaxSide)
        FuzzFail("an import is an RGB32 bitmap within the limit", QString::number(MaxSide),
                 QStringLiteral("%1 x %2, format %3").arg(Bmp.width()).arg(Bmp.height()).arg(int(Bmp.format())));
    return 0;
}
