// Rendering a label into the printer raster: a built-in template, and the
// heaviest label the editor allows (1000 mm landscape, a dithered photo over
// the whole background, ten texts). The peak memory of the heavy label is
// measured in a fresh process, so that nothing earlier inflates the figure.

#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/picture_io.h"
#include "protocol/nimbo_protocol.h"

#include "model_bench_main.h"
#include "process_memory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

const char* const kPeakArg = "--peak-memory-of-long-label";

// A photo-like picture of the largest imported size: gradients and noise,
// so that scaling, gray conversion and error diffusion all do real work.
QImage Photo(int W, int H)
{
    QImage Img(W, H, QImage::Format_RGB32);
    std::mt19937 Rng(7);
    std::uniform_int_distribution<int> Noise(-24, 24);
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Img.scanLine(Y));
        for (int X = 0; X < W; ++X) {
            const auto C = [&](int V) { return std::clamp(V + Noise(Rng), 0, 255); };
            Row[X] = qRgb(C(X * 255 / W), C(Y * 255 / H), C((X + Y) / 8 % 256));
        }
    }
    return Img;
}

void BuildLongPhotoLabel(TLabelDoc& Doc, const QByteArray& PhotoPng)
{
    Doc.LengthMm = 1000;
    Doc.Landscape = true;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmFill;
    Doc.BgDither = true;
    Doc.BgLighten = 30;
    Doc.SetBgPng(PhotoPng);
    for (int I = 0; I < 10; ++I) {
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
        E->X = 40 + I * 790;
        E->Y = 40 + (I % 3) * 100;
        E->W = 700;
        E->H = 120;
        E->FontSize = 28 + 4 * I;
        E->Bold = I % 2 == 0;
        E->Inverted = I % 4 == 1;
        E->Text = QStringLiteral("Feld %1: {DATUM} Nr. {NR}\r\nzweite Zeile mit etwas mehr Text").arg(I + 1);
    }
}

// Child process: loads the photo's PNG bytes from a file, builds the label,
// resets the peak resident size and reports how far one rendering (which
// decodes the photo) raises it above the resident size before.
int MeasurePeak(const char* PngPath)
{
    QFile F(QString::fromLocal8Bit(PngPath));
    if (!F.open(QIODevice::ReadOnly))
        return 2;
    TLabelDoc Doc;
    BuildLongPhotoLabel(Doc, F.readAll());
    QFile Clear(QStringLiteral("/proc/self/clear_refs"));
    const bool Reset = Clear.open(QIODevice::WriteOnly) && Clear.write("5") == 1;
    Clear.close();
    const long Before = StatusKiB("VmRSS:");
    const TNbMonoImage M = Doc.RenderMono(1);
    const long After = StatusKiB("VmHWM:");
    std::printf("%ld %ld %d %d %d\n", Before, After, M.Width, M.Height, Reset ? 1 : 0);
    return Before < 0 || After < 0 ? 3 : 0;
}

void BM_RenderMonoPreisschild(benchmark::State& State)
{
    QTemporaryDir Dir;
    CreateBuiltinTemplates(Dir.path());
    TLabelDoc Doc;
    Doc.LoadFromFile(QDir(Dir.path()).filePath(QStringLiteral("Preisschild.pellwerk")));
    for (auto _ : State) {
        TNbMonoImage M = Doc.RenderMono(1);
        benchmark::DoNotOptimize(M.Dots.data());
    }
}
BENCHMARK(BM_RenderMonoPreisschild)->Unit(benchmark::kMillisecond);

void BM_RenderMonoLongPhotoLabel(benchmark::State& State)
{
    TLabelDoc Doc;
    BuildLongPhotoLabel(Doc, BitmapToPng(Photo(1200, 900)));
    for (auto _ : State) {
        TNbMonoImage M = Doc.RenderMono(1);
        benchmark::DoNotOptimize(M.Dots.data());
    }
}
BENCHMARK(BM_RenderMonoLongPhotoLabel)->Unit(benchmark::kMillisecond);

// Its first rendering (which also decodes the photo) in a fresh process.
void BM_PeakMemoryLongPhotoLabel(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QString PngPath = QDir(Dir.path()).filePath(QStringLiteral("photo.png"));
    {
        QFile F(PngPath);
        if (!F.open(QIODevice::WriteOnly) || F.write(BitmapToPng(Photo(1200, 900))) < 0) {
            State.SkipWithError("cannot write the photo");
            return;
        }
    }
    long Before = 0, After = 0;
    int Reset = 0;
    for (auto _ : State) {
        QProcess Child;
        Child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kPeakArg), PngPath});
        if (!Child.waitForFinished(120000) || Child.exitCode() != 0) {
            State.SkipWithError("measuring process failed");
            return;
        }
        int W = 0, H = 0;
        if (std::sscanf(Child.readAllStandardOutput().constData(), "%ld %ld %d %d %d", &Before, &After, &W, &H,
                        &Reset) != 5 ||
            W != 384 || H != 8000) {
            State.SkipWithError("measuring process gave no figures");
            return;
        }
    }
    State.counters["rss_before_MiB"] = Before / 1024.0;
    State.counters["rss_growth_MiB"] = (After - Before) / 1024.0;
    State.counters["peak_was_reset"] = Reset;  // 0: the growth is an upper bound
}
BENCHMARK(BM_PeakMemoryLongPhotoLabel)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunModelBenchmarks(argc, argv, kPeakArg, MeasurePeak);
}
