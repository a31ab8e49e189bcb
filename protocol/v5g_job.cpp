#include "protocol/v5g_job.h"

#include <algorithm>
#include <cstring>

#include "protocol/frame.h"

namespace {

void Append(std::vector<uint8_t>& AOut, const std::vector<uint8_t>& AFrame) {
  AOut.insert(AOut.end(), AFrame.begin(), AFrame.end());
}

std::vector<uint8_t> Opening(const TNbV5GParams& Params) {
  std::vector<uint8_t> out;
  if (Params.Density > 0) {
    Append(out, NbV5GDensity(static_cast<uint8_t>(std::min(Params.Density, 200))));
  }
  Append(out, NbV5GGetState());
  Append(out, NbV5GQuality(Params.Quality));
  Append(out, NbV5GImageBegin());
  if (Params.Energy > 0) Append(out, NbV5GEnergy(Params.Energy));
  Append(out, NbV5GDrawMode(Params.TextMode ? 1 : 0));
  Append(out, NbV5GSpeed(Params.Speed));
  return out;
}

std::vector<uint8_t> Closing(const TNbV5GParams& Params) {
  std::vector<uint8_t> out;
  Append(out, NbV5GSpeed(Params.Speed));
  if (Params.FeedLines > 0) Append(out, NbV5GFeed(Params.FeedLines));
  Append(out, NbV5GImageEnd());
  Append(out, NbV5GGetState());
  Append(out, NbV5GGetState());
  return out;
}

}  // namespace

std::vector<uint8_t> NbV5GBuildJob(const TNbMonoImage& Mono, const TNbV5GParams& Params) {
  NbCheckMono(Mono);
  const std::size_t rowBytes = NbPackedRowSize(Mono.Width);
  NbCheckFramePayload(rowBytes);
  const std::size_t rowFrame = rowBytes + NbFrameOverhead;
  const std::vector<uint8_t> opening = Opening(Params);
  const std::vector<uint8_t> closing = Closing(Params);

  // One allocation of the exact size; the rows are packed straight into
  // their frames.
  std::vector<uint8_t> job(opening.size() + static_cast<std::size_t>(Mono.Height) * rowFrame +
                           closing.size());
  uint8_t* p = job.data();
  std::memcpy(p, opening.data(), opening.size());
  p += opening.size();
  for (int32_t y = 0; y < Mono.Height; ++y) {
    NbPackRowInto(Mono, y, p + 6);
    NbFrameInPlace(false, NbV5GCmdRow, rowBytes, p);
    p += rowFrame;
  }
  std::memcpy(p, closing.data(), closing.size());
  return job;
}
