#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

namespace {

TNbGrayImage Gray(int32_t w, int32_t h, std::vector<uint8_t> pixels) {
  TNbGrayImage g;
  g.Width = w;
  g.Height = h;
  g.Pixels = std::move(pixels);
  return g;
}

TNbMonoImage Mono(int32_t w, int32_t h, std::vector<uint8_t> dots) {
  TNbMonoImage m;
  m.Width = w;
  m.Height = h;
  m.Dots = std::move(dots);
  return m;
}

// Error diffusion written out the plain way: one work buffer for the whole
// image and explicit bounds on every neighbour. The library keeps only two
// rows; both must agree on every pixel.
std::vector<uint8_t> ReferenceDither(const TNbGrayImage& g, int threshold) {
  std::vector<int32_t> work(g.Pixels.begin(), g.Pixels.end());
  std::vector<uint8_t> dots(work.size());
  auto add = [&](int x, int y, int32_t share) {
    if (x < 0 || x >= g.Width || y >= g.Height) return;
    work[static_cast<size_t>(y) * g.Width + x] += share;
  };
  for (int y = 0; y < g.Height; ++y) {
    for (int x = 0; x < g.Width; ++x) {
      const int32_t v = work[static_cast<size_t>(y) * g.Width + x];
      const int32_t o = v < threshold ? 0 : 255;
      dots[static_cast<size_t>(y) * g.Width + x] = o == 0 ? 1 : 0;
      const int32_t e = v - o;
      add(x + 1, y, (e * 7) / 16);
      add(x - 1, y + 1, (e * 3) / 16);
      add(x, y + 1, (e * 5) / 16);
      add(x + 1, y + 1, (e * 1) / 16);
    }
  }
  return dots;
}

}  // namespace

TEST(RasterRecords, InitFillsAndSizes) {
  TNbGrayImage g;
  g.Init(3, 2, 255);
  EXPECT_EQ(g.Width, 3);
  EXPECT_EQ(g.Height, 2);
  EXPECT_EQ(g.Pixels, std::vector<uint8_t>(6, 255));

  TNbMonoImage m;
  m.Init(5, 4);
  EXPECT_EQ(m.Dots, std::vector<uint8_t>(20, 0));

  g.Init(0, 7, 1);
  EXPECT_EQ(g.Height, 7);
  EXPECT_TRUE(g.Pixels.empty());
}

TEST(RasterRecords, AccessorsAddressRowMajor) {
  TNbGrayImage g;
  g.Init(4, 3, 0);
  g.SetPixel(1, 2, 77);
  EXPECT_EQ(g.Pixels[2 * 4 + 1], 77);
  EXPECT_EQ(g.GetPixel(1, 2), 77);
  EXPECT_EQ(g.GetPixel(2, 1), 0);

  TNbMonoImage m;
  m.Init(4, 3);
  m.SetDot(3, 1, 1);
  EXPECT_EQ(m.Dots[1 * 4 + 3], 1);
  EXPECT_EQ(m.GetDot(3, 1), 1);
}

TEST(RasterRecords, PointsOutsideRaiseAndChangeNothing) {
  TNbGrayImage g;
  g.Init(4, 3, 9);
  TNbMonoImage m;
  m.Init(4, 3);
  const struct { int32_t x, y; } outside[] = {
      {-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 1},  // right of a row must not reach the next row
      {-1, 1},                                    // nor left of a row the previous one
      {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
      {std::numeric_limits<int32_t>::min(), 1}};
  for (const auto& p : outside) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_THROW(g.GetPixel(p.x, p.y), std::out_of_range);
    EXPECT_THROW(g.SetPixel(p.x, p.y, 1), std::out_of_range);
    EXPECT_THROW(m.GetDot(p.x, p.y), std::out_of_range);
    EXPECT_THROW(m.SetDot(p.x, p.y, 1), std::out_of_range);
  }
  EXPECT_EQ(g.Pixels, std::vector<uint8_t>(12, 9));
  EXPECT_EQ(m.Dots, std::vector<uint8_t>(12, 0));

  // A record whose array is shorter than its sides claim is not read past.
  TNbGrayImage shortRecord = Gray(4, 3, std::vector<uint8_t>(5, 0));
  EXPECT_THROW(shortRecord.GetPixel(1, 2), std::out_of_range);
}

TEST(RasterRecords, OversizedOrNegativeSizesRaiseBeforeAllocating) {
  TNbGrayImage g;
  g.Init(2, 2, 5);
  EXPECT_THROW(g.Init(65536, 32768, 0), std::overflow_error);
  EXPECT_THROW(g.Init(std::numeric_limits<int32_t>::max(), 2, 0), std::overflow_error);
  EXPECT_THROW(g.Init(-2, -3, 0), std::invalid_argument);
  EXPECT_THROW(g.Init(-1, 0, 0), std::invalid_argument);
  // The record is left as it was.
  EXPECT_EQ(g.Width, 2);
  EXPECT_EQ(g.Pixels, std::vector<uint8_t>(4, 5));

  TNbMonoImage m;
  EXPECT_THROW(m.Init(46341, 46341), std::overflow_error);  // just past 2^31 - 1
  EXPECT_NO_THROW(NbRasterArea(46340, 46340));
  EXPECT_EQ(NbRasterArea(std::numeric_limits<int32_t>::max(), 1),
            static_cast<size_t>(std::numeric_limits<int32_t>::max()));

  try {
    m.Init(100000, 100000);
    FAIL() << "no overflow error";
  } catch (const std::overflow_error& e) {
    EXPECT_STREQ(e.what(), "Rastergröße 100000 x 100000 überschreitet den Zahlenbereich");
  }
}

TEST(GrayToMono, ThresholdCompares) {
  const TNbGrayImage g = Gray(6, 1, {0, 1, 127, 128, 129, 255});
  const struct { uint8_t threshold; std::vector<uint8_t> dots; } cases[] = {
      {128, {1, 1, 1, 0, 0, 0}},
      {0, {0, 0, 0, 0, 0, 0}},
      {1, {1, 0, 0, 0, 0, 0}},
      {255, {1, 1, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.threshold));
    const TNbMonoImage m = NbGrayToMono(g, false, c.threshold);
    EXPECT_EQ(m.Width, 6);
    EXPECT_EQ(m.Height, 1);
    EXPECT_EQ(m.Dots, c.dots);
  }
}

TEST(GrayToMono, EmptySidesGiveEmptyDots) {
  for (bool dither : {false, true}) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{7, 0}, std::pair{0, 0}}) {
      const TNbMonoImage m = NbGrayToMono(Gray(w, h, {}), dither, 128);
      EXPECT_EQ(m.Width, w);
      EXPECT_EQ(m.Height, h);
      EXPECT_TRUE(m.Dots.empty());
    }
  }
}

TEST(GrayToMono, MalformedGrayRaises) {
  for (bool dither : {false, true}) {
    EXPECT_THROW(NbGrayToMono(Gray(4, 4, std::vector<uint8_t>(15, 0)), dither, 128),
                 std::out_of_range);
    EXPECT_THROW(NbGrayToMono(Gray(4, 4, std::vector<uint8_t>(17, 0)), dither, 128),
                 std::out_of_range);
    EXPECT_THROW(NbGrayToMono(Gray(-4, -4, std::vector<uint8_t>(16, 0)), dither, 128),
                 std::invalid_argument);
  }
}

TEST(GrayToMono, DitherUniformImages) {
  TNbGrayImage g;
  g.Init(40, 30, 255);
  EXPECT_EQ(NbGrayToMono(g, true, 128).Dots, std::vector<uint8_t>(1200, 0));
  g.Init(40, 30, 0);
  EXPECT_EQ(NbGrayToMono(g, true, 128).Dots, std::vector<uint8_t>(1200, 1));

  g.Init(40, 30, 128);
  const TNbMonoImage m = NbGrayToMono(g, true, 128);
  EXPECT_EQ(m.Dots[0], 0);  // the top-left pixel equals the threshold: paper
  size_t ink = 0;
  for (uint8_t d : m.Dots) ink += d;
  // Mid gray diffuses into roughly half ink, half paper.
  EXPECT_GT(ink, 1200 * 4 / 10);
  EXPECT_LT(ink, 1200 * 6 / 10);
}

// Small images whose result depends on one detail of the diffusion each;
// worked out by hand with threshold 128.
TEST(GrayToMono, DitherEdgesAndTruncation) {
  const struct {
    const char* what;
    TNbGrayImage gray;
    std::vector<uint8_t> dots;
  } cases[] = {
      // (1,0) has error 127; its right share (55) must vanish, not reach
      // (0,1), which then sees 100 + 23 = 123 and takes ink.
      {"right column keeps its error", Gray(2, 2, {255, 127, 100, 0}), {0, 1, 1, 1}},
      // (0,0) has error 127; its down-left share must vanish, not land on
      // (1,0), which sees 60 + 55 = 115 and takes ink.
      {"left column passes nothing down-left", Gray(2, 2, {127, 60, 255, 255}), {1, 1, 0, 0}},
      // (1,0) has error -72: its right share is -504 / 16 = -31 truncated
      // toward zero (not -32), so (2,0) sees 159 - 31 = 128: paper.
      {"shares truncate toward zero", Gray(3, 1, {127, 128, 159}), {1, 0, 0}},
      // The bottom row sends nothing further down and nothing wraps.
      {"single row", Gray(4, 1, {100, 100, 100, 100}), {1, 0, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(NbGrayToMono(c.gray, true, 128).Dots, c.dots);
    EXPECT_EQ(ReferenceDither(c.gray, 128), c.dots);
  }
}

TEST(GrayToMono, DitherMatchesWholeImageDiffusion) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  const struct { int32_t w, h; } sizes[] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {3, 5}, {17, 13}, {384, 20}};
  for (const auto& s : sizes) {
    for (int threshold : {0, 1, 77, 128, 200, 255}) {
      // Noise, and hard stripes and checks of black and white, which drive
      // the errors to their extremes.
      for (int pattern = 0; pattern < 3; ++pattern) {
        TNbGrayImage g;
        g.Init(s.w, s.h, 0);
        for (int32_t y = 0; y < s.h; ++y) {
          for (int32_t x = 0; x < s.w; ++x) {
            const uint8_t v = pattern == 0   ? static_cast<uint8_t>(byte(rng))
                              : pattern == 1 ? (x % 2 ? 255 : 0)
                                             : ((x + y) % 2 ? 0 : 255);
            g.SetPixel(x, y, v);
          }
        }
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h) + " t=" +
                     std::to_string(threshold) + " pattern " + std::to_string(pattern));
        EXPECT_EQ(NbGrayToMono(g, true, static_cast<uint8_t>(threshold)).Dots,
                  ReferenceDither(g, threshold));
      }
    }
  }
}

TEST(PackRow, BitOrderAndWidths) {
  const struct {
    const char* what;
    TNbMonoImage mono;
    int32_t y;
    const char* packed;
  } cases[] = {
      {"width 10, dots at 0, 8, 9", Mono(10, 1, {1, 0, 0, 0, 0, 0, 0, 0, 1, 1}), 0, "01 03"},
      {"width 8 all set", Mono(8, 1, std::vector<uint8_t>(8, 1)), 0, "FF"},
      {"width 9 last dot only", Mono(9, 1, {0, 0, 0, 0, 0, 0, 0, 0, 1}), 0, "00 01"},
      {"eighth dot is bit 7", Mono(8, 1, {0, 0, 0, 0, 0, 0, 0, 1}), 0, "80"},
      {"any non-zero byte is ink", Mono(8, 1, {0x80, 2, 0, 0xFF, 0, 0, 0x7F, 0}), 0, "4B"},
      {"second row", Mono(3, 2, {1, 1, 1, 0, 1, 0}), 1, "02"},
      {"width 0", Mono(0, 3, {}), 2, ""},
      {"width 17", Mono(17, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}), 0,
       "01 02 01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> packed = NbPackRow(c.mono, c.y);
    EXPECT_EQ(SpacedHex(packed), SpacedHex(HexBytes(c.packed)));
    EXPECT_EQ(packed.size(), NbPackedRowSize(c.mono.Width));
  }
}

TEST(PackRow, MatchesDotByDot) {
  // Whole groups of sixteen, a last group of eight and a ragged end take
  // different paths; compare each with the plain rule on every byte value in
  // every position.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::bernoulli_distribution sparse(0.3);
  for (int32_t width : {1, 8, 15, 16, 24, 384, 389, 397}) {
    TNbMonoImage m;
    m.Init(width, 64);
    for (auto& d : m.Dots) d = sparse(rng) ? static_cast<uint8_t>(byte(rng)) : 0;
    for (int32_t y = 0; y < m.Height; ++y) {
      std::vector<uint8_t> expected((m.Width + 7) / 8, 0);
      for (int32_t x = 0; x < m.Width; ++x) {
        if (m.GetDot(x, y) != 0) expected[x / 8] |= static_cast<uint8_t>(1u << (x % 8));
      }
      ASSERT_EQ(NbPackRow(m, y), expected) << "width " << width << " row " << y;
    }
  }
}

TEST(PackRow, RowsOutsideOrMalformedRasterRaise) {
  const TNbMonoImage m = Mono(8, 2, std::vector<uint8_t>(16, 1));
  EXPECT_THROW(NbPackRow(m, -1), std::out_of_range);
  EXPECT_THROW(NbPackRow(m, 2), std::out_of_range);
  EXPECT_THROW(NbPackRow(Mono(8, 2, std::vector<uint8_t>(15, 1)), 0), std::out_of_range);
  EXPECT_THROW(NbPackRow(Mono(0, 0, {}), 0), std::out_of_range);
  try {
    NbPackRow(m, 5);
    FAIL() << "no range error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "Zeile 5 liegt außerhalb des Rasters 8 x 2");
  }
}
