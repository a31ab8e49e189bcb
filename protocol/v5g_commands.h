#pragma once
// Commands of the V5G printer protocol (MX series) and its print parameters.
// Every builder returns one complete frame.

#include <cstdint>
#include <vector>

#include "protocol/raster.h"

struct TNbV5GParams {
  uint8_t Speed = 10;        // print speed, command 0xBD
  uint8_t Quality = 3;       // 1..5, command 0xA4
  uint16_t Energy = 10000;   // heating energy, command 0xAF; 0 = not sent
  int32_t Density = 0;       // command 0xF2; 0 or less = not sent, capped at 200
  uint16_t FeedLines = 48;   // dot rows fed after the image, command 0xA1; 0 = not sent
  bool TextMode = false;     // drawing mode byte of command 0xBE

  static TNbV5GParams Default();
  static TNbV5GParams MX10();
};

// Command bytes.
constexpr uint8_t NbV5GCmdRow = 0xA2;

// Quality clamped to 1..5 and sent as its ASCII digit.
std::vector<uint8_t> NbV5GQuality(uint8_t Q);
std::vector<uint8_t> NbV5GEnergy(uint16_t E);
std::vector<uint8_t> NbV5GSpeed(uint8_t S);
std::vector<uint8_t> NbV5GDrawMode(uint8_t M);
std::vector<uint8_t> NbV5GDensity(uint8_t D);
std::vector<uint8_t> NbV5GFeed(uint16_t N);
std::vector<uint8_t> NbV5GGetState();
std::vector<uint8_t> NbV5GImageBegin();
std::vector<uint8_t> NbV5GImageEnd();
// One packed dot row; raises std::out_of_range for a row outside the raster.
std::vector<uint8_t> NbV5GRow(const TNbMonoImage& Mono, int32_t Y);
