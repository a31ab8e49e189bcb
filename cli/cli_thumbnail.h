#pragma once
// The size of a file-manager thumbnail of a label picture.

#include <QSize>

// File managers ask for 128 to 1024 pixels; more would only cost memory.
inline constexpr int kMaxThumbnailSize = 4096;

// Picture scaled so that its longer side is Size pixels, keeping its aspect
// ratio (rounded to the nearest pixel, at least 1). Empty for an empty picture.
QSize ThumbnailSize(const QSize& Picture, int Size);
