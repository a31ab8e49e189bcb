// Pictures as people have them: importing a 48-megapixel phone photo, the
// peak memory of importing a 100-megapixel JPEG (in a fresh process, so
// that the making of the test photo does not count), and drawing a PDF
// shipping label page at the printer's 203 dpi.

#include "model/picture_io.h"
#include "model/picture_source.h"

#include "model_bench_main.h"
#include "process_memory.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

const char* const kPeakArg = "--peak-memory-of-import";

// A photo-like JPEG: gradients, shapes and noise, so the decoder does the
// work a real photo asks of it.
bool WritePhoto(const QString& Path, int W, int H)
{
    QImage Img(W, H, QImage::Format_RGB32);
    std::mt19937 Rng(11);
    std::uniform_int_distribution<int> Noise(-20, 20);
    for (int Y = 0; Y < H; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Img.scanLine(Y));
        const int G = Y * 255 / H;
        for (int X = 0; X < W; ++X) {
            const int N = Noise(Rng);
            Row[X] = qRgb(std::clamp(X * 255 / W + N, 0, 255), std::clamp(G + N, 0, 255),
                          std::clamp((X + Y) / 16 % 256 + N, 0, 255));
        }
    }
    QPainter(&Img).fillRect(W / 4, H / 4, W / 2, H / 2, QColor(240, 240, 230));
    QImageWriter Writer(Path, "jpeg");
    Writer.setQuality(90);
    return Writer.write(Img);
}

// A 4 x 6 inch shipping label: bars, boxes and lines of text.
bool WriteShippingLabel(const QString& Path)
{
    QPdfWriter W(Path);
    W.setPageSize(QPageSize(QSizeF(101.6, 152.4), QPageSize::Millimeter));
    W.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter P(&W);
    if (!P.isActive())
        return false;
    const int PW = W.width(), PH = W.height();
    P.fillRect(0, 0, PW, PH / 10, Qt::black);
    P.setPen(QPen(Qt::black, PW / 200));
    P.drawRect(PW / 20, PH / 8, PW * 9 / 10, PH / 4);
    QFont F(QStringLiteral("Liberation Sans"));
    F.setPixelSize(PH / 40);
    P.setFont(F);
    for (int I = 0; I < 12; ++I)
        P.drawText(PW / 10, PH / 2 + I * PH / 30, QStringLiteral("Zeile %1: Musterstraße 12, 24103 Kiel").arg(I + 1));
    for (int I = 0; I < 60; ++I)  // a barcode-like pattern
        P.fillRect(PW / 10 + I * PW / 80, PH * 85 / 100, (I % 3 + 1) * PW / 400, PH / 12, Qt::black);
    return true;
}

// Child process: imports the file and reports the growth of the peak
// resident size over the resident size before.
int MeasurePeak(const char* Path)
{
    const long Before = StatusKiB("VmRSS:");
    const QImage Img = LoadPictureFile(QString::fromLocal8Bit(Path), kPictureMaxSide);
    const long After = StatusKiB("VmHWM:");
    std::printf("%ld %ld %d %d\n", Before, After, Img.width(), Img.height());
    return Before < 0 || After < 0 || Img.isNull() ? 3 : 0;
}

void BM_ImportJpeg48Megapixel(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("photo48.jpg"));
    if (!WritePhoto(Path, 8000, 6000)) {
        State.SkipWithError("cannot write the photo");
        return;
    }
    for (auto _ : State) {
        QImage Img = LoadPictureFile(Path, kPictureMaxSide);
        benchmark::DoNotOptimize(Img.constBits());
    }
}
BENCHMARK(BM_ImportJpeg48Megapixel)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PeakMemoryImportJpeg100Megapixel(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("photo100.jpg"));
    if (!WritePhoto(Path, 10000, 10000)) {
        State.SkipWithError("cannot write the photo");
        return;
    }
    long Before = 0, After = 0;
    for (auto _ : State) {
        QProcess Child;
        Child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kPeakArg), Path});
        int W = 0, H = 0;
        if (!Child.waitForFinished(120000) || Child.exitCode() != 0 ||
            std::sscanf(Child.readAllStandardOutput().constData(), "%ld %ld %d %d", &Before, &After, &W, &H) != 4 ||
            W != 1200 || H != 1200) {
            State.SkipWithError("measuring process failed");
            return;
        }
    }
    State.counters["rss_before_MiB"] = Before / 1024.0;
    State.counters["rss_growth_MiB"] = (After - Before) / 1024.0;
}
BENCHMARK(BM_PeakMemoryImportJpeg100Megapixel)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PdfPageAt203Dpi(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("versand.pdf"));
    if (!WriteShippingLabel(Path)) {
        State.SkipWithError("cannot write the PDF");
        return;
    }
    for (auto _ : State) {
        // Opening the document belongs to the work, as in the editor.
        const TPictureSource Source(Path);
        QImage Page = Source.RenderFitting(Source.NaturalDots());
        benchmark::DoNotOptimize(Page.constBits());
        if (Page.size() != QSize(812, 1218)) {
            State.SkipWithError("page not at 203 dpi");
            return;
        }
    }
}
BENCHMARK(BM_PdfPageAt203Dpi)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunModelBenchmarks(argc, argv, kPeakArg, MeasurePeak);
}
