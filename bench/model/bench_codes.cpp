// Rendering labels full of codes into the printer raster: 20 QR codes of
// 100 characters each, and a 1000 mm label with 200 Code 128 bar codes.
// Every code carries {NR} and every round prints the next copy, so each
// round encodes every code anew, as printing many copies does.

#include "model/label_doc.h"
#include "protocol/nimbo_protocol.h"

#include "model_bench_main.h"


#include <benchmark/benchmark.h>

namespace {

void BM_RenderMonoTwentyQrCodes(benchmark::State& State)
{
    TLabelDoc Doc;
    Doc.LengthMm = 240;
    for (int I = 0; I < 20; ++I) {
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
        E->X = (I % 2) * 192;
        E->Y = (I / 2) * 192;
        E->W = 190;
        E->H = 190;
        E->CodeType = ctQr;
        E->Text = QStringLiteral("https://mirvo.example/inventar/%1?nr={NR}&").arg(I).leftJustified(100, QLatin1Char('x'));
    }
    int CopyNo = 0;
    for (auto _ : State) {
        TNbMonoImage M = Doc.RenderMono(++CopyNo);
        benchmark::DoNotOptimize(M.Dots.data());
    }
}
BENCHMARK(BM_RenderMonoTwentyQrCodes)->Unit(benchmark::kMillisecond);

void BM_RenderMonoMetreOfCode128(benchmark::State& State)
{
    TLabelDoc Doc;
    Doc.LengthMm = 1000;
    for (int I = 0; I < 200; ++I) {
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
        E->X = 0;
        E->Y = I * 40;
        E->W = 384;
        E->H = 40;
        E->CodeType = ctCode128;
        E->Text = QStringLiteral("PW-%1-{NR}").arg(100000 + I);
    }
    int CopyNo = 0;
    for (auto _ : State) {
        TNbMonoImage M = Doc.RenderMono(++CopyNo);
        benchmark::DoNotOptimize(M.Dots.data());
    }
}
BENCHMARK(BM_RenderMonoMetreOfCode128)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunModelBenchmarks(argc, argv);
}
