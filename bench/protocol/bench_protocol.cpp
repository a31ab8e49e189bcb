// Throughput of the steps every label print goes through: gray to dots and
// the V5G job, on a full-width label of 1000 mm (384 x 8000 dots).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "protocol/nimbo_protocol.h"

namespace {

constexpr int32_t kWidth = 384;
constexpr int32_t kHeight = 8000;

// A photo-like gray image: smooth gradients with some noise, so that the
// diffusion sees every kind of error and no branch is always taken.
TNbGrayImage MakeGray() {
  TNbGrayImage g;
  g.Init(kWidth, kHeight, 255);
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> noise(-20, 20);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const int v = (x * 255 / kWidth + (y % 512) / 2) % 256 + noise(rng);
      g.Pixels[static_cast<size_t>(y) * kWidth + x] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }
  return g;
}

void BM_GrayToMono(benchmark::State& state, bool dither) {
  const TNbGrayImage gray = MakeGray();
  for (auto _ : state) {
    TNbMonoImage mono = NbGrayToMono(gray, dither, 128);
    benchmark::DoNotOptimize(mono.Dots.data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
  state.counters["MPixel/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_GrayToMono, dither, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GrayToMono, threshold, false)->Unit(benchmark::kMillisecond);

void BM_V5GBuildJob(benchmark::State& state) {
  const TNbMonoImage mono = NbGrayToMono(MakeGray(), true, 128);
  const TNbV5GParams params = TNbV5GParams::Default();
  int64_t bytes = 0;
  for (auto _ : state) {
    std::vector<uint8_t> job = NbV5GBuildJob(mono, params);
    bytes += static_cast<int64_t>(job.size());
    benchmark::DoNotOptimize(job.data());
  }
  state.SetBytesProcessed(bytes);
  state.SetItemsProcessed(state.iterations() * int64_t{kHeight});  // rows
}
BENCHMARK(BM_V5GBuildJob)->Unit(benchmark::kMicrosecond);

void BM_V5XBuildJob(benchmark::State& state) {
  const TNbMonoImage mono = NbGrayToMono(MakeGray(), true, 128);
  int64_t bytes = 0;
  for (auto _ : state) {
    TNbV5XJob job = NbV5XBuildJob(mono, 93, 0);
    bytes += static_cast<int64_t>(job.ImageData.size());
    benchmark::DoNotOptimize(job.ImageData.data());
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_V5XBuildJob)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
