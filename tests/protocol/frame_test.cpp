#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

namespace {

std::vector<uint8_t> Ascii(const std::string& s) { return {s.begin(), s.end()}; }

// Byte-at-a-time CRC over the published table: the definition the
// library's faster loop has to reproduce.
uint8_t PlainCrc(const std::vector<uint8_t>& data, size_t start, size_t count) {
  uint8_t crc = 0;
  for (size_t i = start; i < start + count; ++i) crc = NbCrc8Table()[crc ^ data[i]];
  return crc;
}

}  // namespace

TEST(Crc8, TableFromPolynomial) {
  const uint8_t* t = NbCrc8Table();
  EXPECT_EQ(SpacedHex({t, t + 10}), "00 07 0E 09 1C 1B 12 15 38 3F");
  // Every entry follows from eight shift-and-XOR steps.
  for (int i = 0; i < 256; ++i) {
    unsigned v = static_cast<unsigned>(i);
    for (int s = 0; s < 8; ++s) v = ((v << 1) & 0xFF) ^ ((v & 0x80) ? 0x07 : 0x00);
    ASSERT_EQ(t[i], v) << "entry " << i;
  }
}

TEST(Crc8, CheckValueAndRanges) {
  const std::vector<uint8_t> digits = Ascii("123456789");
  EXPECT_EQ(NbCrc8(digits), 0xF4);
  EXPECT_EQ(NbCrc8(digits, 0, 9), 0xF4);
  EXPECT_EQ(NbCrc8(Ascii("xx123456789yy"), 2, 9), 0xF4);
  EXPECT_EQ(NbCrc8(std::vector<uint8_t>{0x00}), 0x00);
  EXPECT_EQ(NbCrc8(std::vector<uint8_t>{}), 0x00);
  EXPECT_EQ(NbCrc8(digits, 3, 0), 0x00);
  EXPECT_EQ(NbCrc8(digits, 3, -4), 0x00);
  EXPECT_EQ(NbCrc8(digits, 50, 0), 0x00);
}

TEST(Crc8, RangeOutsideDataRaises) {
  const std::vector<uint8_t> data(9, 1);
  EXPECT_THROW(NbCrc8(data, 0, 10), std::out_of_range);
  EXPECT_THROW(NbCrc8(data, 9, 1), std::out_of_range);
  EXPECT_THROW(NbCrc8(data, -1, 2), std::out_of_range);
  EXPECT_THROW(NbCrc8(data, 5, 2147483647), std::out_of_range);
  EXPECT_NO_THROW(NbCrc8(data, 8, 1));
}

TEST(Crc8, EveryLengthAndOffsetMatchesByteWise) {
  std::mt19937 rng(99);
  std::vector<uint8_t> data(100);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  for (int32_t start = 0; start < 9; ++start) {
    for (int32_t count = 1; start + count <= 100; ++count) {
      ASSERT_EQ(NbCrc8(data, start, count), PlainCrc(data, start, count))
          << "start " << start << " count " << count;
    }
  }
}

TEST(Frame, Layout) {
  const struct {
    bool alt;
    uint8_t cmd;
    const char* payload;
    const char* frame;
  } cases[] = {
      {true, 0xA2, "32", "22 21 A2 00 01 00 32 9E FF"},
      {false, 0xA3, "00", "51 78 A3 00 01 00 00 00 FF"},
      {false, 0xA2, "", "51 78 A2 00 00 00 00 FF"},
      {false, 0xA2, "01 03", "51 78 A2 00 02 00 01 03 1C FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    EXPECT_EQ(SpacedHex(NbFrame(c.alt, c.cmd, HexBytes(c.payload))), c.frame);
  }
}

TEST(Frame, LongPayloads) {
  // 300 bytes: the length needs its high byte.
  std::vector<uint8_t> payload(300);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7);
  const std::vector<uint8_t> f = NbFrame(false, 0x10, payload);
  ASSERT_EQ(f.size(), 308u);
  EXPECT_EQ(f[4], 0x2C);
  EXPECT_EQ(f[5], 0x01);
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 6, f.begin() + 306), payload);
  EXPECT_EQ(f[306], NbCrc8(payload));
  EXPECT_EQ(f[307], 0xFF);

  const std::vector<uint8_t> largest = NbFrame(false, 0x10, std::vector<uint8_t>(65535, 0));
  EXPECT_EQ(largest[4], 0xFF);
  EXPECT_EQ(largest[5], 0xFF);

  // One byte more cannot be announced in 16 bits; a frame claiming a wrong
  // length would corrupt the stream.
  try {
    NbFrame(false, 0x10, std::vector<uint8_t>(65536, 0));
    FAIL() << "no length error";
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(),
                 "NbFrame: 65536 Bytes Nutzdaten passen nicht in einen Rahmen (höchstens 65535)");
  }
}

TEST(Hex, ToHex) {
  EXPECT_EQ(NbToHex({0x0A, 0xFF}), "0AFF");
  EXPECT_EQ(NbToHex({0x51, 0x78, 0xA3}), "5178A3");
  EXPECT_EQ(NbToHex({}), "");
}

TEST(Hex, FromHex) {
  const struct { std::string text; const char* bytes; } cases[] = {
      {"aa 55\r\n17", "AA 55 17"},
      {"", ""},
      {" \r\n ", ""},
      {"0aFf", "0A FF"},
      {"A A5 5", "AA 55"},  // spaces may split a pair
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SpacedHex(NbFromHex(c.text)), c.bytes);
  }
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(NbFromHex(NbToHex(all)), all);
}

TEST(Hex, FromHexErrors) {
  const struct { std::string text; const char* message; } cases[] = {
      {"ABC", "NbFromHex: ungerade Länge"},
      {"A B\nC", "NbFromHex: ungerade Länge"},
      {"zz", "NbFromHex: Zeichen 1 und 2 sind keine Hexadezimalziffern"},
      {"00G1", "NbFromHex: Zeichen 3 und 4 sind keine Hexadezimalziffern"},
      {"0\t", "NbFromHex: Zeichen 1 und 2 sind keine Hexadezimalziffern"},  // tabs are not dropped
      {"\xC3\xA4", "NbFromHex: Zeichen 1 und 2 sind keine Hexadezimalziffern"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      NbFromHex(c.text);
      ADD_FAILURE() << "no error";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}
