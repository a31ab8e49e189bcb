#pragma once
// The complete byte stream of one print on a V5G printer.

#include <cstdint>
#include <vector>

#include "protocol/raster.h"
#include "protocol/v5g_commands.h"

// Set-up frames, one row frame per dot row (top row first, blank rows
// included) and the closing frames, laid end to end. Params are used as
// given. A malformed raster raises std::out_of_range, a row too wide for one
// frame std::length_error; neither yields a job.
std::vector<uint8_t> NbV5GBuildJob(const TNbMonoImage& Mono, const TNbV5GParams& Params);
