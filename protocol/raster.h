#pragma once
// Gray and dot rasters that carry every picture from the label model to the
// printer, the conversion from gray to dots and the packing of one dot row.

#include <cstddef>
#include <cstdint>
#include <vector>

// Checks a raster size and returns the number of cells it needs. Raises
// std::invalid_argument for a negative side and std::overflow_error when
// Width * Height does not fit a signed 32-bit integer, before anything is
// allocated.
std::size_t NbRasterArea(int32_t AWidth, int32_t AHeight);

// 8-bit gray raster, row-major, 0 = black, 255 = white.
struct TNbGrayImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Pixels;

  void Init(int32_t AWidth, int32_t AHeight, uint8_t Fill);
  // Both raise std::out_of_range for a point outside the raster.
  uint8_t GetPixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, uint8_t Value);
};

// Printer dot raster, one byte per dot, row-major; 1 = ink, 0 = paper.
// Row 0 is the first row that leaves the printer.
struct TNbMonoImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Dots;

  void Init(int32_t AWidth, int32_t AHeight, uint8_t Fill = 0);
  // Both raise std::out_of_range for a point outside the raster.
  uint8_t GetDot(int32_t X, int32_t Y) const;
  void SetDot(int32_t X, int32_t Y, uint8_t Value);
};

// Converts gray to dots: a plain threshold (pixel < Threshold is ink) or,
// with Dither, Floyd-Steinberg error diffusion against the same threshold.
// Raises std::out_of_range when Pixels does not hold Width * Height bytes.
TNbMonoImage NbGrayToMono(const TNbGrayImage& Gray, bool Dither, uint8_t Threshold);

// Bytes of one packed dot row: (Width + 7) / 8.
std::size_t NbPackedRowSize(int32_t Width);

// Packs dot row Y: bit (X mod 8) of byte X / 8, leftmost dot in bit 0; every
// non-zero dot byte is ink. Raises std::out_of_range for a row outside the
// raster or a raster whose Dots do not hold Width * Height bytes.
std::vector<uint8_t> NbPackRow(const TNbMonoImage& Mono, int32_t Y);

// Same as NbPackRow, written to Out, which must hold NbPackedRowSize(Width)
// bytes. The job builders use it to fill their buffers in place.
void NbPackRowInto(const TNbMonoImage& Mono, int32_t Y, uint8_t* Out);

// Raises std::out_of_range unless Mono has sane sides and exactly
// Width * Height dots. The job builders call it once before writing a row.
void NbCheckMono(const TNbMonoImage& Mono);
