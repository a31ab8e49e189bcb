#pragma once
// One printer link for one command-line run. Finds the printer by its
// address, connects, runs a print job and reports on standard error as the
// editor does in its status line: progress, the printer's warnings and head
// temperature, the cool-down and energy lines of V5G jobs, and the link's log
// when something fails.
//
// The link raises its events on backend and worker threads and posts them to
// the main thread's event loop; the session runs that loop while it waits.

#include "ble/nimbo_ble.h"
#include "cli/cli_output.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QEventLoop;
class TAppSettings;

class TCliPrinterSession {
public:
    TCliPrinterSession(TCliStreams& AStreams, TBleManager* AManager);
    ~TCliPrinterSession();
    TCliPrinterSession(const TCliPrinterSession&) = delete;
    TCliPrinterSession& operator=(const TCliPrinterSession&) = delete;

    TNimboBle& Link() { return *FLink; }

    // Packet size, pause and temperature handling of the settings.
    void ApplySettings(const TAppSettings& Settings);

    // Scans up to ScanMs for the device with Address (any case), with
    // NameFilter as the scan's name prefix, and connects to it. Raises with
    // the link's message, after writing the link's log, when it fails.
    void Connect(const QString& Address, const QString& NameFilter, uint32_t ScanMs);

    // Sends the V5G state request, as the editor does after connecting, and
    // waits up to WaitMs for the answer, so that warnings appear before the
    // job and the job knows the head temperature. Errors are ignored: the
    // job itself reports a link that does not work.
    void RequestState(int WaitMs);

    // Starts a job with Start (which calls one of the link's print
    // operations) and waits for its end. Raises "Druck fehlgeschlagen: …"
    // when the job fails, or the link's message when it refuses to start.
    // An interrupt (cli_interrupt.h) cancels the job, which then fails with
    // "Abgebrochen"; while scanning or connecting it raises "Abgebrochen".
    // Last: the run ends with this job and says "Fertig gedruckt."; a job
    // of a batch before the last stays silent.
    void Print(const std::function<void(TNimboBle&)>& Start, bool Last = true);
    // The bar shows Percent(sent, total) of each job's bytes instead of the
    // job's own share, so a batch of jobs fills one bar.
    void SetProgressPercent(std::function<int(int64_t, int64_t)> Percent) { FPercent = std::move(Percent); }

    // What a report of the connection needs: the link's log and every
    // notification, each with the milliseconds since the session began, and
    // the device found by Connect (also when connecting failed).
    struct TStamped {
        qint64 Ms;
        QString Text;
    };
    const std::vector<TStamped>& LogLines() const { return FStampedLog; }
    const std::vector<TStamped>& Notifications() const { return FStampedNotes; }
    TBleDevice* FoundDevice() const { return FFound; }
    qint64 SinceStart() const { return FClock.elapsed(); }

    // Scans for Ms milliseconds, or until an interrupt, and calls Found for every report.
    void Scan(const QString& NamePrefix, uint32_t Ms, const std::function<void(TBleDevice*, int32_t)>& Found);

private:
    enum class TWaitEnd { Done, Timeout, Interrupted };
    // Runs the event loop until Done holds, Ms have passed (0: no limit) or,
    // unless a job runs, an interrupt came. While a job runs, an interrupt
    // cancels it and the wait goes on until the job reports its end.
    TWaitEnd WaitUntil(const std::function<bool()>& Done, int Ms);
    void Wake();
    void Notify(const std::vector<uint8_t>& Data);
    void Warn(const QString& Text);
    void WriteLog();
    // Why the scan did not start, in the link's words for the cause.
    std::string ScanFailure() const;

    TCliStreams& FStreams;
    std::unique_ptr<TNimboBle> FLink;
    TProgressBar FBar;
    QEventLoop* FLoop = nullptr;

    QString FWantedAddress;
    TBleDevice* FFound = nullptr;
    bool FScanFailed = false;
    bool FConnectDone = false;
    bool FConnectOk = false;
    std::string FConnectMsg;
    bool FPrinting = false;    // a job has been started and has not reported its end
    bool FCancelSent = false;
    bool FPrintDone = false;
    bool FPrintOk = false;
    std::string FPrintMsg;
    QStringList FLog;
    int FLastTemp = -1;
    int FLastState = -1;
    int FNotifications = 0;
    std::function<void(TBleDevice*, int32_t)> FOnFound;
    std::function<int(int64_t, int64_t)> FPercent;
    QElapsedTimer FClock;
    std::vector<TStamped> FStampedLog;
    std::vector<TStamped> FStampedNotes;
};
