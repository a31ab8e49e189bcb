#include "cli/cli_printer_target.h"

#include "ble/bluez/bluez_manager.h"
#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "cli/cli_args.h"
#include "cli/cli_error.h"
#include "cli/cli_files.h"
#include "cli/cli_printer_session.h"

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

void RunSession(TBleManager& Manager, const QString& Address, const QString& NameFilter,
                const TCliPrintValues& Values, TCliStreams& S, const std::function<void(TNimboBle&)>& Start)
{
    TCliPrinterSession session(S, &Manager);
    session.ApplySettings(Values.Settings);
    session.Connect(Address, NameFilter, kScanMs);
    if (Values.Protocol == TCliProtocol::V5G)
        session.RequestState(kStateWaitMs);
    session.Print(Start);
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
    if (!Target.Virtual) {
        TBluezManager manager;
        RunSession(manager, Target.Address, Target.Name, Values, S, Start);
        return;
    }

    TSimBleManager manager;
    TNbMonoImage printed;
    QString summary;
    if (Target.Protocol == TCliProtocol::V5X) {
        auto model = std::make_shared<TSimMxwPrinter>(Target.Name.toStdString());
        manager.AddPrinter(model);
        RunSession(manager, QString::fromStdString(model->Address()), QString(), Values, S, Start);
        const std::vector<TSimV5XPrint> prints = model->Prints();
        if (prints.empty())
            throw std::runtime_error("Der virtuelle Drucker hat keinen vollständigen Druck erhalten");
        printed = prints.back().Raster;
        summary = QStringLiteral("Dichte %1 %").arg(prints.back().Density);
    } else {
        auto model = std::make_shared<TSimMxPrinter>(Target.Name.toStdString());
        manager.AddPrinter(model);
        RunSession(manager, QString::fromStdString(model->Address()), QString(), Values, S, Start);
        const std::vector<TSimV5GPrint> prints = model->Prints();
        if (prints.empty())
            throw std::runtime_error("Der virtuelle Drucker hat keinen vollständigen Druck erhalten");
        const TSimV5GPrint& p = prints.back();
        printed = WithFeed(p.Raster, p.FeedLines);
        summary = QStringLiteral("Vorschub %1 Zeilen, Energie %2, Qualität %3, Geschwindigkeit %4")
                      .arg(p.FeedLines)
                      .arg(p.Energy)
                      .arg(p.Quality)
                      .arg(p.Speed);
    }
    SavePng(MonoToImage(printed), Target.VirtualOut);
    WriteLine(S.Out, QStringLiteral("Virtueller Drucker %1: %2 × %3 Punkte (%4) → %5")
                         .arg(Target.Name, QString::number(printed.Width), QString::number(printed.Height),
                              summary, Target.VirtualOut));
}
