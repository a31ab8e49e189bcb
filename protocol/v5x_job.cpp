#include "protocol/v5x_job.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "protocol/frame.h"

std::vector<uint8_t> NbV5XDensity(uint8_t Percent) {
  return NbFrame(true, 0xA2, {std::min<uint8_t>(Percent, 100)});
}

std::vector<uint8_t> NbV5XStart(uint16_t Rows, uint8_t Mode) {
  return {0x22, 0x21, 0xA9, 0x00, 0x04, 0x00, static_cast<uint8_t>(Rows & 0xFF),
          static_cast<uint8_t>(Rows >> 8), 0x30, Mode, 0x00, 0x00};
}

std::vector<uint8_t> NbV5XEnd() { return NbFromHex("2221AD000100000000"); }

TNbV5XJob NbV5XBuildJob(const TNbMonoImage& Mono, uint8_t DensityPercent, uint8_t Mode) {
  NbCheckMono(Mono);
  // Announcing only the low 16 bits of a taller raster would make the
  // printer stop early and treat the rest of the data as garbage.
  if (Mono.Height > NbV5XMaxRows) {
    throw std::out_of_range("NbV5XBuildJob: " + std::to_string(Mono.Height) +
                            " Zeilen sind zu viele für einen Druckauftrag (höchstens 65535)");
  }
  const std::size_t rowBytes = NbPackedRowSize(Mono.Width);
  TNbV5XJob job;
  job.ImageData.resize(static_cast<std::size_t>(Mono.Height) * rowBytes);
  for (int32_t y = 0; y < Mono.Height; ++y) {
    NbPackRowInto(Mono, y, job.ImageData.data() + static_cast<std::size_t>(y) * rowBytes);
  }
  job.DensityCmd = NbV5XDensity(DensityPercent);
  job.StartCmd = NbV5XStart(static_cast<uint16_t>(Mono.Height), Mode);
  job.EndCmd = NbV5XEnd();
  return job;
}
