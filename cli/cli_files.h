#pragma once
// Output files of the commands. Each is written to a temporary file that
// replaces the target only when complete, so a failed run never leaves a
// half-written picture or job behind.

#include "protocol/raster.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

// A 1-bit picture of the raster: index 1 black (ink), index 0 white (paper).
QImage MonoToImage(const TNbMonoImage& Mono);

// Raises "Die Datei "…" kann nicht geschrieben werden (…)." on failure.
void SavePng(const QImage& Image, const QString& FileName);
void SaveBytes(const std::vector<uint8_t>& Bytes, const QString& FileName);
