#include "protocol/frame.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr uint8_t Step(uint8_t v) {
  const bool top = (v & 0x80) != 0;
  v = static_cast<uint8_t>(v << 1);
  return top ? static_cast<uint8_t>(v ^ 0x07) : v;
}

// Table k maps a byte to its CRC contribution when k - 1 more bytes follow
// it; table 0 is the plain CRC table. The CRC is linear, so the CRC of eight
// bytes is the XOR of eight independent look-ups, which the processor can do
// side by side instead of one after another.
constexpr std::array<std::array<uint8_t, 256>, 8> MakeTables() {
  std::array<std::array<uint8_t, 256>, 8> t{};
  for (int i = 0; i < 256; ++i) {
    uint8_t v = static_cast<uint8_t>(i);
    for (int s = 0; s < 8; ++s) v = Step(v);
    t[0][i] = v;
  }
  for (int k = 1; k < 8; ++k) {
    for (int i = 0; i < 256; ++i) t[k][i] = t[0][t[k - 1][i]];
  }
  return t;
}

constexpr auto kTables = MakeTables();

constexpr uint8_t kHeader[2][2] = {{0x51, 0x78}, {0x22, 0x21}};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void NbCheckFramePayload(std::size_t ASize) {
  if (ASize > NbMaxFramePayload) {
    throw std::length_error("NbFrame: " + std::to_string(ASize) +
                            " Bytes Nutzdaten passen nicht in einen Rahmen (höchstens 65535)");
  }
}

const uint8_t* NbCrc8Table() { return kTables[0].data(); }

uint8_t NbCrc8Update(uint8_t Crc, const uint8_t* AData, std::size_t ACount) {
  const auto& t = kTables;
  std::size_t i = 0;
  for (; i + 8 <= ACount; i += 8) {
    const uint8_t* p = AData + i;
    Crc = static_cast<uint8_t>(t[7][Crc ^ p[0]] ^ t[6][p[1]] ^ t[5][p[2]] ^ t[4][p[3]] ^
                               t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]]);
  }
  for (; i < ACount; ++i) Crc = t[0][Crc ^ AData[i]];
  return Crc;
}

uint8_t NbCrc8(const std::vector<uint8_t>& Data, int32_t Start, int32_t Count) {
  if (Count <= 0) return 0;
  if (Start < 0 || static_cast<uint64_t>(Start) + static_cast<uint64_t>(Count) > Data.size()) {
    throw std::out_of_range("NbCrc8: Bereich " + std::to_string(Start) + " + " +
                            std::to_string(Count) + " liegt außerhalb der " +
                            std::to_string(Data.size()) + " Bytes");
  }
  return NbCrc8Update(0, Data.data() + Start, static_cast<std::size_t>(Count));
}

uint8_t NbCrc8(const std::vector<uint8_t>& Data) {
  return NbCrc8Update(0, Data.data(), Data.size());
}

void NbFrameInPlace(bool AltHeader, uint8_t Cmd, std::size_t APayloadSize, uint8_t* AOut) {
  NbCheckFramePayload(APayloadSize);
  AOut[0] = kHeader[AltHeader ? 1 : 0][0];
  AOut[1] = kHeader[AltHeader ? 1 : 0][1];
  AOut[2] = Cmd;
  AOut[3] = 0x00;
  AOut[4] = static_cast<uint8_t>(APayloadSize & 0xFF);
  AOut[5] = static_cast<uint8_t>(APayloadSize >> 8);
  AOut[6 + APayloadSize] = NbCrc8Update(0, AOut + 6, APayloadSize);
  AOut[7 + APayloadSize] = 0xFF;
}

std::vector<uint8_t> NbFrame(bool AltHeader, uint8_t Cmd, const std::vector<uint8_t>& Payload) {
  NbCheckFramePayload(Payload.size());
  std::vector<uint8_t> out(Payload.size() + NbFrameOverhead);
  std::copy(Payload.begin(), Payload.end(), out.begin() + 6);
  NbFrameInPlace(AltHeader, Cmd, Payload.size(), out.data());
  return out;
}

std::string NbToHex(const std::vector<uint8_t>& Data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(Data.size() * 2);
  for (uint8_t b : Data) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

std::vector<uint8_t> NbFromHex(const std::string& Text) {
  std::string digits;
  digits.reserve(Text.size());
  for (char c : Text) {
    if (c != ' ' && c != '\r' && c != '\n') digits.push_back(c);
  }
  if (digits.size() % 2 != 0) throw std::invalid_argument("NbFromHex: ungerade Länge");
  std::vector<uint8_t> out;
  out.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int hi = HexDigit(digits[i]);
    const int lo = HexDigit(digits[i + 1]);
    if (hi < 0 || lo < 0) {
      // The position, not the characters: a pair may split a multi-byte
      // UTF-8 character, which must not end up in the message.
      throw std::invalid_argument("NbFromHex: Zeichen " + std::to_string(i + 1) + " und " +
                                  std::to_string(i + 2) + " sind keine Hexadezimalziffern");
    }
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return out;
}
