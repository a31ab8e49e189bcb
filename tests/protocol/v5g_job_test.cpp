#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

namespace {

struct TFrame {
  uint8_t Cmd;
  std::vector<uint8_t> Payload;
};

// Cuts a job into its frames and checks the framing of each on the way:
// header, zero byte, length, CRC of the payload and the closing 0xFF, with
// nothing between frames.
std::vector<TFrame> SplitFrames(const std::vector<uint8_t>& job) {
  std::vector<TFrame> frames;
  size_t i = 0;
  while (i < job.size()) {
    EXPECT_GE(job.size() - i, 8u) << "truncated frame at " << i;
    if (job.size() - i < 8) break;
    EXPECT_EQ(job[i], 0x51) << "at " << i;
    EXPECT_EQ(job[i + 1], 0x78) << "at " << i;
    EXPECT_EQ(job[i + 3], 0x00) << "at " << i;
    const size_t n = job[i + 4] | (job[i + 5] << 8);
    if (i + 8 + n > job.size()) {
      ADD_FAILURE() << "frame at " << i << " runs past the end";
      break;
    }
    TFrame f{job[i + 2], {job.begin() + i + 6, job.begin() + i + 6 + n}};
    EXPECT_EQ(job[i + 6 + n], NbCrc8(f.Payload)) << "CRC at " << i;
    EXPECT_EQ(job[i + 7 + n], 0xFF) << "at " << i;
    frames.push_back(std::move(f));
    i += 8 + n;
  }
  return frames;
}

std::string Commands(const std::vector<TFrame>& frames) {
  std::string out;
  for (const auto& f : frames) {
    if (!out.empty()) out += ' ';
    out += SpacedHex({f.Cmd});
  }
  return out;
}

TNbMonoImage Blank(int32_t w, int32_t h) {
  TNbMonoImage m;
  m.Init(w, h);
  return m;
}

}  // namespace

TEST(V5GJob, SmallestImageByteExact) {
  TNbMonoImage m;
  m.Init(8, 1, 1);
  const std::vector<uint8_t> job = NbV5GBuildJob(m, TNbV5GParams::Default());
  EXPECT_EQ(job.size(), 130u);
  EXPECT_EQ(SpacedHex(job),
            "51 78 A3 00 01 00 00 00 FF 51 78 A4 00 01 00 33 99 FF 51 78 A6 00 0B 00 AA 55 17 38 "
            "44 5F 5F 5F 44 38 2C A1 FF 51 78 AF 00 02 00 10 27 A2 FF 51 78 BE 00 01 00 00 00 FF "
            "51 78 BD 00 01 00 0A 36 FF 51 78 A2 00 01 00 FF F3 FF 51 78 BD 00 01 00 0A 36 FF 51 "
            "78 A1 00 02 00 30 00 F9 FF 51 78 A6 00 0B 00 AA 55 17 00 00 00 00 00 00 00 17 11 FF "
            "51 78 A3 00 01 00 00 00 FF 51 78 A3 00 01 00 00 00 FF");
}

TEST(V5GJob, EmptySides) {
  const std::vector<uint8_t> noRows = NbV5GBuildJob(Blank(384, 0), TNbV5GParams::Default());
  EXPECT_EQ(noRows.size(), 121u);
  EXPECT_EQ(Commands(SplitFrames(noRows)), "A3 A4 A6 AF BE BD BD A1 A6 A3 A3");

  const std::vector<uint8_t> noWidth = NbV5GBuildJob(Blank(0, 2), TNbV5GParams::Default());
  const std::string empty = "51 78 A2 00 00 00 00 FF";
  EXPECT_NE(SpacedHex(noWidth).find(empty + " " + empty + " 51 78 BD"), std::string::npos);
  EXPECT_EQ(Commands(SplitFrames(noWidth)), "A3 A4 A6 AF BE BD A2 A2 BD A1 A6 A3 A3");
}

TEST(V5GJob, ParametersChooseFrames) {
  const struct {
    const char* what;
    int32_t density;
    uint16_t energy;
    uint16_t feed;
    bool textMode;
    const char* commands;
    const char* firstFrame;
  } cases[] = {
      {"defaults", 0, 10000, 48, false, "A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 A3 00 01 00 00 00 FF"},
      {"density capped", 250, 10000, 48, false, "F2 A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 F2 00 02 00 01 C8 63 FF"},
      {"density 200", 200, 10000, 48, false, "F2 A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 F2 00 02 00 01 C8 63 FF"},
      {"density 1", 1, 10000, 48, false, "F2 A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 F2 00 02 00 01 01 12 FF"},
      {"huge density", 2147483647, 10000, 48, false, "F2 A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 F2 00 02 00 01 C8 63 FF"},
      {"negative density", -5, 10000, 48, false, "A3 A4 A6 AF BE BD A2 BD A1 A6 A3 A3",
       "51 78 A3 00 01 00 00 00 FF"},
      {"no energy", 0, 0, 48, false, "A3 A4 A6 BE BD A2 BD A1 A6 A3 A3",
       "51 78 A3 00 01 00 00 00 FF"},
      {"no feed", 0, 10000, 0, false, "A3 A4 A6 AF BE BD A2 BD A6 A3 A3",
       "51 78 A3 00 01 00 00 00 FF"},
      {"bare", 0, 0, 0, true, "A3 A4 A6 BE BD A2 BD A6 A3 A3", "51 78 A3 00 01 00 00 00 FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TNbV5GParams p = TNbV5GParams::Default();
    p.Density = c.density;
    p.Energy = c.energy;
    p.FeedLines = c.feed;
    p.TextMode = c.textMode;
    p.Speed = 7;
    p.Quality = 9;
    const std::vector<uint8_t> job = NbV5GBuildJob(Blank(16, 1), p);
    const std::vector<TFrame> frames = SplitFrames(job);
    EXPECT_EQ(Commands(frames), c.commands);
    const std::vector<uint8_t> first = HexBytes(c.firstFrame);
    EXPECT_EQ(SpacedHex({job.begin(), job.begin() + first.size()}), c.firstFrame);
    for (const auto& f : frames) {
      switch (f.Cmd) {
        case 0xBE: EXPECT_EQ(f.Payload, std::vector<uint8_t>{uint8_t(c.textMode ? 1 : 0)}); break;
        case 0xBD: EXPECT_EQ(f.Payload, std::vector<uint8_t>{7}); break;
        case 0xA4: EXPECT_EQ(f.Payload, std::vector<uint8_t>{0x35}); break;
        case 0xAF: EXPECT_EQ(SpacedHex(f.Payload), "10 27"); break;
        case 0xA1: EXPECT_EQ(SpacedHex(f.Payload), "30 00"); break;
        default: break;
      }
    }
  }
}

TEST(V5GJob, EveryRowInOrderAsItsOwnFrame) {
  std::mt19937 rng(3);
  std::bernoulli_distribution ink(0.4);
  TNbMonoImage m;
  m.Init(384, 57);
  for (auto& d : m.Dots) d = ink(rng) ? 1 : 0;
  for (int32_t y = 10; y < 20; ++y) {
    for (int32_t x = 0; x < 384; ++x) m.SetDot(x, y, 0);  // blank rows are sent too
  }
  const std::vector<uint8_t> job = NbV5GBuildJob(m, TNbV5GParams::MX10());
  EXPECT_EQ(job.size(), 121u + 10u + 57u * 56u);
  const std::vector<TFrame> frames = SplitFrames(job);
  ASSERT_EQ(frames.size(), 12u + 57u);
  for (int32_t y = 0; y < 57; ++y) {
    const TFrame& f = frames[7 + y];  // density, state, quality, begin, energy, mode, speed
    ASSERT_EQ(f.Cmd, 0xA2) << "row " << y;
    ASSERT_EQ(f.Payload, NbPackRow(m, y)) << "row " << y;
  }
}

TEST(V5GJob, SizeOfAFullWidthLabel) {
  EXPECT_EQ(NbV5GBuildJob(Blank(384, 400), TNbV5GParams::Default()).size(), 121u + 400u * 56u);
  EXPECT_EQ(NbV5GBuildJob(Blank(13, 5), TNbV5GParams::Default()).size(), 121u + 5u * (2u + 8u));
}

TEST(V5GJob, BadRastersYieldNoJob) {
  TNbMonoImage shortDots = Blank(8, 4);
  shortDots.Dots.pop_back();
  EXPECT_THROW(NbV5GBuildJob(shortDots, TNbV5GParams::Default()), std::out_of_range);
  TNbMonoImage negative;
  negative.Width = -8;
  negative.Height = -1;
  negative.Dots.resize(8);
  EXPECT_THROW(NbV5GBuildJob(negative, TNbV5GParams::Default()), std::out_of_range);
  // A row of 65536 bytes cannot be framed.
  EXPECT_THROW(NbV5GBuildJob(Blank(65536 * 8, 1), TNbV5GParams::Default()), std::length_error);
  EXPECT_EQ(NbV5GBuildJob(Blank(65535 * 8, 1), TNbV5GParams::Default()).size(),
            121u + 65535u + 8u);
}
