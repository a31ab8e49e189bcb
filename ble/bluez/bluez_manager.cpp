#include "ble/bluez/bluez_manager.h"

#include "ble/bluez/bluez_backend.h"
#include "ble/bluez/bluez_core.h"
#include "ble/bluez/bluez_objects.h"

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

TBleState TBluezManager::State()
{
    auto state = std::make_shared<TBleState>(TBleState::bsUnknown);
    if (!FBackend->Call(FBackend->Timeouts.CallMs,
                        [state](TBluezCore& core, const TBluezWaitPtr& wait) { core.QueryState(state, wait); }))
        return TBleState::bsUnknown;
    return *state;
}

bool TBluezManager::PowerOn()
{
    // Two calls in a row: object list, then the property.
    return FBackend->Call(2 * FBackend->Timeouts.CallMs,
                          [](TBluezCore& core, const TBluezWaitPtr& wait) { core.PowerOn(wait); });
}

QStringList TBluezManager::Describe(const TBleDevice* device)
{
    const auto* bluezDevice = dynamic_cast<const TBluezDevice*>(device);
    const QString path = bluezDevice ? bluezDevice->Path() : QString();
    auto lines = std::make_shared<QStringList>();
    if (!FBackend->Call(FBackend->Timeouts.CallMs, [path, lines](TBluezCore& core, const TBluezWaitPtr& wait) {
            core.Describe(path, lines, wait);
        }))
        return {};
    return *lines;
}
