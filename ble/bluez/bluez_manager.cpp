#include "ble/bluez/bluez_manager.h"

#include "ble/bluez/bluez_backend.h"
#include "ble/bluez/bluez_core.h"

TBluezManager::TBluezManager(const QString& busAddress, const TBluezTimeouts& timeouts)
    : FBackend(std::make_unique<TBluezBackend>(busAddress, timeouts))
{
}

TBluezManager::~TBluezManager() = default;

void TBluezManager::SetListener(TBleListener* listener)
{
    FBackend->SetListener(listener);
}

bool TBluezManager::StartDiscovery(uint32_t timeoutMs)
{
    // Three calls in a row: object list, discovery filter, start.
    return FBackend->Call(3 * FBackend->Timeouts.CallMs, [timeoutMs](TBluezCore& core, const TBluezWaitPtr& wait) {
        core.StartDiscovery(timeoutMs, wait);
    });
}

void TBluezManager::CancelDiscovery()
{
    FBackend->Post([](TBluezCore& core) { core.CancelDiscovery(); });
}
