#include "protocol/notifications.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "protocol/frame.h"

namespace {

bool Starts(const std::vector<uint8_t>& Data, uint8_t b0, uint8_t b1, uint8_t b2) {
  return Data.size() >= 8 && Data[0] == b0 && Data[1] == b1 && Data[2] == b2;
}

constexpr const char* kPause[] = {
    "aa01",
    "5178ae0101001070ff",
    "2221a800010020e0ff",
    "2221ae0101001070ff",
    "2221ae0001000000",
    "5178ae01001070ff",
    "5688a70101000107ff",
};

constexpr const char* kResume[] = {
    "aa00",
    "5178ae0101000000ff",
    "2221a80001003090ff",
    "2221ae0101000000ff",
    "2221ae0001001000",
    "5178ae01000000ff",
    "5688a70101000000ff",
};

template <std::size_t N>
bool InTable(const std::string& AHex, const char* const (&ATable)[N]) {
  return std::any_of(std::begin(ATable), std::end(ATable),
                     [&](const char* entry) { return AHex == entry; });
}

}  // namespace

bool NbParseStatus(const std::vector<uint8_t>& Data, uint8_t& Code) {
  if (!Starts(Data, 0x51, 0x78, 0xA3)) return false;
  switch (Data[6]) {
    case 0x00: Code = NbStateReady; break;
    case 0x01:
    case 0x09: Code = NbStateNoPaper; break;
    case 0x04:
    case 0xD2: Code = NbStateOverheated; break;
    case 0x08: Code = NbStateBatteryLow; break;
    case 0x80: Code = NbStateFlag80; break;
    default: Code = NbStateOther; break;
  }
  return true;
}

bool NbParseTemperature(const std::vector<uint8_t>& Data, int32_t& TempC) {
  if (!Starts(Data, 0x51, 0x78, 0xD3) || Data[6] >= 0xFE) return false;
  TempC = Data[6];
  return true;
}

bool NbParseV5XStartAck(const std::vector<uint8_t>& Data, bool& Ok) {
  if (!Starts(Data, 0x22, 0x21, 0xA9)) {
    Ok = false;
    return false;
  }
  Ok = Data[Data.size() - 2] == 0x00;
  return true;
}

uint8_t NbFlowControl(const std::vector<uint8_t>& Data) {
  std::string hex = NbToHex(Data);
  std::transform(hex.begin(), hex.end(), hex.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (InTable(hex, kPause)) return NbFlowPause;
  if (InTable(hex, kResume)) return NbFlowResume;
  return NbFlowNone;
}
