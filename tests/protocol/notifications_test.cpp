#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hex_bytes.h"
#include "protocol/nimbo_protocol.h"

TEST(Notifications, StateReports) {
  const struct { const char* bytes; bool is; uint8_t code; } cases[] = {
      {"51 78 A3 00 01 00 00 00 FF", true, 0},
      {"51 78 A3 00 01 00 01 5A FF", true, 1},
      {"51 78 A3 00 01 00 09 5A FF", true, 1},
      {"51 78 A3 00 01 00 04 5A FF", true, 2},
      {"51 78 A3 00 01 00 D2 5A FF", true, 2},
      {"51 78 A3 00 01 00 08 5A FF", true, 3},
      {"51 78 A3 00 01 00 80 5A FF", true, 4},
      {"51 78 A3 00 01 00 02 5A FF", true, 5},
      {"51 78 A3 00 01 00 FF 5A", true, 5},  // exactly 8 bytes
      {"51 78 A3 00 01 00 01", false, 0},    // 7 bytes
      {"51 78 D3 00 01 00 01 5A FF", false, 0},
      {"22 21 A3 00 01 00 01 5A FF", false, 0},
      {"51 79 A3 00 01 00 01 5A FF", false, 0},
      {"", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    uint8_t code = 0xEE;
    EXPECT_EQ(NbParseStatus(HexBytes(c.bytes), code), c.is);
    EXPECT_EQ(code, c.is ? c.code : 0xEE);
  }
}

TEST(Notifications, HeadTemperature) {
  const struct { const char* bytes; bool is; int32_t temp; } cases[] = {
      {"51 78 D3 00 01 00 2D 11 FF", true, 45},
      {"51 78 D3 00 01 00 00 11 FF", true, 0},
      {"51 78 D3 00 01 00 FD 11 FF", true, 253},
      {"51 78 D3 00 01 00 FE 11 FF", false, 0},
      {"51 78 D3 00 01 00 FF 11 FF", false, 0},
      {"51 78 D3 00 01 00 2D", false, 0},
      {"51 78 A3 00 01 00 2D 11 FF", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    int32_t temp = -99;
    EXPECT_EQ(NbParseTemperature(HexBytes(c.bytes), temp), c.is);
    EXPECT_EQ(temp, c.is ? c.temp : -99);
  }
}

TEST(Notifications, V5XStartAcknowledgement) {
  const struct { const char* bytes; bool is; bool ok; } cases[] = {
      {"22 21 A9 00 01 00 00 00 FF", true, true},
      {"22 21 A9 00 01 00 01 07 FF", true, false},
      {"22 21 A9 00 01 00 07 00 FF 00 00", true, true},  // the byte before the last decides
      {"22 21 A9 00 01 00 00 00", true, true},            // 8 bytes: byte 6
      {"22 21 A9 00 01 00 00", false, false},
      {"51 78 A9 00 01 00 00 00 FF", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    bool ok = !c.ok;  // the parser must set it either way
    EXPECT_EQ(NbParseV5XStartAck(HexBytes(c.bytes), ok), c.is);
    EXPECT_EQ(ok, c.ok);
  }
}

TEST(Notifications, FlowControl) {
  const struct { const char* bytes; uint8_t result; } cases[] = {
      {"AA 01", 1},
      {"51 78 AE 01 01 00 10 70 FF", 1},
      {"22 21 A8 00 01 00 20 E0 FF", 1},
      {"22 21 AE 01 01 00 10 70 FF", 1},
      {"22 21 AE 00 01 00 00 00", 1},
      {"51 78 AE 01 00 10 70 FF", 1},
      {"56 88 A7 01 01 00 01 07 FF", 1},
      {"AA 00", 2},
      {"51 78 AE 01 01 00 00 00 FF", 2},
      {"22 21 A8 00 01 00 30 90 FF", 2},
      {"22 21 AE 01 01 00 00 00 FF", 2},
      {"22 21 AE 00 01 00 10 00", 2},
      {"51 78 AE 01 00 00 00 FF", 2},
      {"56 88 A7 01 01 00 00 00 FF", 2},
      {"AA", 0},
      {"", 0},
      {"51 78 AE 01 01 00 10 70 FF 00", 0},  // one byte more
      {"51 78 AE 01 01 00 10 70", 0},        // one byte less
      {"51 78 A3 00 01 00 00 00 FF", 0},
      {"AA 02", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(NbFlowControl(HexBytes(c.bytes)), c.result);
  }
}

TEST(Notifications, EachMessageHasOneMeaning) {
  // Flow-control messages are no state or temperature reports, and the
  // state, temperature and start answers do not overlap.
  const char* messages[] = {"51 78 AE 01 01 00 10 70 FF", "51 78 AE 01 01 00 00 00 FF",
                            "51 78 A3 00 01 00 00 00 FF", "51 78 D3 00 01 00 2D 11 FF",
                            "22 21 A9 00 01 00 00 00 FF"};
  for (const char* m : messages) {
    SCOPED_TRACE(m);
    const std::vector<uint8_t> data = HexBytes(m);
    uint8_t code = 0;
    int32_t temp = 0;
    bool ok = false;
    const int matches = int(NbParseStatus(data, code)) + int(NbParseTemperature(data, temp)) +
                        int(NbParseV5XStartAck(data, ok)) + int(NbFlowControl(data) != 0);
    EXPECT_EQ(matches, 1);
  }
}
