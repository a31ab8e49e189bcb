#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

TEST(V5GCommands, FramesByteExact) {
  TNbMonoImage row;
  row.Init(10, 2);
  row.SetDot(0, 1, 1);
  row.SetDot(8, 1, 1);
  row.SetDot(9, 1, 1);
  const struct {
    const char* what;
    std::function<std::vector<uint8_t>()> build;
    const char* frame;
  } cases[] = {
      {"state", [] { return NbV5GGetState(); }, "51 78 A3 00 01 00 00 00 FF"},
      {"quality 3", [] { return NbV5GQuality(3); }, "51 78 A4 00 01 00 33 99 FF"},
      {"quality 0 -> 1", [] { return NbV5GQuality(0); }, "51 78 A4 00 01 00 31 97 FF"},
      {"quality 1", [] { return NbV5GQuality(1); }, "51 78 A4 00 01 00 31 97 FF"},
      {"quality 5", [] { return NbV5GQuality(5); }, "51 78 A4 00 01 00 35 8B FF"},
      {"quality 9 -> 5", [] { return NbV5GQuality(9); }, "51 78 A4 00 01 00 35 8B FF"},
      {"quality 255 -> 5", [] { return NbV5GQuality(255); }, "51 78 A4 00 01 00 35 8B FF"},
      {"energy 10000", [] { return NbV5GEnergy(10000); }, "51 78 AF 00 02 00 10 27 A2 FF"},
      {"speed 10", [] { return NbV5GSpeed(10); }, "51 78 BD 00 01 00 0A 36 FF"},
      {"feed 48", [] { return NbV5GFeed(48); }, "51 78 A1 00 02 00 30 00 F9 FF"},
      {"draw mode 1", [] { return NbV5GDrawMode(1); }, "51 78 BE 00 01 00 01 07 FF"},
      {"draw mode 0", [] { return NbV5GDrawMode(0); }, "51 78 BE 00 01 00 00 00 FF"},
      {"density 200", [] { return NbV5GDensity(200); }, "51 78 F2 00 02 00 01 C8 63 FF"},
      {"image begin", [] { return NbV5GImageBegin(); },
       "51 78 A6 00 0B 00 AA 55 17 38 44 5F 5F 5F 44 38 2C A1 FF"},
      {"image end", [] { return NbV5GImageEnd(); },
       "51 78 A6 00 0B 00 AA 55 17 00 00 00 00 00 00 00 17 11 FF"},
      {"row of width 10", [&] { return NbV5GRow(row, 1); }, "51 78 A2 00 02 00 01 03 1C FF"},
      {"blank row", [&] { return NbV5GRow(row, 0); }, "51 78 A2 00 02 00 00 00 00 FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SpacedHex(c.build()), c.frame);
  }
}

TEST(V5GCommands, SixteenBitValuesAreLittleEndian) {
  const std::vector<uint8_t> e = NbV5GEnergy(0xABCD);
  EXPECT_EQ(e[6], 0xCD);
  EXPECT_EQ(e[7], 0xAB);
  const std::vector<uint8_t> f = NbV5GFeed(0x0102);
  EXPECT_EQ(f[6], 0x02);
  EXPECT_EQ(f[7], 0x01);
}

TEST(V5GCommands, RowOutsideRaises) {
  TNbMonoImage m;
  m.Init(8, 2);
  EXPECT_THROW(NbV5GRow(m, 2), std::out_of_range);
  EXPECT_THROW(NbV5GRow(m, -1), std::out_of_range);
}

TEST(V5GParams, Presets) {
  const TNbV5GParams d = TNbV5GParams::Default();
  EXPECT_EQ(d.Speed, 10);
  EXPECT_EQ(d.Quality, 3);
  EXPECT_EQ(d.Energy, 10000);
  EXPECT_EQ(d.Density, 0);
  EXPECT_EQ(d.FeedLines, 48);
  EXPECT_FALSE(d.TextMode);

  const TNbV5GParams m = TNbV5GParams::MX10();
  EXPECT_EQ(m.Speed, 10);
  EXPECT_EQ(m.Quality, 5);
  EXPECT_EQ(m.Energy, 30000);
  EXPECT_EQ(m.Density, 200);
  EXPECT_EQ(m.FeedLines, 48);
  EXPECT_FALSE(m.TextMode);
}
