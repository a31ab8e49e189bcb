#include "model/mono_convert.h"

#include "model/code_layout.h"
#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/render_math.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kRun = 16;

// One dot per pixel whose gray level (GrayOf) is below 128. GrayOf(c) < 128
// exactly when the weighted sum stays below 128 * 1000; comparing the sum
// spares the division and lets the loop run on whole vectors.
void MonoRun(const QRgb* Line, uint8_t* Dots, size_t N)
{
    for (size_t i = 0; i < N; ++i) {
        const uint32_t c = Line[i];
        const uint32_t sum = 299u * ((c >> 16) & 0xFFu) + 587u * ((c >> 8) & 0xFFu) + 114u * (c & 0xFFu);
        Dots[i] = static_cast<uint8_t>(sum < 128000u);
    }
}

QImage AsRgb32(const QImage& Bmp)
{
    return Bmp.format() == QImage::Format_RGB32 ? Bmp : Bmp.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void PreviewThreshold(QImage& Bmp, int Threshold)
{
    if (Bmp.format() != QImage::Format_RGB32) {
        Bmp = Bmp.convertToFormat(QImage::Format_RGB32);
    }
    for (int y = 0; y < Bmp.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Bmp.scanLine(y));
        for (int x = 0; x < Bmp.width(); ++x) {
            line[x] = GrayOf(line[x]) >= Threshold ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
    }
}

TNbMonoImage BitmapToMono(const QImage& Bmp)
{
    const QImage src = AsRgb32(Bmp);
    TNbMonoImage m;
    m.Init(src.width(), src.height(), 0);
    const size_t w = static_cast<size_t>(src.width());
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* dots = m.Dots.data() + static_cast<size_t>(y) * w;
        size_t x = 0;
        // A label is mostly plain white and plain black: a run of pixels
        // that is all one of them is settled without weighing each pixel,
        // which matters when thousands of labels of a data merge go through.
        for (; x + kRun <= w; x += kRun) {
            uint32_t all = 0xFFFFFFFFu, any = 0;
            for (size_t i = 0; i < kRun; ++i) {
                all &= line[x + i];
                any |= line[x + i];
            }
            if ((all & 0xFFFFFFu) == 0xFFFFFFu)
                std::memset(dots + x, 0, kRun);
            else if ((any & 0xFFFFFFu) == 0)
                std::memset(dots + x, 1, kRun);
            else
                MonoRun(line + x, dots + x, kRun);
        }
        MonoRun(line + x, dots + x, w - x);
    }
    return m;
}

TNbMonoImage RotateMonoCW(const TNbMonoImage& Src)
{
    NbCheckMono(Src);
    TNbMonoImage dst;
    dst.Init(Src.Height, Src.Width, 0);
    const size_t sw = static_cast<size_t>(Src.Width);
    const size_t sh = static_cast<size_t>(Src.Height);
    // Dst(x, y) = Src(y, Src.Height - 1 - x): source row sy fills destination
    // column Src.Height - 1 - sy, top to bottom.
    for (size_t sy = 0; sy < sh; ++sy) {
        const uint8_t* row = Src.Dots.data() + sy * sw;
        uint8_t* col = dst.Dots.data() + (sh - 1 - sy);
        for (size_t sx = 0; sx < sw; ++sx) {
            col[sx * sh] = row[sx];
        }
    }
    return dst;
}

TNbMonoImage StackMonoImages(const std::vector<TNbMonoImage>& Images, int GapDots)
{
    TNbMonoImage out;
    if (Images.empty()) {
        return out;
    }
    if (GapDots < 0) {
        throw EModelError(QStringLiteral("Ungültiger Abstand zwischen den Etiketten: %1 Punkte").arg(GapDots));
    }
    const int32_t width = Images.front().Width;
    int64_t height = 0;
    for (size_t i = 0; i < Images.size(); ++i) {
        NbCheckMono(Images[i]);
        if (Images[i].Width != width) {
            throw EModelError(QStringLiteral("Die Etiketten sind unterschiedlich breit (%1 und %2 Punkte)")
                                  .arg(width)
                                  .arg(Images[i].Width));
        }
        height += Images[i].Height + (i > 0 ? GapDots : 0);
        if (height > std::numeric_limits<int32_t>::max()) {
            throw EModelError(QStringLiteral("Der Druck ist zu lang"));
        }
    }
    out.Init(width, static_cast<int32_t>(height), 0);
    size_t offset = 0;
    for (const TNbMonoImage& m : Images) {
        if (!m.Dots.empty()) {
            std::memcpy(out.Dots.data() + offset, m.Dots.data(), m.Dots.size());
        }
        offset += m.Dots.size() + static_cast<size_t>(GapDots) * static_cast<size_t>(width);
    }
    return out;
}

TNbMonoImage TLabelDoc::RenderMono(int CopyNo, const TMergeRecord* Record) const
{
    CheckCodesPrintable(*this, CopyNo, Record);
    const TNbMonoImage m = BitmapToMono(RenderBitmap(true, CopyNo, Record));
    return Landscape ? RotateMonoCW(m) : m;
}

int GapMmToDots(int32_t GapMm)
{
    const int32_t mm = std::max(GapMm, 0);
    if (mm > std::numeric_limits<int32_t>::max() / 8)
        throw EModelError(QStringLiteral("Abstand zwischen den Kopien ist zu groß"));
    return mm * 8;
}
