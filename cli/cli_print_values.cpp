#include "cli/cli_print_values.h"
#include "model/mono_convert.h"

#include "cli/cli_args.h"
#include "cli/cli_error.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

QString ProtocolName(TCliProtocol P)
{
    return P == TCliProtocol::V5X ? QStringLiteral("v5x") : QStringLiteral("v5g");
}

} // namespace

uint8_t TCliPrintValues::V5XDensityPercent() const
{
    // Clamped before narrowing: 300 from the file must mean 100, not 44.
    return static_cast<uint8_t>(std::clamp(Settings.V5XDensity, 0, 100));
}

int TCliPrintValues::GapDots() const
{
    return GapMmToDots(Settings.GapMm);
}

TCliPrintValues CliPrintValues(const TCliArgs& A, const TCliProtocol* ProtocolFixed)
{
    TCliPrintValues v;
    v.Settings.Load();
    TAppSettings& s = v.Settings;

    v.Protocol = s.Protocol == 1 ? TCliProtocol::V5X : TCliProtocol::V5G;
    if (const std::optional<QString> p = A.Value(QStringLiteral("--protocol"))) {
        const QString name = p->trimmed().toLower();
        if (name == QStringLiteral("v5g"))
            v.Protocol = TCliProtocol::V5G;
        else if (name == QStringLiteral("v5x"))
            v.Protocol = TCliProtocol::V5X;
        else
            throw ECliUsage(QStringLiteral("--protocol erwartet v5g oder v5x, nicht \"%1\"").arg(*p).toStdString(),
                            A.Command.toStdString());
        if (ProtocolFixed && *ProtocolFixed != v.Protocol)
            throw ECliUsage(QStringLiteral("Der gewählte Drucker spricht %1; --protocol %2 passt nicht dazu")
                                .arg(ProtocolName(*ProtocolFixed).toUpper(), name)
                                .toStdString(),
                            A.Command.toStdString());
    }
    if (ProtocolFixed)
        v.Protocol = *ProtocolFixed;
    s.Protocol = v.Protocol == TCliProtocol::V5X ? 1 : 0;

    v.Copies = A.Int(QStringLiteral("--copies"), 1, kCliMaxCopies, 1);
    s.Energy = A.Int(QStringLiteral("--energy"), 1000, 65535, s.Energy);
    if (v.Protocol == TCliProtocol::V5X)
        s.V5XDensity = A.Int(QStringLiteral("--density"), 0, 100, s.V5XDensity);
    else
        s.Density = A.Int(QStringLiteral("--density"), 0, 200, s.Density);
    s.Quality = A.Int(QStringLiteral("--quality"), 1, 5, s.Quality);
    s.Speed = A.Int(QStringLiteral("--speed"), 1, 255, s.Speed);
    s.FeedMm = A.Int(QStringLiteral("--feed-mm"), 0, 60, s.FeedMm);
    s.GapMm = A.Int(QStringLiteral("--gap-mm"), 0, 60, s.GapMm);
    s.PacketSize = A.Int(QStringLiteral("--packet-size"), 20, 512, s.PacketSize);
    s.IntervalMs = A.Int(QStringLiteral("--pause-ms"), 0, 200, s.IntervalMs);
    return v;
}
