#include "ble/sim/sim_v5g_decoder.h"

#include <algorithm>

namespace {
constexpr size_t kHeader = 6;

void AppendRow(TNbMonoImage& Raster, const std::vector<uint8_t>& Packed)
{
    const int32_t width = static_cast<int32_t>(Packed.size() * 8);
    if (Raster.Height == 0)
        Raster.Width = width;
    if (width != Raster.Width) {
        // A row of another width still prints: the raster widens to the widest row,
        // narrower rows keep paper on their right, and nothing is lost.
        const int32_t newWidth = std::max(width, Raster.Width);
        std::vector<uint8_t> dots(static_cast<size_t>(newWidth) * Raster.Height, 0);
        for (int32_t y = 0; y < Raster.Height; ++y)
            std::copy_n(Raster.Dots.begin() + static_cast<ptrdiff_t>(y) * Raster.Width, Raster.Width,
                        dots.begin() + static_cast<ptrdiff_t>(y) * newWidth);
        Raster.Dots.swap(dots);
        Raster.Width = newWidth;
    }
    const size_t base = Raster.Dots.size();
    Raster.Dots.resize(base + static_cast<size_t>(Raster.Width), 0);
    for (int32_t x = 0; x < width; ++x)
        Raster.Dots[base + x] = (Packed[x / 8] >> (x % 8)) & 1;
    ++Raster.Height;
}
} // namespace

std::vector<TSimV5GDecoder::TFrame> TSimV5GDecoder::Feed(const std::vector<uint8_t>& bytes)
{
    std::vector<TFrame> frames;
    FBuf.insert(FBuf.end(), bytes.begin(), bytes.end());
    while (FBuf.size() - FPos >= kHeader) {
        const uint8_t* p = FBuf.data() + FPos;
        if (p[0] != 0x51 || p[1] != 0x78) {
            // Out of step: look for the next frame start.
            ++FErrors;
            ++FPos;
            while (FBuf.size() - FPos >= 2 && !(FBuf[FPos] == 0x51 && FBuf[FPos + 1] == 0x78))
                ++FPos;
            continue;
        }
        const size_t n = static_cast<size_t>(p[4]) | (static_cast<size_t>(p[5]) << 8);
        if (FBuf.size() - FPos < kHeader + n + 2)
            break;
        std::vector<uint8_t> payload(p + kHeader, p + kHeader + n);
        const uint8_t crc = p[kHeader + n];
        const uint8_t end = p[kHeader + n + 1];
        if (p[3] != 0x00 || end != 0xFF || crc != NbCrc8(payload)) {
            ++FErrors;
            ++FPos;
            continue;
        }
        frames.push_back({p[2], std::move(payload)});
        FPos += kHeader + n + 2;
    }
    // Keep the buffer small without moving it on every packet.
    if (FPos > 65536 || FPos == FBuf.size()) {
        FBuf.erase(FBuf.begin(), FBuf.begin() + static_cast<ptrdiff_t>(FPos));
        FPos = 0;
    }
    return frames;
}

bool TSimV5GDecoder::Apply(const TFrame& frame)
{
    const std::vector<uint8_t>& d = frame.Payload;
    auto u16 = [&d] { return d.size() >= 2 ? static_cast<int>(d[0] | (d[1] << 8)) : -1; };
    switch (frame.Cmd) {
    case 0xA2:
        AppendRow(FCurrent.Raster, d);
        break;
    case 0xA4:
        FCurrent.Quality = d.size() == 1 ? d[0] - 0x30 : -1;
        break;
    case 0xAF:
        FCurrent.Energy = u16();
        break;
    case 0xBD:
        FCurrent.Speed = d.empty() ? -1 : d[0];
        ++FCurrent.SpeedFrames;
        break;
    case 0xBE:
        FCurrent.DrawMode = d.empty() ? -1 : d[0];
        break;
    case 0xF2:
        FCurrent.Density = d.size() == 2 ? d[1] : -1;
        break;
    case 0xA1:
        FCurrent.FeedLines += std::max(0, u16());
        break;
    case 0xA6:
        // Image begin and image end share the command; the fourth payload byte tells them apart.
        if (d.size() == 11 && d[3] == 0x00) {
            FPrints.push_back(std::move(FCurrent));
            FCurrent = TSimV5GPrint{};
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}
