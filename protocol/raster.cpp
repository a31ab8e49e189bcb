#include "protocol/raster.h"

#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

std::string SizeText(int64_t AWidth, int64_t AHeight) {
  return std::to_string(AWidth) + " x " + std::to_string(AHeight);
}

// Linear index of (X, Y). Both coordinates are checked, not just the linear
// index: a point right of the last column must not silently land in the next
// row. Works in 64 bits so that huge coordinates cannot wrap.
std::size_t CheckedIndex(int32_t AWidth, int32_t AHeight, std::size_t ACount, int32_t X,
                         int32_t Y) {
  const int64_t index = static_cast<int64_t>(Y) * AWidth + X;
  if (X < 0 || Y < 0 || X >= AWidth || Y >= AHeight || index < 0 ||
      static_cast<uint64_t>(index) >= ACount) {
    throw std::out_of_range("Bildpunkt (" + std::to_string(X) + ", " + std::to_string(Y) +
                            ") liegt außerhalb des Rasters " + SizeText(AWidth, AHeight));
  }
  return static_cast<std::size_t>(index);
}

void CheckShape(int32_t AWidth, int32_t AHeight, std::size_t ACount) {
  if (AWidth < 0 || AHeight < 0 ||
      static_cast<uint64_t>(AWidth) * static_cast<uint64_t>(AHeight) != ACount) {
    throw std::out_of_range("Rasterdaten (" + std::to_string(ACount) +
                            " Bytes) passen nicht zur Größe " + SizeText(AWidth, AHeight));
  }
}

// Eight dot bytes to eight bits, leftmost dot in bit 0. Marks every non-zero
// byte in its top bit, then one multiplication gathers the eight marks into
// the top byte (no two partial products meet, so nothing carries).
inline uint8_t PackEight(const uint8_t* ADots) {
  uint64_t w;
  std::memcpy(&w, ADots, sizeof w);
  constexpr uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t marks = (((w & low7) + low7) | w) & ~low7;
  return static_cast<uint8_t>(((marks >> 7) * 0x0102040810204080ULL) >> 56);
}

}  // namespace

std::size_t NbRasterArea(int32_t AWidth, int32_t AHeight) {
  if (AWidth < 0 || AHeight < 0) {
    throw std::invalid_argument("Negative Rastergröße " + SizeText(AWidth, AHeight));
  }
  const int64_t area = static_cast<int64_t>(AWidth) * AHeight;
  if (area > std::numeric_limits<int32_t>::max()) {
    throw std::overflow_error("Rastergröße " + SizeText(AWidth, AHeight) +
                              " überschreitet den Zahlenbereich");
  }
  return static_cast<std::size_t>(area);
}

void TNbGrayImage::Init(int32_t AWidth, int32_t AHeight, uint8_t Fill) {
  const std::size_t area = NbRasterArea(AWidth, AHeight);
  std::vector<uint8_t> pixels(area, Fill);
  Width = AWidth;
  Height = AHeight;
  Pixels = std::move(pixels);
}

uint8_t TNbGrayImage::GetPixel(int32_t X, int32_t Y) const {
  return Pixels[CheckedIndex(Width, Height, Pixels.size(), X, Y)];
}

void TNbGrayImage::SetPixel(int32_t X, int32_t Y, uint8_t Value) {
  Pixels[CheckedIndex(Width, Height, Pixels.size(), X, Y)] = Value;
}

void TNbMonoImage::Init(int32_t AWidth, int32_t AHeight, uint8_t Fill) {
  const std::size_t area = NbRasterArea(AWidth, AHeight);
  std::vector<uint8_t> dots(area, Fill);
  Width = AWidth;
  Height = AHeight;
  Dots = std::move(dots);
}

uint8_t TNbMonoImage::GetDot(int32_t X, int32_t Y) const {
  return Dots[CheckedIndex(Width, Height, Dots.size(), X, Y)];
}

void TNbMonoImage::SetDot(int32_t X, int32_t Y, uint8_t Value) {
  Dots[CheckedIndex(Width, Height, Dots.size(), X, Y)] = Value;
}

namespace {

void ThresholdToMono(const TNbGrayImage& Gray, uint8_t Threshold, uint8_t* ADots) {
  const uint8_t* src = Gray.Pixels.data();
  const std::size_t n = Gray.Pixels.size();
  for (std::size_t i = 0; i < n; ++i) ADots[i] = src[i] < Threshold ? 1 : 0;
}

// The four shares of the error a pixel of work value v passes on. Every
// error lies within -255..255 (ink leaves v < Threshold <= 255, paper
// v - 255 with v >= Threshold >= 0, and the shares that arrive at a pixel add
// up to at most 16/16 of such an error), so every work value lies within
// -255..510 and the shares of all of them fit one small table. Looking the
// shares up keeps the chain from one pixel to the next down to an addition
// and a load.
struct TShares {
  int16_t Right;      // (e * 7) / 16 for (X + 1, Y)
  int16_t DownLeft;   // (e * 3) / 16
  int16_t Down;       // (e * 5) / 16
  int16_t DownRight;  // (e * 1) / 16
};

constexpr int32_t kMinWork = -255;
constexpr int32_t kMaxWork = 510;

void FillShares(int32_t AThreshold, TShares* AShares) {
  for (int32_t v = kMinWork; v <= kMaxWork; ++v) {
    const int32_t e = v < AThreshold ? v : v - 255;
    // Integer division truncates toward zero: an error of -1 passes nothing.
    AShares[v - kMinWork] = {static_cast<int16_t>((e * 7) / 16), static_cast<int16_t>((e * 3) / 16),
                             static_cast<int16_t>((e * 5) / 16), static_cast<int16_t>(e / 16)};
  }
}

// One row of Floyd-Steinberg, walked left to right. Errors only ever travel
// one row down, so a single row of pending errors (Err) gives exactly the
// values a whole-image work buffer would: pixel X reads what the row above
// left for it, and column X - 1, which no later pixel of this row touches,
// takes its final value for the next row at the same moment. The shares
// still open for columns X and X + 1 stay in registers. A guard cell left of
// the row takes the share that falls off the left edge; what falls off the
// right edge is dropped.
struct TDitherRow {
  const uint8_t* Src;
  uint8_t* Dst;
  int32_t Right = 0;      // share for (X + 1, Y)
  int32_t BelowLeft = 0;  // collected so far for (X - 1, Y + 1)
  int32_t Below = 0;      // collected so far for (X, Y + 1)

  void Step(int32_t X, int32_t* Err, const TShares* AShares, int32_t AThreshold) {
    const int32_t v = Src[X] + Err[X] + Right;
    Dst[X] = v < AThreshold ? 1 : 0;
    const TShares& s = AShares[v];
    Right = s.Right;
    Err[X - 1] = BelowLeft + s.DownLeft;
    BelowLeft = Below + s.Down;
    Below = s.DownRight;
  }
  void Finish(int32_t AWidth, int32_t* Err) const { Err[AWidth - 1] = BelowLeft; }
};

// Rows go in pairs, the lower one a pixel behind the upper one: pixel
// (X - 1, Y + 1) needs the upper row only up to X, which is done by then.
// The two rows are independent chains of work that the processor runs side
// by side. Both share the pending row: the upper row writes column X - 1 for
// the lower one just before the lower one reads it, and the lower one
// overwrites column X - 2 for the row after it once it is through with it.
// Shares below the last row are dropped with the pending row.
void DitherToMono(const TNbGrayImage& Gray, uint8_t Threshold, uint8_t* ADots) {
  const int32_t w = Gray.Width;
  const int32_t h = Gray.Height;
  if (w == 0 || h == 0) return;
  TShares table[kMaxWork - kMinWork + 1];
  FillShares(Threshold, table);
  const TShares* shares = table - kMinWork;
  std::vector<int32_t> pending(static_cast<std::size_t>(w) + 1, 0);
  int32_t* err = pending.data() + 1;
  const int32_t threshold = Threshold;
  auto row = [&](int32_t y) {
    const std::size_t offset = static_cast<std::size_t>(y) * w;
    return TDitherRow{Gray.Pixels.data() + offset, ADots + offset};
  };
  int32_t y = 0;
  for (; y + 2 <= h; y += 2) {
    TDitherRow upper = row(y);
    TDitherRow lower = row(y + 1);
    upper.Step(0, err, shares, threshold);
    for (int32_t x = 1; x < w; ++x) {
      upper.Step(x, err, shares, threshold);
      lower.Step(x - 1, err, shares, threshold);
    }
    upper.Finish(w, err);
    lower.Step(w - 1, err, shares, threshold);
    lower.Finish(w, err);
  }
  if (y < h) {
    TDitherRow last = row(y);
    for (int32_t x = 0; x < w; ++x) last.Step(x, err, shares, threshold);
  }
}

}  // namespace

TNbMonoImage NbGrayToMono(const TNbGrayImage& Gray, bool Dither, uint8_t Threshold) {
  const std::size_t area = NbRasterArea(Gray.Width, Gray.Height);
  CheckShape(Gray.Width, Gray.Height, Gray.Pixels.size());
  TNbMonoImage mono;
  mono.Width = Gray.Width;
  mono.Height = Gray.Height;
  mono.Dots.resize(area);
  if (Dither) {
    DitherToMono(Gray, Threshold, mono.Dots.data());
  } else {
    ThresholdToMono(Gray, Threshold, mono.Dots.data());
  }
  return mono;
}

std::size_t NbPackedRowSize(int32_t Width) {
  if (Width < 0) throw std::invalid_argument("Negative Rasterbreite " + std::to_string(Width));
  return (static_cast<std::size_t>(Width) + 7) / 8;
}

void NbCheckMono(const TNbMonoImage& Mono) {
  CheckShape(Mono.Width, Mono.Height, Mono.Dots.size());
}

namespace {

void CheckRow(const TNbMonoImage& Mono, int32_t Y) {
  NbCheckMono(Mono);
  if (Y < 0 || Y >= Mono.Height) {
    throw std::out_of_range("Zeile " + std::to_string(Y) + " liegt außerhalb des Rasters " +
                            SizeText(Mono.Width, Mono.Height));
  }
}

// Packs without checks; the callers have checked the raster and the row.
void PackRowUnchecked(const TNbMonoImage& Mono, int32_t Y, uint8_t* Out) {
  const int32_t w = Mono.Width;
  const uint8_t* src = Mono.Dots.data() + static_cast<std::size_t>(Y) * w;
  const int32_t whole = w / 8;
  int32_t i = 0;
#if defined(__SSE2__)
  // Sixteen dots at a time: compare with zero and collect one bit per byte.
  // The mask's bit k belongs to byte k, which is exactly the dot order of
  // the packed row, low byte first.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 2 <= whole; i += 2) {
    const __m128i dots = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8 * i));
    const unsigned ink = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(dots, zero)));
    Out[i] = static_cast<uint8_t>(ink);
    Out[i + 1] = static_cast<uint8_t>(ink >> 8);
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    for (; i < whole; ++i) Out[i] = PackEight(src + 8 * i);
  } else {
    for (; i < whole; ++i) {
      uint8_t b = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (src[8 * i + bit] != 0) b |= static_cast<uint8_t>(1u << bit);
      }
      Out[i] = b;
    }
  }
  if (w % 8 != 0) {
    uint8_t b = 0;
    for (int32_t x = whole * 8; x < w; ++x) {
      if (src[x] != 0) b |= static_cast<uint8_t>(1u << (x % 8));
    }
    Out[whole] = b;
  }
}

}  // namespace

std::vector<uint8_t> NbPackRow(const TNbMonoImage& Mono, int32_t Y) {
  CheckRow(Mono, Y);
  std::vector<uint8_t> out(NbPackedRowSize(Mono.Width));
  PackRowUnchecked(Mono, Y, out.data());
  return out;
}

void NbPackRowInto(const TNbMonoImage& Mono, int32_t Y, uint8_t* Out) {
  CheckRow(Mono, Y);
  PackRowUnchecked(Mono, Y, Out);
}
