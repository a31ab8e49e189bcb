#pragma once
// The pieces of one print on a V5X printer, which the link sends in separate
// steps: density and start on the command characteristic, the raw rows on
// the data characteristic after the printer has acknowledged the start, and
// the end command.

#include <cstdint>
#include <vector>

#include "protocol/raster.h"

struct TNbV5XJob {
  std::vector<uint8_t> DensityCmd;  // 9 bytes
  std::vector<uint8_t> StartCmd;    // 12 bytes
  std::vector<uint8_t> ImageData;   // packed rows back to back, no framing
  std::vector<uint8_t> EndCmd;      // 9 bytes
};

// Highest row count the start command can announce.
constexpr int32_t NbV5XMaxRows = 65535;

// Density frame with the 22 21 header; the percent is capped at 100.
std::vector<uint8_t> NbV5XDensity(uint8_t Percent);
// 22 21 A9 00 04 00, rows low and high, 30, mode, 00 00 (no CRC, no FF).
std::vector<uint8_t> NbV5XStart(uint16_t Rows, uint8_t Mode);
std::vector<uint8_t> NbV5XEnd();

// A malformed raster raises std::out_of_range, and so does a raster of more
// rows than the start command can announce; neither yields a job.
TNbV5XJob NbV5XBuildJob(const TNbMonoImage& Mono, uint8_t DensityPercent, uint8_t Mode);
