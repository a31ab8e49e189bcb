// A data merge of 10,000 price tags: reading the table, then every record
// rendered into the printer raster as the batch's jobs are built, each job
// encoded as a V5X job and dropped, as the printer link would after sending
// it. Reported: the time of the whole batch and how far the resident memory
// rose above where it started.

#include "merge/batch_job.h"
#include "merge/batch_plan.h"
#include "merge/data_table.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "protocol/v5x_job.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

namespace {

constexpr int kRecords = 10000;

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in bytes.
int64_t StatusBytes(const char* Key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key(Key);
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(key.size())) * 1024;
    return 0;
}

int64_t ResidentBytes()
{
    return StatusBytes("VmRSS:");
}

// Lets the kernel's peak (VmHWM) start again from the current size, so it
// shows the batch's own peak, between the samples too.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

QByteArray PriceCsv()
{
    QByteArray csv = "Artikel;Preis;Hinweis\r\n";
    for (int n = 1; n <= kRecords; ++n)
        csv += QStringLiteral("\"Artikel Nr. %1, Sorte %2\";%3,%4;\"inkl. MwSt.\"\r\n")
                   .arg(n)
                   .arg(n % 37)
                   .arg(n % 100)
                   .arg(n % 100, 2, 10, QLatin1Char('0'))
                   .toUtf8();
    return csv;
}

// The built-in price tag with its three texts made fields.
std::unique_ptr<TLabelDoc> PriceTag()
{
    QTemporaryDir dir;
    CreateBuiltinTemplates(dir.path());
    auto doc = std::make_unique<TLabelDoc>();
    doc->LoadFromFile(QDir(dir.path()).filePath(QStringLiteral("Preisschild") + kLabelFileExt));
    const QString texts[] = {QStringLiteral("{Artikel}"), QStringLiteral("{Preis} €"), QStringLiteral("{Hinweis}")};
    int i = 0;
    for (const auto& e : doc->Elements)
        if (e->Kind == ekText && i < 3)
            e->Text = texts[i++];
    return doc;
}

void BM_MergeTenThousandPriceTags(benchmark::State& State)
{
    const QByteArray csv = PriceCsv();
    const std::unique_ptr<TLabelDoc> doc = PriceTag();
    // One label first, so fonts and caches are in place before measuring.
    benchmark::DoNotOptimize(doc->RenderMono(1));
    for (auto _ : State) {
        ResetPeak();
        const int64_t before = ResidentBytes();
        int64_t peak = before;
        const auto start = std::chrono::steady_clock::now();
        const TDataTable table = ParseDataTable(csv, QStringLiteral("preise.csv"));
        std::vector<int> records;
        for (int n = 1; n <= table.Count(); ++n)
            records.push_back(n);
        const TBatchPlan plan(records, 1, PrintedLabelRows(*doc), 32, BatchJobRows(kDefaultBatchJobMm),
                              kMaxV5XJobRows);
        int64_t bytes = 0;
        for (size_t j = 0; j < plan.Jobs().size(); ++j) {
            const TNbV5XJob job = NbV5XBuildJob(RenderBatchJob(*doc, &table, plan, j), 93, 0);
            bytes += static_cast<int64_t>(job.ImageData.size());
            peak = std::max(peak, ResidentBytes());
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peak = std::max(peak, StatusBytes("VmHWM:"));
        State.SetIterationTime(seconds);
        State.counters["records"] = table.Count();
        State.counters["jobs"] = static_cast<double>(plan.Jobs().size());
        State.counters["image_MB"] = static_cast<double>(bytes) / 1e6;
        State.counters["rss_growth_MB"] = static_cast<double>(peak - before) / 1e6;
        State.counters["ms_per_record"] = seconds * 1000 / table.Count();
    }
}
BENCHMARK(BM_MergeTenThousandPriceTags)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
