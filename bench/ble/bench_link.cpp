// CPU cost of a long label job through the printer link to a simulated MX
// printer, and the CPU a job uses while the printer holds it paused.
#include "ble/nimbo_ble.h"
#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_main_queue.h"
#include "ble/sim/sim_mx_printer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

double ProcessCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A 1000 mm label: 384 x 8000 dots with a pattern, 448 KB as a V5G job.
TNbMonoImage LongLabel()
{
    TNbMonoImage m;
    m.Init(384, 8000, 0);
    for (int32_t y = 0; y < m.Height; ++y)
        for (int32_t x = 0; x < m.Width; ++x)
            m.Dots[static_cast<size_t>(y) * m.Width + x] = ((x ^ y) % 7 == 0) ? 1 : 0;
    return m;
}

// Link, simulated printer and main queue, connected; real time throughout.
struct TRig {
    TSimBleManager Manager;
    TSimMainQueue Main;
    std::shared_ptr<TSimMxPrinter> Printer = std::make_shared<TSimMxPrinter>();
    std::unique_ptr<TNimboBle> Link;
    int Done = 0;
    bool LastOk = false;

    TRig()
    {
        TBleDevice* device = Manager.AddPrinter(Printer);
        Link = std::make_unique<TNimboBle>(&Manager, Main.Poster());
        bool connected = false;
        Link->SetOnConnected([&](TNimboBle*, bool ok, const std::string&) { connected = ok; });
        Link->SetOnPrintDone([this](TNimboBle*, bool ok, const std::string&) {
            ++Done;
            LastOk = ok;
        });
        Link->Connect(device);
        if (!Main.RunUntil([&] { return connected; }))
            throw std::runtime_error("no connection to the simulated printer");
        Link->SetPacketSize(180);
        Link->SetIntervalMs(0);
        Link->SetAutoTemperature(false);
    }

    bool WaitDone(int n) { return Main.RunUntil([&] { return Done >= n; }, std::chrono::seconds(60)); }
};

void BM_LongLabelJob(benchmark::State& state)
{
    TRig rig;
    const TNbMonoImage label = LongLabel();
    int jobs = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        rig.Link->PrintV5G(label, TNbV5GParams::Default());
        if (!rig.WaitDone(++jobs) || !rig.LastOk) {
            state.SkipWithError("job failed");
            break;
        }
        state.SetIterationTime(ProcessCpuSeconds() - cpu0);
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
    }
    state.counters["wall_ms_per_job"] = wall / jobs;
    const std::vector<TSimV5GPrint> prints = rig.Printer->Prints();
    if (prints.empty() || prints.back().Raster.Dots != label.Dots)
        state.SkipWithError("printed raster differs");
    state.counters["job_bytes"] = static_cast<double>(rig.Printer->BytesWritten()) / jobs;
    state.counters["pauses_per_job"] = static_cast<double>(rig.Printer->Pauses()) / jobs;
}
// Reported time is process CPU time per job (all threads: link, simulated backend, printer model).
BENCHMARK(BM_LongLabelJob)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PausedJobIdles(benchmark::State& state)
{
    TRig rig;
    rig.Printer->SetBuffer(64 * 1024, 1024, 4096);
    const TNbMonoImage label = LongLabel();
    const auto pause = std::chrono::milliseconds(state.range(0));
    int jobs = 0;
    double pausedCpu = 0;
    for (auto _ : state) {
        TSimFaults stall;
        stall.NeverResume = true;
        rig.Printer->SetFaults(stall);
        rig.Link->PrintV5G(label, TNbV5GParams::Default());
        while (!(rig.Printer->Paused() && rig.Manager.IsIdle()))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double cpu0 = ProcessCpuSeconds();
        std::this_thread::sleep_for(pause);
        const double cpu = ProcessCpuSeconds() - cpu0;
        state.SetIterationTime(cpu);
        pausedCpu += cpu;
        rig.Printer->SetFaults(TSimFaults{});
        rig.Printer->Resume();
        if (!rig.WaitDone(++jobs) || !rig.LastOk) {
            state.SkipWithError("job failed");
            break;
        }
    }
    state.counters["paused_ms"] = static_cast<double>(pause.count());
    state.counters["cpu_ms_while_paused"] = pausedCpu * 1000.0 / jobs;
}
// Reported time is process CPU time spent while the printer holds the job paused.
BENCHMARK(BM_PausedJobIdles)->Arg(300)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
