#pragma once
// The printer protocol library: rasters, V5G frames, commands and print jobs,
// V5X print jobs and the parsers of printer notifications. Standard library
// only; every routine is a pure function on values.

#include "protocol/raster.h"
