#pragma once
// Dot rasters as rows of text ("#" = ink, "." = paper), so a failing test
// shows the picture it got.

#include "protocol/nimbo_protocol.h"

#include <cstdint>
#include <string>
#include <vector>

// Rows of a row-major dot array Width dots wide.
std::vector<std::string> DotRows(const std::vector<uint8_t>& Dots, int Width);

// Rows of the rectangle (X, Y, W, H) of Image; the rectangle must lie inside.
std::vector<std::string> ImageRows(const TNbMonoImage& Image, int X, int Y, int W, int H);

// The 3x5 design pattern "#.# ..." scaled by (ScaleX, ScaleY), placed at
// column Left of a cell Width dots wide and 6 * ScaleY rows high.
std::vector<std::string> ScaledPattern(const std::string& Pattern, int Width, int Left, int ScaleX, int ScaleY);

// Number of ink dots in Image.
int InkCount(const TNbMonoImage& Image);
