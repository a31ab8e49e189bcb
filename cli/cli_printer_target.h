#pragma once
// Which printer a run prints to: a real one by its Bluetooth address (the
// remembered printer of the settings unless --printer names another), or a
// simulated one ("virtual", "virtual:NAME") that shows what it received as a
// picture.

#include "cli/cli_print_values.h"

#include <QString>

#include <functional>
#include <optional>

class TNimboBle;
struct TCliArgs;
struct TCliStreams;

struct TCliPrinterTarget {
    bool Virtual = false;
    QString Name;        // virtual: the simulated model's name; real: the remembered name, if it is that printer
    QString Address;     // real printers
    QString VirtualOut;  // virtual: where the received print goes
    // The protocol the printer speaks when it is known for sure (virtual printers).
    std::optional<TCliProtocol> Protocol;
};

// Reads --printer and --virtual-out. Raises ECliUsage when no printer is
// given and none is remembered, or --virtual-out comes without a virtual printer.
TCliPrinterTarget CliPrinterTarget(const TCliArgs& A, const TAppSettings& Settings);

// Connects to the target, asks a V5G printer for its state, runs the job
// that Start begins and, for a virtual printer, writes what it printed.
void RunPrinterJob(const TCliPrinterTarget& Target, const TCliPrintValues& Values, TCliStreams& S,
                   const std::function<void(TNimboBle&)>& Start);

// Several jobs over one connection, one after another: Start(link, j) begins
// job j of Jobs. Percent(j, sent, total) gives the progress of the whole
// run from the running job's bytes. A virtual printer writes all it printed,
// one job below the other.
void RunPrinterJobs(const TCliPrinterTarget& Target, const TCliPrintValues& Values, TCliStreams& S, size_t Jobs,
                    const std::function<void(TNimboBle&, size_t)>& Start,
                    const std::function<int(size_t, int64_t, int64_t)>& Percent);
