#pragma once
// The main function of the model benchmarks: rendering needs a GUI
// application (fonts, text layout), offscreen so no display is needed; a
// benchmark that measures peak memory runs itself again as a child with
// PeakArg and a path, which Peak then handles alone.

using TPeakMain = int (*)(const char* Path);

int RunModelBenchmarks(int argc, char** argv, const char* PeakArg = nullptr, TPeakMain Peak = nullptr);
