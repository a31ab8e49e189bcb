// scan: the printers in range, with name, address and signal strength.
#include "ble/bluez/bluez_manager.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_printer_session.h"

#include <algorithm>
#include <vector>

namespace {

struct TSeen {
    TBleDevice* Device;
    int32_t Rssi;
};

} // namespace

void CmdScan(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 0, 0, QString());
    const QString prefix = A.Value(QStringLiteral("--name")).value_or(QString());
    const int seconds = A.Int(QStringLiteral("--seconds"), 1, 120, 10);

    TBluezManager manager;
    std::vector<TSeen> seen;
    {
        TCliPrinterSession session(S, &manager);
        WriteLine(S.Err, QStringLiteral("Suche Drucker (%1 s) …").arg(seconds));
        session.Scan(prefix, static_cast<uint32_t>(seconds) * 1000u, [&](TBleDevice* Device, int32_t Rssi) {
            // A device is reported again and again; the latest strength counts.
            auto it = std::find_if(seen.begin(), seen.end(), [&](const TSeen& s) { return s.Device == Device; });
            if (it == seen.end())
                seen.push_back({Device, Rssi});
            else
                it->Rssi = Rssi;
        });
        std::stable_sort(seen.begin(), seen.end(), [](const TSeen& a, const TSeen& b) { return a.Rssi > b.Rssi; });
        // The device objects belong to the manager, which is still alive here.
        for (const TSeen& s : seen) {
            QString name = QString::fromStdString(s.Device->Name());
            if (name.isEmpty())
                name = QStringLiteral("(ohne Namen)");
            WriteLine(S.Out, QStringLiteral("%1\t%2\t%3 dBm")
                                 .arg(name, QString::fromStdString(s.Device->Address()),
                                      QString::number(s.Rssi)));
        }
    }
    if (seen.empty())
        WriteLine(S.Err, QStringLiteral("Keine Drucker gefunden."));
}
