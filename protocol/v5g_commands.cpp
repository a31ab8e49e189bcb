#include "protocol/v5g_commands.h"

#include <algorithm>

#include "protocol/frame.h"

namespace {

std::vector<uint8_t> V5G(uint8_t ACmd, const std::vector<uint8_t>& APayload) {
  return NbFrame(false, ACmd, APayload);
}

uint8_t Low(uint16_t v) { return static_cast<uint8_t>(v & 0xFF); }
uint8_t High(uint16_t v) { return static_cast<uint8_t>(v >> 8); }

}  // namespace

TNbV5GParams TNbV5GParams::Default() { return TNbV5GParams{}; }

TNbV5GParams TNbV5GParams::MX10() {
  TNbV5GParams p = Default();
  p.Quality = 5;
  p.Energy = 30000;
  p.Density = 200;
  return p;
}

std::vector<uint8_t> NbV5GQuality(uint8_t Q) {
  const uint8_t q = std::clamp<uint8_t>(Q, 1, 5);
  return V5G(0xA4, {static_cast<uint8_t>(0x30 + q)});
}

std::vector<uint8_t> NbV5GEnergy(uint16_t E) { return V5G(0xAF, {Low(E), High(E)}); }

std::vector<uint8_t> NbV5GSpeed(uint8_t S) { return V5G(0xBD, {S}); }

std::vector<uint8_t> NbV5GDrawMode(uint8_t M) { return V5G(0xBE, {M}); }

std::vector<uint8_t> NbV5GDensity(uint8_t D) { return V5G(0xF2, {0x01, D}); }

std::vector<uint8_t> NbV5GFeed(uint16_t N) { return V5G(0xA1, {Low(N), High(N)}); }

std::vector<uint8_t> NbV5GGetState() { return V5G(0xA3, {0x00}); }

std::vector<uint8_t> NbV5GImageBegin() {
  return V5G(0xA6, NbFromHex("AA551738445F5F5F44382C"));
}

std::vector<uint8_t> NbV5GImageEnd() {
  return V5G(0xA6, NbFromHex("AA55170000000000000017"));
}

std::vector<uint8_t> NbV5GRow(const TNbMonoImage& Mono, int32_t Y) {
  return V5G(NbV5GCmdRow, NbPackRow(Mono, Y));
}
