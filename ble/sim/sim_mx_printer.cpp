#include "ble/sim/sim_mx_printer.h"

#include "ble/gatt_text.h"
#include "protocol/frame.h"

#include <algorithm>

namespace {
const std::vector<uint8_t> kPause = {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF};
const std::vector<uint8_t> kResume = {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF};
constexpr size_t kOversized = 600;
} // namespace

TSimMxPrinter::TSimMxPrinter(std::string name, std::string address, bool withData)
    : TSimPrinterModel(std::move(name), std::move(address), SimPrinterLayout(withData))
{
}

TSimMxPrinter::TSimMxPrinter(std::string name, std::string address, std::vector<TSimServiceSpec> services)
    : TSimPrinterModel(std::move(name), std::move(address), std::move(services))
{
}

void TSimMxPrinter::SetState(uint8_t state)
{
    std::lock_guard lock(FMutex);
    FState = state;
}

void TSimMxPrinter::SetHeadTemperature(int tempC)
{
    std::lock_guard lock(FMutex);
    FTempC = tempC;
}

void TSimMxPrinter::SetBuffer(int64_t high, int64_t low, int64_t drainPerPump)
{
    std::lock_guard lock(FMutex);
    FHigh = high;
    FLow = low;
    FDrain = drainPerPump;
}

void TSimMxPrinter::Resume()
{
    {
        std::lock_guard lock(FMutex);
        FPaused = false;
        ++FResumes;
        Notify(kResume);
    }
    Flush();
}

void TSimMxPrinter::OnConnect()
{
    FPaused = false;
    FBuffered = 0;
}

void TSimMxPrinter::OnSubscribed(const std::string& charUuid)
{
    if (FTempC >= 0 && NbSameUuid(charUuid, kSimUuidAe02))
        Notify(NbFrame(false, 0xD3, {static_cast<uint8_t>(FTempC)}));
}

void TSimMxPrinter::ReportState()
{
    ++FStateRequests;
    Notify(NbFrame(false, 0xA3, {FState}));
    if (FTempC >= 0)
        Notify(NbFrame(false, 0xD3, {static_cast<uint8_t>(FTempC)}));
    if (FaultsLocked().MalformedNotifications) {
        // A frame cut short, and one far longer than any real notification.
        Notify({0x51, 0x78, 0xD3, 0x00});
        std::vector<uint8_t> big(kOversized, 0xAA);
        big[0] = 0x51;
        big[1] = 0x78;
        big[2] = 0xA3;
        Notify(big);
    }
}

void TSimMxPrinter::OnPacket(const std::string&, const std::vector<uint8_t>& value)
{
    if (FPaused)
        ++FPacketsWhilePaused;
    for (const TSimV5GDecoder::TFrame& f : FDecoder.Feed(value)) {
        FDecoder.Apply(f);
        if (f.Cmd == 0xA3)
            ReportState();
    }
    FBuffered += static_cast<int64_t>(value.size());
    if (!FPaused && FBuffered >= FHigh) {
        FPaused = true;
        ++FPauses;
        Notify(kPause);
    }
}

bool TSimMxPrinter::OnPump()
{
    if (FBuffered == 0)
        return false;
    FBuffered -= std::min(FBuffered, FDrain);
    if (FPaused && FBuffered <= FLow && !FaultsLocked().NeverResume) {
        FPaused = false;
        ++FResumes;
        Notify(kResume);
    }
    return true;
}

std::vector<TSimV5GPrint> TSimMxPrinter::Prints() const
{
    std::lock_guard lock(FMutex);
    return FDecoder.Prints();
}

TSimV5GPrint TSimMxPrinter::Current() const
{
    std::lock_guard lock(FMutex);
    return FDecoder.Current();
}

int TSimMxPrinter::PacketsWhilePaused() const
{
    std::lock_guard lock(FMutex);
    return FPacketsWhilePaused;
}

int TSimMxPrinter::FrameErrors() const
{
    std::lock_guard lock(FMutex);
    return FDecoder.FrameErrors();
}

int TSimMxPrinter::Pauses() const
{
    std::lock_guard lock(FMutex);
    return FPauses;
}

int TSimMxPrinter::Resumes() const
{
    std::lock_guard lock(FMutex);
    return FResumes;
}

bool TSimMxPrinter::Paused() const
{
    std::lock_guard lock(FMutex);
    return FPaused;
}

int TSimMxPrinter::StateRequests() const
{
    std::lock_guard lock(FMutex);
    return FStateRequests;
}
