#include "ble/bluez/bluez_objects.h"

#include "ble/bluez/bluez_backend.h"
#include "ble/bluez/bluez_core.h"

#include <algorithm>

TBluezCharacteristic::TBluezCharacteristic(TBluezBackend& backend, TBluezDevice& device, QString path,
                                           std::string uuid, uint32_t props)
    : FBackend(backend), FDevice(device), FPath(std::move(path)), FUuid(std::move(uuid)), FProps(props)
{
}

bool TBluezCharacteristic::SetNotify(bool enable)
{
    if (!Live())
        return false;
    return FBackend.Call(FBackend.Timeouts.CallMs, [this, enable](TBluezCore& core, const TBluezWaitPtr& wait) {
        core.SetNotify(*this, enable, wait);
    });
}

bool TBluezCharacteristic::Write(const std::vector<uint8_t>& value)
{
    if (!Live())
        return false;
    QByteArray bytes(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size()));
    return FBackend.Call(FBackend.Timeouts.WriteMs,
                         [this, bytes](TBluezCore& core, const TBluezWaitPtr& wait) { core.Write(*this, bytes, wait); });
}

std::string TBluezDevice::Name() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FName;
}

std::string TBluezDevice::Address() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FAddress;
}

std::vector<TBleService*> TBluezDevice::Services() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FServices;
}

void TBluezDevice::SetName(const std::string& name)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FName = name;
}

void TBluezDevice::SetAddress(const std::string& address)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FAddress = address;
}

void TBluezDevice::SetServices(std::vector<TBleService*> services)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FServices = std::move(services);
}

void TBluezDevice::DropService(const TBleService* service)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FServices.erase(std::remove(FServices.begin(), FServices.end(), service), FServices.end());
}

std::string TBluezDevice::LastError() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FLastError;
}

void TBluezDevice::SetLastError(const std::string& error)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FLastError = error;
}

bool TBluezDevice::DiscoverServices()
{
    // The answer waits for BlueZ's Connect, which may first wait for a
    // disconnect still under way.
    const int budget = FBackend.Timeouts.ConnectMs + FBackend.Timeouts.SettleMs;
    const bool ok = FBackend.Call(budget,
                         [this](TBluezCore& core, const TBluezWaitPtr& wait) { core.DiscoverServices(*this, wait); });
    if (!ok && LastError().empty())
        SetLastError("keine Antwort von BlueZ");
    return ok;
}

void TBluezDevice::Disconnect()
{
    FBackend.Post([this](TBluezCore& core) { core.Disconnect(*this); });
}
