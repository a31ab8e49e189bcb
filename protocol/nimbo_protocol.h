#pragma once
// The printer protocol library: rasters, V5G frames, commands and print jobs,
// V5X print jobs and the parsers of printer notifications. Standard library
// only; every routine is a pure function on values. Failures are exceptions
// whose what() is a German message for the user.

#include "protocol/frame.h"
#include "protocol/notifications.h"
#include "protocol/raster.h"
#include "protocol/v5g_commands.h"
#include "protocol/v5g_job.h"
#include "protocol/v5x_job.h"
