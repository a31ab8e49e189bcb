// Scanning, connecting and choosing the printer's characteristics.
#include "ble/nimbo_ble.h"

#include "ble/ble_state_text.h"
#include "ble/gatt_text.h"
#include "ble/name_case.h"
#include "ble/link_messages.h"

#include <stdexcept>

namespace {
constexpr const char* kUuidAe01 = "0000AE01-0000-1000-8000-00805F9B34FB";
constexpr const char* kUuidAe02 = "0000AE02-0000-1000-8000-00805F9B34FB";
constexpr const char* kUuidAe03 = "0000AE03-0000-1000-8000-00805F9B34FB";
constexpr uint32_t kDiscoveryWaitMs = 10000;
constexpr uint32_t kRetryPauseMs = 1500;
constexpr int kAttempts = 3;

bool StartsWith(const std::string& S, const std::string& Prefix)
{
    return S.compare(0, Prefix.size(), Prefix) == 0;
}
} // namespace

void TNimboBle::StartScan(const std::string& NameFilter, uint32_t TimeoutMs)
{
    {
        std::lock_guard lock(FLock);
        FNameFilter = NbUpperName(NameFilter);
    }
    if (FManager && FManager->StartDiscovery(TimeoutMs)) {
        std::lock_guard lock(FLock);
        FScanProblem.clear();
        FScanState = TBleState::bsReady;
        return;
    }
    Log(kMsgScanFailed);
    // The platform knows better why; its sentence goes to the log and to whoever asks.
    const TBleState state = FManager ? FManager->State() : TBleState::bsNoAdapter;
    const std::string text = NbBleStateText(state == TBleState::bsReady ? TBleState::bsUnknown : state);
    if (text != kMsgScanFailed)
        Log(text);
    std::lock_guard lock(FLock);
    FScanProblem = text;
    FScanState = state == TBleState::bsReady ? TBleState::bsUnknown : state;
}

std::string TNimboBle::ScanProblem() const
{
    std::lock_guard lock(FLock);
    return FScanProblem;
}

TBleState TNimboBle::ScanState() const
{
    std::lock_guard lock(FLock);
    return FScanState;
}

bool TNimboBle::PowerOn()
{
    return FManager && FManager->PowerOn();
}

void TNimboBle::StopScan()
{
    if (FManager)
        FManager->CancelDiscovery();
}

void TNimboBle::ManagerDiscoverDevice(TBleDevice* Device, int32_t Rssi)
{
    if (!Device)
        return;
    std::string filter;
    {
        std::lock_guard lock(FLock);
        filter = FNameFilter;
    }
    // A device without a name never passes a filter.
    if (!filter.empty() && !StartsWith(NbUpperName(Device->Name()), filter))
        return;
    Queue([this, alive = FAlive, Device, Rssi] {
        if (!*alive)
            return;
        if (TNbDeviceFoundEvent handler = FOnDeviceFound)
            handler(this, Device, Rssi);
    });
}

void TNimboBle::DeviceServicesDiscovered(TBleDevice* Device)
{
    std::lock_guard lock(FLock);
    // A late report of a device we no longer connect to must not end the wait.
    if (Device == FDevice)
        FServicesDone.Set();
}

void TNimboBle::Connect(TBleDevice* ADevice)
{
    if (!ADevice)
        throw std::invalid_argument(kMsgNoDevice);
    StopScan();
    // Refuse before touching anything, so a running job keeps its device.
    AcquireBusy();
    uint64_t generation;
    {
        std::lock_guard lock(FLock);
        FDevice = ADevice;
        FCmdChar = FDataChar = FNotifyChar = nullptr;
        FNotifyUuid.clear();
        generation = ++FGeneration;
    }
    FMtu.store(0);
    FPacketLimit.store(0);
    FLimitLogged.store(false);
    StartWorker([this, ADevice, generation] { ConnectWork(ADevice, generation); }, FOnConnected);
}

void TNimboBle::ConnectWork(TBleDevice* ADevice, uint64_t Generation)
{
    try {
        ConnectAttempts(ADevice, Generation);
    } catch (...) {
        ReleaseFailedDevice(ADevice, Generation);
        throw;
    }
}

void TNimboBle::ReleaseFailedDevice(TBleDevice* ADevice, uint64_t Generation)
{
    bool release;
    {
        std::lock_guard lock(FLock);
        // A newer connect to this very device owns the radio link now.
        release = FGeneration == Generation || FDevice != ADevice;
    }
    if (release && !FDestroying.load())
        ADevice->Disconnect();
}

void TNimboBle::ConnectAttempts(TBleDevice* ADevice, uint64_t Generation)
{
    bool found = false;
    for (int attempt = 1; attempt <= kAttempts && !found; ++attempt) {
        FServicesDone.Reset();
        CheckLink(Generation);
        Log("Dienstsuche, Versuch " + std::to_string(attempt) + " …");
        const bool accepted = ADevice->DiscoverServices();
        if (!IsCurrent(Generation)) {
            // Disconnected while the request went out: do not leave the device connected.
            ADevice->Disconnect();
            CheckLink(Generation);
        }
        if (!accepted) {
            const std::string error = ADevice->LastError();
            Log(error.empty() ? std::string("DiscoverServices liefert False")
                              : "DiscoverServices liefert False (" + error + ")");
            // Asking again cannot help: the platform no longer knows the device.
            if (ADevice->Gone())
                throw std::runtime_error(kMsgDeviceGone);
        } else if (!FTime->Wait(FServicesDone, kDiscoveryWaitMs))
            Log("OnServicesDiscovered kam nicht innerhalb von 10 s");
        CheckLink(Generation);
        Log(std::to_string(ADevice->Services().size()) + " Service(s) gemeldet");
        found = SelectCharacteristics(ADevice, Generation);
        if (!found)
            Sleep(kRetryPauseMs);
    }
    CheckLink(Generation);
    if (!found)
        throw std::runtime_error(kMsgNoService);

    TBleCharacteristic* notifyChar;
    TBleCharacteristic* cmdChar;
    TBleCharacteristic* dataChar;
    {
        std::lock_guard lock(FLock);
        notifyChar = FNotifyChar;
        cmdChar = FCmdChar;
        dataChar = FDataChar;
    }
    const bool dataOnCmd = dataChar == cmdChar;
    TakeMtu(cmdChar, dataChar);
    if (!notifyChar->SetNotify(true))
        Log("Warnung: Notifications auf AE02 konnten nicht aktiviert werden");
    // Disconnected during these last steps: that is no connection to report.
    CheckLink(Generation);
    // BlueZ may answer a connect right after a disconnect and drop it a moment
    // later; a device that lost its services by now is not connected.
    if (ADevice->Services().empty())
        throw std::runtime_error(kMsgLinkGone);
    FCanWrite.Set();
    Log("Verbunden mit " + ADevice->Name() + (dataOnCmd ? ", Daten über AE01" : ", Daten über AE03"));
}

bool TNimboBle::SelectCharacteristics(TBleDevice* ADevice, uint64_t Generation)
{
    const std::vector<TBleService*> services = ADevice->Services();
    TBleService* chosen = nullptr;
    for (TBleService* s : services) {
        Log("  Service " + NbUuidLogText(s->Uuid()));
        if (NbUuidFirstFieldIs(s->Uuid(), "0000AE30"))
            chosen = s;
    }
    if (!chosen) {
        // Some firmwares announce the printer characteristics under another service.
        for (TBleService* s : services)
            for (TBleCharacteristic* c : s->Characteristics())
                if (NbUuidFirstFieldIs(c->Uuid(), "0000AE01"))
                    chosen = s;
    }
    if (!chosen) {
        Log("  -> kein Service AE30 gefunden");
        return false;
    }

    TBleCharacteristic* cmd = nullptr;
    TBleCharacteristic* notify = nullptr;
    TBleCharacteristic* dataCandidate = nullptr;
    for (TBleCharacteristic* c : chosen->Characteristics()) {
        const std::string uuid = c->Uuid();
        Log("    Char " + NbUuidLogText(uuid) + "  [" + NbPropertyText(c->Properties()) + "]");
        if (NbUuidFirstFieldIs(uuid, "0000AE01"))
            cmd = c;
        else if (NbUuidFirstFieldIs(uuid, "0000AE02"))
            notify = c;
        else if (NbUuidFirstFieldIs(uuid, "0000AE03"))
            dataCandidate = c;
    }
    if (!cmd)
        cmd = chosen->FindCharacteristic(kUuidAe01);
    if (!notify)
        notify = chosen->FindCharacteristic(kUuidAe02);
    if (!dataCandidate)
        dataCandidate = chosen->FindCharacteristic(kUuidAe03);

    // Only these models take print data on AE03; the others print what arrives on AE01.
    const std::string name = NbUpperAscii(ADevice->Name());
    TBleCharacteristic* data = nullptr;
    if (StartsWith(name, "MXW") || name == "C17")
        data = dataCandidate;
    if (!data)
        data = cmd;

    {
        std::lock_guard lock(FLock);
        if (FGeneration != Generation)
            throw std::runtime_error(kMsgLinkGone);
        FCmdChar = cmd;
        FNotifyChar = notify;
        FDataChar = data;
        FNotifyUuid = notify ? notify->Uuid() : std::string();
    }
    if (cmd && notify)
        return true;
    Log(std::string("  -> AE01 ") + (cmd ? "True" : "False") + ", AE02 " + (notify ? "True" : "False"));
    return false;
}

void TNimboBle::TakeMtu(TBleCharacteristic* Cmd, TBleCharacteristic* Data)
{
    // Below 4 there is no room for a byte: a platform that reports that knows nothing.
    int32_t mtu = 0;
    for (TBleCharacteristic* c : {Cmd, Data}) {
        const int m = c ? c->Mtu() : 0;
        if (m >= 4 && (mtu == 0 || m < mtu))
            mtu = m;
    }
    FMtu.store(mtu);
    FPacketLimit.store(mtu > 0 ? mtu - 3 : 0);
    if (mtu > 0)
        Log("MTU " + std::to_string(mtu) + ": höchstens " + std::to_string(mtu - 3) + " Byte je Paket");
}

void TNimboBle::Disconnect()
{
    TBleDevice* device;
    TBleCharacteristic* notify;
    {
        std::lock_guard lock(FLock);
        if (!FDevice)
            return;
        device = FDevice;
        notify = FNotifyChar;
        FDevice = nullptr;
        FCmdChar = FDataChar = FNotifyChar = nullptr;
        FNotifyUuid.clear();
        ++FGeneration;
        // Under the lock: a pause notification handled a moment later sees the
        // device gone and cannot undo this wake-up.
        WakeWaits();
    }
    FMtu.store(0);
    FPacketLimit.store(0);
    if (notify)
        notify->SetNotify(false);
    device->Disconnect();
}
