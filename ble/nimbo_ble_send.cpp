// Notifications, sending with flow control, and the print jobs.
#include "ble/nimbo_ble.h"

#include "ble/gatt_text.h"
#include "ble/link_messages.h"
#include "protocol/notifications.h"
#include "protocol/v5g_job.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace {
constexpr uint32_t kFlowWaitMs = 15000;
constexpr uint32_t kStartAckWaitMs = 5000;
constexpr uint32_t kDensitySettleMs = 60;
constexpr uint64_t kTempMaxAgeMs = 180000;
constexpr int32_t kProgressEvery = 16;

// Nearest integer, halves to the even neighbour (default rounding mode).
double RoundHalfEven(double V)
{
    return std::nearbyint(V);
}

std::string Fmt(int32_t V)
{
    return std::to_string(V);
}
} // namespace

// --- notifications (backend thread) -----------------------------------------

void TNimboBle::DeviceCharacteristicRead(TBleDevice* Device, TBleCharacteristic* Characteristic,
                                         const std::vector<uint8_t>& Value)
{
    if (!Characteristic)
        return;
    std::string notifyUuid;
    {
        std::lock_guard lock(FLock);
        if (!FNotifyChar || Device != FDevice)
            return;
        notifyUuid = FNotifyUuid;
    }
    if (!NbSameUuid(Characteristic->Uuid(), notifyUuid))
        return;

    std::vector<uint8_t> data = Value;
    const uint8_t flow = NbFlowControl(data);
    if (flow == NbFlowPause || flow == NbFlowResume) {
        // Decided under the lock that Disconnect and CancelSending set the gate
        // under: a pause that comes after them must not close it again.
        std::lock_guard lock(FLock);
        if (Device != FDevice)
            return;
        if (flow == NbFlowResume)
            FCanWrite.Set();
        else if (!FCancelled.load())
            FCanWrite.Reset();
    }
    int32_t temp = 0;
    if (NbParseTemperature(data, temp)) {
        FLastTempTick.store(FTime->TickMs());
        FLastTemp.store(temp);
    }
    bool ok = false;
    if (NbParseV5XStartAck(data, ok)) {
        FStartAckOk.store(ok);
        FStartAck.Set();
    }
    Queue([this, alive = FAlive, data = std::move(data)] {
        if (!*alive)
            return;
        if (TNbBytesEvent handler = FOnNotify)
            handler(this, data);
    });
}

int32_t TNimboBle::Temperature() const
{
    // Temperature first: the handler stores the tick before it, so a fresh
    // temperature never comes with an older tick.
    const int32_t temp = FLastTemp.load();
    const uint64_t tick = FLastTempTick.load();
    if (temp < 0)
        return temp;
    const uint64_t now = FTime->TickMs();
    if (now > tick && now - tick > kTempMaxAgeMs)
        return -1;
    return temp;
}

uint16_t TNimboBle::CompensateEnergy(uint16_t Energy, int32_t TempC)
{
    double factor = 1.0;
    if (TempC >= 70)
        factor = 0.5;
    else if (TempC >= 65)
        factor = 0.6;
    else if (TempC >= 60)
        factor = 0.7;
    else if (TempC >= 55)
        factor = 0.8;
    else if (TempC >= 50)
        factor = 0.9;
    const double scaled = RoundHalfEven(static_cast<double>(Energy) * factor);
    const double floor = std::min<double>(Energy, 10000);
    return static_cast<uint16_t>(std::max(scaled, floor));
}

// --- sending -----------------------------------------------------------------

TNimboBle::TJobTarget TNimboBle::EnsureReady() const
{
    std::lock_guard lock(FLock);
    if (!(FDevice && FCmdChar && FDataChar))
        throw std::runtime_error(kMsgNotReady);
    return TJobTarget{FGeneration, FCmdChar, FDataChar};
}

void TNimboBle::WritePacket(TBleCharacteristic* Characteristic, const std::vector<uint8_t>& Bytes,
                            uint64_t Generation)
{
    if (!Characteristic->Write(Bytes)) {
        // A write refused because the device went away says so.
        CheckLink(Generation);
        throw std::runtime_error(kMsgWriteFailed);
    }
}

void TNimboBle::SendData(TBleCharacteristic* Characteristic, const std::vector<uint8_t>& Data, uint64_t Generation)
{
    if (Data.size() > static_cast<size_t>(INT32_MAX))
        throw std::overflow_error(kMsgTooLarge);
    const int32_t total = static_cast<int32_t>(Data.size());
    DoProgress(0, total);
    int32_t sent = 0;
    int32_t packets = 0;
    std::vector<uint8_t> packet;
    while (sent < total) {
        // A pause that arrives after a cancel must not hold the cancelled job.
        if (FCancelled.load())
            throw std::runtime_error(kMsgCancelled);
        const bool mayWrite = FTime->Wait(FCanWrite, kFlowWaitMs);
        CheckLink(Generation);
        if (!mayWrite)
            throw std::runtime_error(kMsgFlowTimeout);
        if (FCancelled.load())
            throw std::runtime_error(kMsgCancelled);
        const int32_t n = std::min(PacketBytes(), total - sent);
        packet.assign(Data.begin() + sent, Data.begin() + sent + n);
        WritePacket(Characteristic, packet, Generation);
        sent += n;
        ++packets;
        if (packets % kProgressEvery == 0 || sent == total)
            DoProgress(sent, total);
        const int32_t interval = FIntervalMs.load();
        if (interval >= 1)
            Sleep(static_cast<uint32_t>(interval));
    }
}

int32_t TNimboBle::PacketBytes()
{
    // Settings files can hold anything; a packet needs at least one byte to advance.
    const int32_t wanted = std::max(FPacketSize.load(), 1);
    const int32_t limit = FPacketLimit.load();
    if (limit <= 0 || wanted <= limit)
        return wanted;
    if (!FLimitLogged.exchange(true))
        Log("Paketgröße auf " + Fmt(limit) + " Byte begrenzt (MTU " + Fmt(FMtu.load()) + ")");
    return limit;
}

void TNimboBle::SendCommand(const std::vector<uint8_t>& Cmd)
{
    const TJobTarget target = EnsureReady();
    const size_t total = Cmd.size();
    size_t sent = 0;
    std::vector<uint8_t> piece;
    while (sent < total) {
        const size_t n = std::min(static_cast<size_t>(PacketBytes()), total - sent);
        piece.assign(Cmd.begin() + sent, Cmd.begin() + sent + n);
        WritePacket(target.Cmd, piece, target.Generation);
        sent += n;
        const int32_t interval = FIntervalMs.load();
        if (sent < total && interval > 0)
            Sleep(static_cast<uint32_t>(interval));
    }
}

void TNimboBle::StartJob(std::function<void(const TJobTarget&)> Body)
{
    const TJobTarget target = EnsureReady();
    AcquireBusy();
    // Reset here, not on the worker: a cancel that comes between this call
    // and the worker's first step belongs to this job and must not be lost.
    FCancelled.store(false);
    FCanWrite.Set();
    StartWorker([target, Body = std::move(Body)] { Body(target); }, FOnPrintDone);
}

void TNimboBle::PrintV5G(const TNbMonoImage& Mono, const TNbV5GParams& Params)
{
    StartJob([this, Mono, Params](const TJobTarget& target) {
        TNbV5GParams p = Params;
        if (FAutoTemperature.load()) {
            const int32_t t = Temperature();
            const int32_t coolDownMs = FCoolDownMs.load();
            // Without a reading there is nothing to wait for.
            if (t >= 0 && t >= FCoolDownTemp.load() && coolDownMs > 0) {
                Log("Kopftemperatur " + Fmt(t) + " °C – warte " + Fmt(coolDownMs / 1000) + " s zum Abkühlen …");
                Sleep(static_cast<uint32_t>(coolDownMs));
                CheckLink(target.Generation);
                if (FCancelled.load())
                    throw std::runtime_error(kMsgCancelled);
            }
            if (t >= 0 && p.Energy != 0) {
                const uint16_t e = CompensateEnergy(p.Energy, t);
                p.Energy = e;
                if (e != Params.Energy)
                    Log("Kopftemperatur " + Fmt(t) + " °C: Energie " + Fmt(Params.Energy) + " → " + Fmt(e));
            }
        }
        const std::vector<uint8_t> job = NbV5GBuildJob(Mono, p);
        SendData(target.Data, job, target.Generation);
    });
}

void TNimboBle::PrintV5GRaw(const std::vector<uint8_t>& Job)
{
    StartJob([this, Job](const TJobTarget& target) { SendData(target.Data, Job, target.Generation); });
}

void TNimboBle::PrintV5X(const TNbV5XJob& Job)
{
    StartJob([this, Job](const TJobTarget& target) {
        if (!Job.DensityCmd.empty()) {
            WritePacket(target.Cmd, Job.DensityCmd, target.Generation);
            Sleep(kDensitySettleMs);
        }
        // Only an answer to this start command counts.
        FStartAck.Reset();
        CheckLink(target.Generation);
        WritePacket(target.Cmd, Job.StartCmd, target.Generation);
        const bool answered = FTime->Wait(FStartAck, kStartAckWaitMs);
        CheckLink(target.Generation);
        if (!answered)
            throw std::runtime_error(kMsgNoStartAck);
        if (!FStartAckOk.load())
            throw std::runtime_error(kMsgStartRefused);
        SendData(target.Data, Job.ImageData, target.Generation);
        WritePacket(target.Cmd, Job.EndCmd, target.Generation);
    });
}

void TNimboBle::CancelSending()
{
    std::lock_guard lock(FLock);
    FCancelled.store(true);
    FCanWrite.Set();
}
