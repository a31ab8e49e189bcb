#pragma once
// What the user reads when Bluetooth cannot be used, one sentence per cause.

#include "ble/ble_central.h"

#include <string>

// Empty for bsReady.
std::string NbBleStateText(TBleState State);
