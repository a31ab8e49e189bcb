#pragma once
// Print values for one run: the settings file as the editor left it, with the
// values given on the command line laid over them. Nothing is saved, so a
// flag never changes what the editor or the next run uses.

#include "settings/app_settings.h"

#include <cstdint>

struct TCliArgs;

enum class TCliProtocol { V5G, V5X };

struct TCliPrintValues {
    TAppSettings Settings;  // loaded and overridden
    TCliProtocol Protocol = TCliProtocol::V5G;
    int Copies = 1;

    // V5G parameters of the settings (already overridden).
    TNbV5GParams Params() const { return Settings.Params(); }
    // The V5X density in percent, kept within what the command carries.
    uint8_t V5XDensityPercent() const;
    // Blank rows between copies; a negative gap from the file means none.
    int GapDots() const;
};

// Highest copy count of one run: all copies go out as one raster.
inline constexpr int kCliMaxCopies = 999;

// Reads the settings file and applies --protocol, --copies, --energy,
// --density (the V5G value 0–200, or the V5X percent 0–100 for a V5X job),
// --quality, --speed, --feed-mm, --gap-mm, --packet-size and --pause-ms,
// each only when the command accepts it. The ranges are those of the printer
// setup dialog. ProtocolFixed: the printer in use only speaks this protocol
// (the virtual printers); a --protocol naming the other is a usage error.
TCliPrintValues CliPrintValues(const TCliArgs& A, const TCliProtocol* ProtocolFixed = nullptr);
