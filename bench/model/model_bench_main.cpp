#include "model_bench_main.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstring>

int RunModelBenchmarks(int argc, char** argv, const char* PeakArg, TPeakMain Peak)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    if (PeakArg && Peak && argc > 2 && std::strcmp(argv[1], PeakArg) == 0)
        return Peak(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
