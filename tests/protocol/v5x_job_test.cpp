#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

TEST(V5XJob, PiecesOfATwoRowJob) {
  TNbMonoImage m;
  m.Init(384, 2);
  m.SetDot(0, 0, 1);
  m.SetDot(383, 1, 1);
  const TNbV5XJob job = NbV5XBuildJob(m, 93, 0);
  EXPECT_EQ(SpacedHex(job.DensityCmd), "22 21 A2 00 01 00 5D 94 FF");
  EXPECT_EQ(SpacedHex(job.StartCmd), "22 21 A9 00 04 00 02 00 30 00 00 00");
  EXPECT_EQ(SpacedHex(job.EndCmd), "22 21 AD 00 01 00 00 00 00");
  ASSERT_EQ(job.ImageData.size(), 96u);
  std::vector<uint8_t> expected(96, 0);
  expected[0] = 0x01;
  expected[95] = 0x80;
  EXPECT_EQ(job.ImageData, expected);
}

TEST(V5XJob, ImageDataIsEveryRowBackToBack) {
  std::mt19937 rng(5);
  std::bernoulli_distribution ink(0.5);
  TNbMonoImage m;
  m.Init(21, 9);
  for (auto& d : m.Dots) d = ink(rng) ? 1 : 0;
  std::vector<uint8_t> expected;
  for (int32_t y = 0; y < m.Height; ++y) {
    const std::vector<uint8_t> row = NbPackRow(m, y);
    expected.insert(expected.end(), row.begin(), row.end());
  }
  EXPECT_EQ(NbV5XBuildJob(m, 50, 3).ImageData, expected);
  EXPECT_EQ(SpacedHex(NbV5XBuildJob(m, 50, 3).StartCmd), "22 21 A9 00 04 00 09 00 30 03 00 00");
}

TEST(V5XJob, DensityIsCappedAtHundred) {
  const struct { uint8_t percent; const char* frame; } cases[] = {
      {93, "22 21 A2 00 01 00 5D 94 FF"},  {50, "22 21 A2 00 01 00 32 9E FF"},
      {100, "22 21 A2 00 01 00 64 3B FF"}, {150, "22 21 A2 00 01 00 64 3B FF"},
      {255, "22 21 A2 00 01 00 64 3B FF"}, {0, "22 21 A2 00 01 00 00 00 FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.percent));
    EXPECT_EQ(SpacedHex(NbV5XDensity(c.percent)), c.frame);
  }
}

TEST(V5XJob, StartAnnouncesRows) {
  EXPECT_EQ(SpacedHex(NbV5XStart(300, 0)), "22 21 A9 00 04 00 2C 01 30 00 00 00");
  EXPECT_EQ(SpacedHex(NbV5XStart(65535, 0x7F)), "22 21 A9 00 04 00 FF FF 30 7F 00 00");

  TNbMonoImage empty;
  empty.Init(384, 0);
  const TNbV5XJob job = NbV5XBuildJob(empty, 93, 0);
  EXPECT_TRUE(job.ImageData.empty());
  EXPECT_EQ(SpacedHex(job.StartCmd), "22 21 A9 00 04 00 00 00 30 00 00 00");
  EXPECT_EQ(job.EndCmd, NbV5XEnd());
}

TEST(V5XJob, RastersTheStartCannotAnnounceRaise) {
  // Width 0 keeps the raster free of dots while its height passes 16 bits.
  TNbMonoImage tall;
  tall.Init(0, 65535);
  EXPECT_EQ(SpacedHex(NbV5XBuildJob(tall, 93, 0).StartCmd), "22 21 A9 00 04 00 FF FF 30 00 00 00");
  tall.Init(0, 65536);
  try {
    NbV5XBuildJob(tall, 93, 0);
    FAIL() << "no range error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(),
                 "NbV5XBuildJob: 65536 Zeilen sind zu viele für einen Druckauftrag (höchstens 65535)");
  }

  TNbMonoImage malformed;
  malformed.Init(8, 3);
  malformed.Dots.push_back(0);
  EXPECT_THROW(NbV5XBuildJob(malformed, 93, 0), std::out_of_range);
}
