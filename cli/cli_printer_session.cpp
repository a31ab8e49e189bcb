#include "cli/cli_printer_session.h"

#include "ble/link_messages.h"
#include "cli/cli_interrupt.h"
#include "protocol/notifications.h"
#include "protocol/v5g_commands.h"
#include "settings/app_settings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <ostream>
#include <stdexcept>

namespace {

constexpr int kInterruptTickMs = 100;

QString Utf8(const std::string& S)
{
    return QString::fromUtf8(S);
}

} // namespace

TCliPrinterSession::TCliPrinterSession(TCliStreams& AStreams, TBleManager* AManager)
    : FStreams(AStreams), FBar(AStreams)
{
    FClock.start();
    TNbPostToMain post = [](std::function<void()> Call) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(Call), Qt::QueuedConnection);
    };
    FLink = std::make_unique<TNimboBle>(AManager, std::move(post));
    FLink->SetOnDeviceFound([this](TNimboBle*, TBleDevice* Device, int32_t Rssi) {
        if (FOnFound)
            FOnFound(Device, Rssi);
        if (!FFound && Device && !FWantedAddress.isEmpty() &&
            Utf8(Device->Address()).compare(FWantedAddress, Qt::CaseInsensitive) == 0)
            FFound = Device;
        Wake();
    });
    FLink->SetOnConnected([this](TNimboBle*, bool Success, const std::string& Msg) {
        FConnectDone = true;
        FConnectOk = Success;
        FConnectMsg = Msg;
        Wake();
    });
    FLink->SetOnPrintDone([this](TNimboBle*, bool Success, const std::string& Msg) {
        FPrintDone = true;
        FPrintOk = Success;
        FPrintMsg = Msg;
        Wake();
    });
    FLink->SetOnProgress([this](TNimboBle*, int32_t Sent, int32_t Total) {
        if (FPercent)
            FBar.Update(FPercent(Sent, Total), 100);
        else
            FBar.Update(Sent, Total);
    });
    FLink->SetOnNotify([this](TNimboBle*, const std::vector<uint8_t>& Data) { Notify(Data); });
    FLink->SetOnLog([this](TNimboBle*, const std::string& Msg) {
        const QString line = Utf8(Msg);
        FLog << line;
        FStampedLog.push_back({FClock.elapsed(), line});
        if (Msg == kMsgScanFailed) {
            FScanFailed = true;
            Wake();
        }
        // The cool-down and energy lines concern the user at once.
        if (line.contains(QStringLiteral("Kopftemperatur")))
            Warn(line);
    });
}

TCliPrinterSession::~TCliPrinterSession()
{
    // The link disconnects when it goes; its queued events check that it is alive.
    FLink.reset();
}

void TCliPrinterSession::ApplySettings(const TAppSettings& Settings)
{
    FLink->SetPacketSize(Settings.PacketSize);
    FLink->SetIntervalMs(Settings.IntervalMs);
    FLink->SetAutoTemperature(Settings.AutoTemp);
}

void TCliPrinterSession::Wake()
{
    if (FLoop)
        FLoop->quit();
}

TCliPrinterSession::TWaitEnd TCliPrinterSession::WaitUntil(const std::function<bool()>& Done, int Ms)
{
    QDeadlineTimer deadline = Ms > 0 ? QDeadlineTimer(Ms) : QDeadlineTimer(QDeadlineTimer::Forever);
    while (!Done()) {
        if (InterruptRequested()) {
            // A running job is asked to stop and reports its end as usual;
            // anything else ends here.
            if (!FPrinting)
                return TWaitEnd::Interrupted;
            if (!FCancelSent) {
                FCancelSent = true;
                Warn(QStringLiteral("Abbruch …"));
                FLink->CancelSending();
            }
        }
        if (deadline.hasExpired())
            return TWaitEnd::Timeout;
        QEventLoop loop;
        QTimer timer;
        if (!deadline.isForever()) {
            timer.setSingleShot(true);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            timer.start(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
        }
        // A signal cannot wake the loop; a short tick looks for one.
        QTimer interruptTick;
        QObject::connect(&interruptTick, &QTimer::timeout, &loop, [&loop] {
            if (InterruptRequested())
                loop.quit();
        });
        interruptTick.start(kInterruptTickMs);
        FLoop = &loop;
        loop.exec();
        FLoop = nullptr;
    }
    return TWaitEnd::Done;
}

void TCliPrinterSession::Warn(const QString& Text)
{
    FBar.Finish();
    WriteLine(FStreams.Err, Text);
}

void TCliPrinterSession::WriteLog()
{
    FBar.Finish();
    if (FLog.isEmpty())
        return;
    WriteLine(FStreams.Err, QStringLiteral("Protokoll der Verbindung:"));
    for (const QString& line : FLog)
        WriteLine(FStreams.Err, QStringLiteral("  ") + line);
}

void TCliPrinterSession::Notify(const std::vector<uint8_t>& Data)
{
    ++FNotifications;
    FStampedNotes.push_back(
        {FClock.elapsed(), QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(Data.data()),
                                                          static_cast<qsizetype>(Data.size()))
                                                   .toHex(' '))});
    Wake();
    int32_t temp = -1;
    if (NbParseTemperature(Data, temp) && temp != FLastTemp) {
        FLastTemp = temp;
        Warn(QStringLiteral("Kopf: %1 °C").arg(temp));
    }
    uint8_t code = 0;
    if (!NbParseStatus(Data, code))
        return;
    // A printer repeats its state with every answer; say each change once.
    const int previous = FLastState;
    FLastState = code;
    if (code == previous)
        return;
    switch (code) {
    case NbStateNoPaper:
        Warn(QStringLiteral("Kein Papier!"));
        break;
    case NbStateOverheated:
        Warn(QStringLiteral("Druckkopf überhitzt – kurz abkühlen lassen"));
        break;
    case NbStateBatteryLow:
        Warn(QStringLiteral("Akku schwach – bitte laden"));
        break;
    default:
        break;
    }
}

void TCliPrinterSession::Connect(const QString& Address, const QString& NameFilter, uint32_t ScanMs)
{
    FWantedAddress = Address;
    FFound = nullptr;
    FScanFailed = false;
    WriteLine(FStreams.Err, QStringLiteral("Suche Drucker %1 …").arg(Address));
    FLink->StartScan(NameFilter.toStdString(), ScanMs);
    const TWaitEnd scan = WaitUntil([this] { return FFound || FScanFailed; }, static_cast<int>(ScanMs) + 500);
    FLink->StopScan();
    if (scan == TWaitEnd::Interrupted)
        throw std::runtime_error(kMsgCancelled);
    if (FScanFailed)
        throw std::runtime_error(ScanFailure());
    if (!FFound)
        throw std::runtime_error(
            QStringLiteral("Drucker %1 nicht gefunden – eingeschaltet und in Reichweite?").arg(Address).toStdString());

    const QString name = Utf8(FFound->Name());
    WriteLine(FStreams.Err, QStringLiteral("Verbinde mit ") + name + QStringLiteral(" …"));
    FConnectDone = false;
    FLink->Connect(FFound);
    if (WaitUntil([this] { return FConnectDone; }, 0) == TWaitEnd::Interrupted)
        throw std::runtime_error(kMsgCancelled);
    if (!FConnectOk) {
        WriteLog();
        throw std::runtime_error(FConnectMsg);
    }
    WriteLine(FStreams.Err, QStringLiteral("Verbunden: ") + name);
}

void TCliPrinterSession::RequestState(int WaitMs)
{
    const int before = FNotifications;
    try {
        FLink->SendCommand(NbV5GGetState());
    } catch (const std::exception&) {
        return;
    }
    if (WaitUntil([this, before] { return FNotifications > before && FLastState >= 0; }, WaitMs) ==
        TWaitEnd::Interrupted)
        throw std::runtime_error(kMsgCancelled);
}

void TCliPrinterSession::Print(const std::function<void(TNimboBle&)>& Start, bool Last)
{
    FPrintDone = false;
    FCancelSent = false;
    Start(*FLink);
    FPrinting = true;
    WaitUntil([this] { return FPrintDone; }, 0);
    FPrinting = false;
    FBar.Finish();
    if (!FPrintOk) {
        WriteLog();
        throw std::runtime_error("Druck fehlgeschlagen: " + FPrintMsg);
    }
    if (Last)
        WriteLine(FStreams.Err, QStringLiteral("Fertig gedruckt."));
}

void TCliPrinterSession::Scan(const QString& NamePrefix, uint32_t Ms,
                              const std::function<void(TBleDevice*, int32_t)>& Found)
{
    FWantedAddress.clear();
    FScanFailed = false;
    FOnFound = Found;
    FLink->StartScan(NamePrefix.toStdString(), Ms);
    // An interrupt ends the scan early; what was found until then counts.
    WaitUntil([this] { return FScanFailed; }, static_cast<int>(Ms));
    FLink->StopScan();
    FOnFound = nullptr;
    if (FScanFailed)
        throw std::runtime_error(ScanFailure());
}

std::string TCliPrinterSession::ScanFailure() const
{
    const std::string problem = FLink->ScanProblem();
    return problem.empty() ? std::string(kMsgScanFailed) : problem;
}
