#include "cli/cli_printer_target.h"

#include "ble/bluez/bluez_manager.h"
#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "cli/cli_args.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_printer_session.h"
#include "model/mono_convert.h"

#include <stdexcept>

namespace {

constexpr uint32_t kScanMs = 10000;
constexpr int kStateWaitMs = 1500;
const QString kVirtual = QStringLiteral("virtual");
const QString kDefaultVirtualOut = QStringLiteral("virtueller-druck.png");

bool IsV5XName(const QString& Name)
{
    return Name.toUpper().startsWith(QStringLiteral("MXW"));
}

// What the printer put on paper: the rows, then the blank paper it fed.
TNbMonoImage WithFeed(const TNbMonoImage& Raster, int FeedLines)
{
    if (FeedLines <= 0)
        return Raster;
    TNbMonoImage out;
    out.Init(Raster.Width, Raster.Height + FeedLines, 0);
    std::copy(Raster.Dots.begin(), Raster.Dots.end(), out.Dots.begin());
    return out;
}

struct TJobs {
    size_t Count = 1;
    std::function<void(TNimboBle&, size_t)> Start;
    std::function<int(size_t, int64_t, int64_t)> Percent;  // empty: the bar shows each job's bytes
};

void RunSession(TBleManager& Manager, const QString& Address, const QString& NameFilter,
                const TCliPrintValues& Values, TCliStreams& S, const TJobs& Jobs)
{
    TCliPrinterSession session(S, &Manager);
    session.ApplySettings(Values.Settings);
    session.Connect(Address, NameFilter, kScanMs);
    if (Values.Protocol == TCliProtocol::V5G)
        session.RequestState(kStateWaitMs);
    for (size_t j = 0; j < Jobs.Count; ++j) {
        if (Jobs.Percent)
            session.SetProgressPercent([&Jobs, j](int64_t Sent, int64_t Total) { return Jobs.Percent(j, Sent, Total); });
        session.Print([&Jobs, j](TNimboBle& Link) { Jobs.Start(Link, j); }, j + 1 == Jobs.Count);
    }
}

// What the printer put on paper, all jobs one below the other.
template <class TPrint, class F>
TNbMonoImage JoinPrints(const std::vector<TPrint>& Prints, F&& Paper)
{
    if (Prints.empty())
        throw std::runtime_error("Der virtuelle Drucker hat keinen vollständigen Druck erhalten");
    if (Prints.size() == 1)
        return Paper(Prints.front());
    std::vector<TNbMonoImage> parts;
    for (const TPrint& p : Prints)
        parts.push_back(Paper(p));
    return StackMonoImages(parts, 0);
}

} // namespace

TCliPrinterTarget CliPrinterTarget(const TCliArgs& A, const TAppSettings& Settings)
{
    TCliPrinterTarget t;
    const QString printer = A.Value(QStringLiteral("--printer")).value_or(QString()).trimmed();
    if (printer.compare(kVirtual, Qt::CaseInsensitive) == 0 ||
        printer.startsWith(kVirtual + QLatin1Char(':'), Qt::CaseInsensitive)) {
        t.Virtual = true;
        t.Name = printer.mid(kVirtual.size() + 1).trimmed();
        if (t.Name.isEmpty())
            t.Name = QStringLiteral("MX10");
        t.Protocol = IsV5XName(t.Name) ? TCliProtocol::V5X : TCliProtocol::V5G;
        t.VirtualOut = A.Value(QStringLiteral("--virtual-out")).value_or(kDefaultVirtualOut);
        return t;
    }
    if (A.Has(QStringLiteral("--virtual-out")))
        throw ECliUsage("--virtual-out gilt nur für --printer virtual", A.Command.toStdString());
    t.Address = printer.isEmpty() ? Settings.PrinterAddress.trimmed() : printer;
    if (t.Address.isEmpty())
        throw ECliUsage("Kein Drucker eingerichtet: --printer ADRESSE angeben (Adressen zeigt \"pellwerk-cli scan\")",
                        A.Command.toStdString());
    // The remembered name narrows the search to that printer, as at the editor's start.
    if (t.Address.compare(Settings.PrinterAddress, Qt::CaseInsensitive) == 0)
        t.Name = Settings.PrinterName;
    return t;
}

void RunPrinterJob(const TCliPrinterTarget& Target, const TCliPrintValues& Values, TCliStreams& S,
                   const std::function<void(TNimboBle&)>& Start)
{
    RunPrinterJobs(Target, Values, S, 1, [&Start](TNimboBle& Link, size_t) { Start(Link); }, nullptr);
}

void RunPrinterJobs(const TCliPrinterTarget& Target, const TCliPrintValues& Values, TCliStreams& S, size_t Jobs,
                    const std::function<void(TNimboBle&, size_t)>& Start,
                    const std::function<int(size_t, int64_t, int64_t)>& Percent)
{
    const TJobs jobs{Jobs, Start, Percent};
    if (!Target.Virtual) {
        TBluezManager manager;
        RunSession(manager, Target.Address, Target.Name, Values, S, jobs);
        return;
    }

    TSimBleManager manager;
    TNbMonoImage printed;
    QString summary;
    if (Target.Protocol == TCliProtocol::V5X) {
        auto model = std::make_shared<TSimMxwPrinter>(Target.Name.toStdString());
        manager.AddPrinter(model);
        RunSession(manager, QString::fromStdString(model->Address()), QString(), Values, S, jobs);
        const std::vector<TSimV5XPrint> prints = model->Prints();
        printed = JoinPrints(prints, [](const TSimV5XPrint& p) { return p.Raster; });
        summary = QStringLiteral("Dichte %1 %").arg(prints.back().Density);
    } else {
        auto model = std::make_shared<TSimMxPrinter>(Target.Name.toStdString());
        manager.AddPrinter(model);
        RunSession(manager, QString::fromStdString(model->Address()), QString(), Values, S, jobs);
        const std::vector<TSimV5GPrint> prints = model->Prints();
        printed = JoinPrints(prints, [](const TSimV5GPrint& p) { return WithFeed(p.Raster, p.FeedLines); });
        const TSimV5GPrint& p = prints.back();
        summary = QStringLiteral("Vorschub %1 Zeilen, Energie %2, Qualität %3, Geschwindigkeit %4")
                      .arg(p.FeedLines)
                      .arg(p.Energy)
                      .arg(p.Quality)
                      .arg(p.Speed);
    }
    if (Jobs > 1)
        summary += QStringLiteral(", %1 Aufträge").arg(Jobs);
    SavePng(MonoToImage(printed), Target.VirtualOut);
    WriteLine(S.Out, QStringLiteral("Virtueller Drucker %1: %2 × %3 Punkte (%4) → %5")
                         .arg(Target.Name, QString::number(printed.Width), QString::number(printed.Height),
                              summary, Target.VirtualOut));
}
