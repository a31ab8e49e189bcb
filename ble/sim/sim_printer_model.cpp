#include "ble/sim/sim_printer_model.h"

#include "ble/ble_central.h"
#include "ble/gatt_text.h"

#include <algorithm>

namespace {
bool SameUuid(const std::string& A, const std::string& B)
{
    return NbSameUuid(A, B);
}
} // namespace

std::vector<TSimServiceSpec> SimPrinterLayout(bool withData)
{
    TSimServiceSpec s{kSimUuidAe30, {}};
    s.Characteristics.push_back({kSimUuidAe01, cpWrite | cpWriteWithoutResponse});
    s.Characteristics.push_back({kSimUuidAe02, cpNotify});
    if (withData)
        s.Characteristics.push_back({kSimUuidAe03, cpWriteWithoutResponse});
    return {s};
}

TSimPrinterModel::TSimPrinterModel(std::string name, std::string address, std::vector<TSimServiceSpec> services)
    : FName(std::move(name)), FAddress(std::move(address)), FServices(std::move(services))
{
}

TSimPrinterModel::~TSimPrinterModel() = default;

void TSimPrinterModel::SetFaults(const TSimFaults& faults)
{
    std::lock_guard lock(FMutex);
    FFaults = faults;
}

TSimFaults TSimPrinterModel::Faults() const
{
    std::lock_guard lock(FMutex);
    return FFaults;
}

void TSimPrinterModel::SetNotifySink(TNotifySink sink)
{
    std::lock_guard emit(FEmitMutex);
    FNotifySink = std::move(sink);
}

void TSimPrinterModel::SetDropSink(TDropSink sink)
{
    std::lock_guard emit(FEmitMutex);
    FDropSink = std::move(sink);
}

void TSimPrinterModel::Connect()
{
    {
        std::lock_guard lock(FMutex);
        FConnected = true;
        FSubscribed.clear();
        OnConnect();
    }
    Flush(false);
}

void TSimPrinterModel::Disconnect()
{
    std::lock_guard lock(FMutex);
    FConnected = false;
    FSubscribed.clear();
    FOutbox.clear();
}

bool TSimPrinterModel::IsConnected() const
{
    std::lock_guard lock(FMutex);
    return FConnected;
}

bool TSimPrinterModel::HasChar(const std::string& uuid) const
{
    for (const TSimServiceSpec& s : FServices)
        for (const TSimCharSpec& c : s.Characteristics)
            if (SameUuid(c.Uuid, uuid))
                return true;
    return false;
}

bool TSimPrinterModel::SetNotify(const std::string& charUuid, bool enable)
{
    {
        std::lock_guard lock(FMutex);
        if (!FConnected || FFaults.RefuseNotify || !HasChar(charUuid))
            return false;
        auto it = std::find_if(FSubscribed.begin(), FSubscribed.end(),
                               [&](const std::string& u) { return SameUuid(u, charUuid); });
        if (enable && it == FSubscribed.end()) {
            FSubscribed.push_back(charUuid);
            OnSubscribed(charUuid);
        } else if (!enable && it != FSubscribed.end()) {
            FSubscribed.erase(it);
        }
    }
    Flush(false);
    return true;
}

bool TSimPrinterModel::IsSubscribed(const std::string& charUuid) const
{
    std::lock_guard lock(FMutex);
    return std::any_of(FSubscribed.begin(), FSubscribed.end(),
                       [&](const std::string& u) { return SameUuid(u, charUuid); });
}

bool TSimPrinterModel::Write(const std::string& charUuid, const std::vector<uint8_t>& value)
{
    bool dropped = false;
    {
        std::lock_guard lock(FMutex);
        if (!FConnected || FFaults.RefuseWrites || !HasChar(charUuid))
            return false;
        FBytes += static_cast<int64_t>(value.size());
        ++FPackets;
        auto it = std::find_if(FPerChar.begin(), FPerChar.end(),
                               [&](const TCharCount& c) { return SameUuid(c.Uuid, charUuid); });
        if (it == FPerChar.end())
            it = FPerChar.insert(FPerChar.end(), TCharCount{charUuid, 0, {}});
        it->Bytes += static_cast<int64_t>(value.size());
        it->Sizes.push_back(value.size());
        OnPacket(charUuid, value);
        if (FFaults.DropAfterBytes >= 0 && FBytes >= FFaults.DropAfterBytes) {
            // The radio link is gone: whatever the printer still wanted to say is lost.
            FConnected = false;
            FSubscribed.clear();
            FOutbox.clear();
            dropped = true;
        }
    }
    Flush(dropped);
    return true;
}

bool TSimPrinterModel::Pump()
{
    bool worked;
    {
        std::lock_guard lock(FMutex);
        if (!FConnected)
            return false;
        worked = OnPump();
    }
    Flush(false);
    return worked;
}

void TSimPrinterModel::InjectNotification(const std::string& charUuid, const std::vector<uint8_t>& value)
{
    {
        std::lock_guard lock(FMutex);
        NotifyOn(charUuid, value);
    }
    Flush(false);
}

void TSimPrinterModel::Notify(const std::vector<uint8_t>& value)
{
    NotifyOn(kSimUuidAe02, value);
}

void TSimPrinterModel::NotifyOn(const std::string& charUuid, const std::vector<uint8_t>& value)
{
    if (!FConnected)
        return;
    const bool subscribed = std::any_of(FSubscribed.begin(), FSubscribed.end(),
                                        [&](const std::string& u) { return SameUuid(u, charUuid); });
    if (subscribed)
        FOutbox.push_back({charUuid, value});
}

void TSimPrinterModel::Flush(bool dropped)
{
    std::lock_guard emit(FEmitMutex);
    std::vector<TPending> out;
    {
        std::lock_guard lock(FMutex);
        out.swap(FOutbox);
        ++FFlushing;
    }
    if (FNotifySink)
        for (const TPending& p : out)
            FNotifySink(p.CharUuid, p.Value);
    if (dropped && FDropSink)
        FDropSink();
    std::lock_guard lock(FMutex);
    --FFlushing;
}

bool TSimPrinterModel::HasPendingNotifications() const
{
    std::lock_guard lock(FMutex);
    return !FOutbox.empty() || FFlushing > 0;
}

int64_t TSimPrinterModel::BytesWritten() const
{
    std::lock_guard lock(FMutex);
    return FBytes;
}

int64_t TSimPrinterModel::BytesWritten(const std::string& charUuid) const
{
    std::lock_guard lock(FMutex);
    for (const TCharCount& c : FPerChar)
        if (SameUuid(c.Uuid, charUuid))
            return c.Bytes;
    return 0;
}

std::vector<size_t> TSimPrinterModel::PacketSizes(const std::string& charUuid) const
{
    std::lock_guard lock(FMutex);
    for (const TCharCount& c : FPerChar)
        if (SameUuid(c.Uuid, charUuid))
            return c.Sizes;
    return {};
}

int TSimPrinterModel::PacketsWritten() const
{
    std::lock_guard lock(FMutex);
    return FPackets;
}
