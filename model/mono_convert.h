#pragma once
// From pictures to the printer raster: the black-and-white preview, the
// turning of landscape labels and the joining of copies into one print.
// TLabelDoc::RenderMono (declared in label_doc.h) lives in mono_convert.cpp.

#include "protocol/nimbo_protocol.h"

#include <QImage>

#include <vector>

// Turns Bmp in place into 32-bit pure black and white: a pixel whose gray
// level is at least Threshold becomes white, every other one black.
void PreviewThreshold(QImage& Bmp, int Threshold);

// One dot per pixel whose gray level is below 128.
TNbMonoImage BitmapToMono(const QImage& Bmp);

// Src turned a quarter turn clockwise: the left column becomes the top row,
// the bottom-left dot the top-left one.
TNbMonoImage RotateMonoCW(const TNbMonoImage& Src);

// The rasters one below the other, GapDots blank rows between two of them
// and none after the last; no rasters give a 0 x 0 raster. Raises EModelError
// when the rasters differ in width, GapDots is negative or the sum of the
// heights overflows.
TNbMonoImage StackMonoImages(const std::vector<TNbMonoImage>& Images, int GapDots);

// Gap between printed copies in dot rows (8 per mm). A negative value from the
// settings file means no gap, as a negative feed means no feed; a gap too
// large for 32 bits raises.
int GapMmToDots(int32_t GapMm);
