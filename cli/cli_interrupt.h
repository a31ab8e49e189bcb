#pragma once
// Ctrl+C during a run. The first interrupt asks the running print job to
// stop before its next packet (the printer keeps what it already has, the
// link disconnects cleanly and the run ends with "Abgebrochen"); while
// searching or connecting it ends the run at once. A second interrupt ends
// the program the ordinary way.

// Installs the handler for SIGINT (main only: tests do not want it).
void InstallInterruptHandler();

// True once an interrupt came.
bool InterruptRequested();
