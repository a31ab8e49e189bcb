// diagnose: everything about Bluetooth and one printer that a bug report
// needs, as plain text. Prints on paper only when asked to.
#include "ble/ble_state_text.h"
#include "ble/bluez/bluez_manager.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_printer_session.h"
#include "lineprinter/line_printer.h"
#include "protocol/v5x_job.h"
#include "settings/app_settings.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringList>

#include <stdexcept>

namespace {

constexpr int kStateWaitMs = 3000;

QString Utf8(const std::string& S)
{
    return QString::fromUtf8(S);
}

// bluetoothd tells its version only on its command line.
QString BluetoothdVersion()
{
    for (const char* path : {"/usr/libexec/bluetooth/bluetoothd", "/usr/lib/bluetooth/bluetoothd", "/usr/sbin/bluetoothd"}) {
        if (!QFile::exists(QString::fromLatin1(path)))
            continue;
        QProcess p;
        p.start(QString::fromLatin1(path), {QStringLiteral("--version")});
        if (p.waitForFinished(2000) && p.exitStatus() == QProcess::NormalExit)
            return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }
    return QStringLiteral("unbekannt (bluetoothd nicht gefunden)");
}

QString Stamp(qint64 Ms)
{
    return QStringLiteral("%1 ms").arg(Ms, 7);
}

void WriteReport(const QStringList& Report, const QString& FileName, TCliStreams& S)
{
    const QString text = Report.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (FileName.isEmpty()) {
        S.Out << text.toStdString();
        S.Out.flush();
        return;
    }
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
        throw std::runtime_error(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden (%2).")
                                     .arg(FileName, f.errorString())
                                     .toStdString());
    WriteLine(S.Err, QStringLiteral("Bericht geschrieben: ") + FileName);
}

// The state query of a V5G printer; a V5X printer only shows what it sends by itself.
void ProbePrinter(TCliPrinterSession& Session, const TAppSettings& Settings, QStringList& Report)
{
    TNimboBle& link = Session.Link();
    Report << QStringLiteral("MTU: %1").arg(link.Mtu() > 0 ? QString::number(link.Mtu()) : QStringLiteral("nicht gemeldet"))
           << QStringLiteral("Paketgröße: %1 Byte eingestellt, %2")
                  .arg(link.PacketSize())
                  .arg(link.PacketLimit() > 0 ? QStringLiteral("höchstens %1 Byte je Paket").arg(link.PacketLimit())
                                              : QStringLiteral("keine Grenze gemeldet"));
    if (Settings.Protocol == 0) {
        Report << QStringLiteral("Zustandsabfrage (V5G A3) gesendet bei %1").arg(Stamp(Session.SinceStart()));
        Session.RequestState(kStateWaitMs);
    } else {
        Report << QStringLiteral("V5X: keine Abfrage gesendet; nur was der Drucker von sich aus meldet");
    }
}

void TestPrint(TCliPrinterSession& Session, const TAppSettings& Settings)
{
    const std::u16string text = QStringLiteral("Pellwerk Testdruck %1")
                                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                                    .toStdU16String();
    const TNbMonoImage raster = TNbLinePrinter::TextToMono(text, 384, 32, u"");
    Session.Print([&](TNimboBle& Link) {
        if (Settings.Protocol == 0)
            Link.PrintV5G(raster, TNbV5GParams::MX10());
        else
            Link.PrintV5X(NbV5XBuildJob(raster, Settings.V5XDensity, 0));
    });
}

} // namespace

void CmdDiagnose(const TCliArgs& A, TCliStreams& S)
{
    RequirePlainCount(A, 0, 0, QString());
    TAppSettings settings;
    settings.Load();
    const QString address = A.Value(QStringLiteral("--printer")).value_or(settings.PrinterAddress).trimmed();
    const QString output = A.Value(QStringLiteral("-o")).value_or(QString());
    const int seconds = A.Int(QStringLiteral("--seconds"), 1, 120, 10);

    QStringList report;
    report << QStringLiteral("Pellwerk-Diagnosebericht vom %1").arg(QDateTime::currentDateTime().toString(Qt::ISODate))
           << QStringLiteral("Programm: MIRVO Pellwerk %1").arg(QStringLiteral(PELLWERK_VERSION))
           << QStringLiteral("Qt: %1").arg(QString::fromLatin1(qVersion()))
           << QStringLiteral("bluetoothd: %1").arg(BluetoothdVersion());

    TBluezManager manager;
    const TBleState state = manager.State();
    report << QStringLiteral("Bluetooth: %1")
                  .arg(state == TBleState::bsReady ? QStringLiteral("bereit") : Utf8(NbBleStateText(state)));
    report << QString() << QStringLiteral("== Adapter ==") << manager.Describe(nullptr);

    if (address.isEmpty()) {
        report << QString() << QStringLiteral("Kein Drucker angegeben (--printer ADRESSE) und keiner gespeichert.");
        WriteReport(report, output, S);
        return;
    }

    std::string failure;
    {
        TCliPrinterSession session(S, &manager);
        session.ApplySettings(settings);
        const QString filter = address.compare(settings.PrinterAddress, Qt::CaseInsensitive) == 0 ? settings.PrinterName
                                                                                                  : QString();
        bool connected = false;
        try {
            session.Connect(address, filter, static_cast<uint32_t>(seconds) * 1000u);
            connected = true;
        } catch (const std::exception& e) {
            failure = e.what();
        }
        report << QString() << QStringLiteral("== Drucker %1 ==").arg(address)
               << QStringLiteral("Verbindung: %1 nach %2")
                      .arg(connected ? QStringLiteral("hergestellt") : QStringLiteral("fehlgeschlagen: ") + Utf8(failure),
                           Stamp(session.SinceStart()).trimmed());
        if (connected) {
            try {
                ProbePrinter(session, settings, report);
                if (A.Has(QStringLiteral("--test-print")))
                    TestPrint(session, settings);
            } catch (const std::exception& e) {
                failure = e.what();
                report << QStringLiteral("Fehler: ") + Utf8(failure);
            }
        }
        if (TBleDevice* device = session.FoundDevice())
            report << QString() << QStringLiteral("== Eigenschaften, Dienste und Merkmale ==") << manager.Describe(device);

        report << QString() << QStringLiteral("== Benachrichtigungen des Druckers ==");
        if (session.Notifications().empty())
            report << QStringLiteral("(keine)");
        for (const auto& n : session.Notifications())
            report << Stamp(n.Ms) + QStringLiteral("  ") + n.Text;
        report << QString() << QStringLiteral("== Protokoll der Verbindung ==");
        for (const auto& l : session.LogLines())
            report << Stamp(l.Ms) + QStringLiteral("  ") + l.Text;
    }
    WriteReport(report, output, S);
    // The report is written either way; a printer that could not be reached still fails the run.
    if (!failure.empty())
        throw std::runtime_error(failure);
}
