#pragma once
// TNimboBle: the one link to a printer. Scans, connects, picks the printer's
// characteristics, and sends commands and print jobs with the printer's flow
// control. Connecting and printing run on one worker thread at a time; every
// event reaches the main thread through the post function, in order.
//
// All public operations are called on the main thread (the thread that
// created the link). The manager, the post function and the time source must
// outlive the link; one link listens to a manager at a time.

#include "ble/ble_central.h"
#include "ble/link_events.h"
#include "ble/manual_event.h"
#include "ble/time_source.h"
#include "protocol/raster.h"
#include "protocol/v5g_commands.h"
#include "protocol/v5x_job.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TNbLinePrinter;

class TNimboBle {
public:
    // ATime: nullptr uses the steady clock.
    TNimboBle(TBleManager* AManager, TNbPostToMain APost, TTimeSource* ATime = nullptr);
    ~TNimboBle();
    TNimboBle(const TNimboBle&) = delete;
    TNimboBle& operator=(const TNimboBle&) = delete;

    // Scan and connection.
    void StartScan(const std::string& NameFilter, uint32_t TimeoutMs);
    void StopScan();
    // Why the last scan did not start, in a sentence for the user; empty when it did.
    std::string ScanProblem() const;
    TBleState ScanState() const;
    // Switches a powered-off adapter on; true when the platform accepted.
    bool PowerOn();
    void Connect(TBleDevice* ADevice);
    void Disconnect();
    bool IsReady() const;

    // Sending and printing.
    void SendCommand(const std::vector<uint8_t>& Cmd);
    void PrintV5G(const TNbMonoImage& Mono, const TNbV5GParams& Params);
    void PrintV5GRaw(const std::vector<uint8_t>& Job);
    void PrintV5X(const TNbV5XJob& Job);
    void CancelSending();
    // Last head temperature in °C, or -1 (none, or older than three minutes).
    int32_t Temperature() const;

    // Text jobs through PrintV5G.
    void PrintText(const std::u16string& Text, const TNbV5GParams& Params, int32_t CharsPerLine, int32_t Width,
                   const std::u16string& FontName);
    void PrintLines(const TNbLinePrinter& LP, const TNbV5GParams& Params);

    // Properties.
    TBleDevice* Device() const;
    int32_t PacketSize() const { return FPacketSize.load(); }
    void SetPacketSize(int32_t Value) { FPacketSize.store(Value); }
    // What the connection allows per packet (its MTU less 3), 0 while not
    // known; packets are cut to it whatever PacketSize says.
    int32_t PacketLimit() const { return FPacketLimit.load(); }
    int32_t Mtu() const { return FMtu.load(); }
    int32_t IntervalMs() const { return FIntervalMs.load(); }
    void SetIntervalMs(int32_t Value) { FIntervalMs.store(Value); }
    bool AutoTemperature() const { return FAutoTemperature.load(); }
    void SetAutoTemperature(bool Value) { FAutoTemperature.store(Value); }
    int32_t CoolDownTemp() const { return FCoolDownTemp.load(); }
    void SetCoolDownTemp(int32_t Value) { FCoolDownTemp.store(Value); }
    int32_t CoolDownMs() const { return FCoolDownMs.load(); }
    void SetCoolDownMs(int32_t Value) { FCoolDownMs.store(Value); }

    const TNbDeviceFoundEvent& OnDeviceFound() const { return FOnDeviceFound; }
    void SetOnDeviceFound(TNbDeviceFoundEvent Value) { FOnDeviceFound = std::move(Value); }
    const TNbDoneEvent& OnConnected() const { return FOnConnected; }
    void SetOnConnected(TNbDoneEvent Value) { FOnConnected = std::move(Value); }
    const TNbBytesEvent& OnNotify() const { return FOnNotify; }
    void SetOnNotify(TNbBytesEvent Value) { FOnNotify = std::move(Value); }
    const TNbDoneEvent& OnPrintDone() const { return FOnPrintDone; }
    void SetOnPrintDone(TNbDoneEvent Value) { FOnPrintDone = std::move(Value); }
    const TNbLogEvent& OnLog() const { return FOnLog; }
    void SetOnLog(TNbLogEvent Value) { FOnLog = std::move(Value); }
    const TNbProgressEvent& OnProgress() const { return FOnProgress; }
    void SetOnProgress(TNbProgressEvent Value) { FOnProgress = std::move(Value); }

protected:
    // Print energy adapted to the head temperature; never below 10000 unless
    // it already was.
    static uint16_t CompensateEnergy(uint16_t Energy, int32_t TempC);

private:
    class TListener : public TBleListener {
    public:
        explicit TListener(TNimboBle& ALink) : FLink(ALink) {}
        void DeviceDiscovered(TBleDevice* device, int rssi) override;
        void ServicesDiscovered(TBleDevice* device) override;
        void CharacteristicChanged(TBleDevice* device, TBleCharacteristic* characteristic,
                                   const std::vector<uint8_t>& value) override;

    private:
        TNimboBle& FLink;
    };

    // What a job writes to, taken when it starts. Generation tells whether
    // the device has been replaced or released since.
    struct TJobTarget {
        uint64_t Generation = 0;
        TBleCharacteristic* Cmd = nullptr;
        TBleCharacteristic* Data = nullptr;
    };

    // Platform callbacks (backend threads).
    void ManagerDiscoverDevice(TBleDevice* Device, int32_t Rssi);
    void DeviceServicesDiscovered(TBleDevice* Device);
    void DeviceCharacteristicRead(TBleDevice* Device, TBleCharacteristic* Characteristic,
                                  const std::vector<uint8_t>& Value);

    // Events.
    void Queue(std::function<void()> Call);
    void Log(const std::string& Msg);
    void DoProgress(int32_t Sent, int32_t Total);

    // Worker.
    void RunAsync(std::function<void()> Work, const TNbDoneEvent& Done);
    void AcquireBusy();
    void StartWorker(std::function<void()> Work, TNbDoneEvent Done);
    void Sleep(uint32_t Ms);
    bool IsCurrent(uint64_t Generation) const;
    // Raises when the device was released or replaced since Generation, or the link is closing.
    void CheckLink(uint64_t Generation) const;
    void WakeWaits();

    // Connect work.
    void ConnectWork(TBleDevice* ADevice, uint64_t Generation);
    void ConnectAttempts(TBleDevice* ADevice, uint64_t Generation);
    bool SelectCharacteristics(TBleDevice* ADevice, uint64_t Generation);
    void TakeMtu(TBleCharacteristic* Cmd, TBleCharacteristic* Data);
    // After a failed connect: the radio link must not stay up, or the printer
    // stays hidden from everyone.
    void ReleaseFailedDevice(TBleDevice* ADevice, uint64_t Generation);

    // Sending.
    TJobTarget EnsureReady() const;
    void WritePacket(TBleCharacteristic* Characteristic, const std::vector<uint8_t>& Bytes, uint64_t Generation);
    void SendData(TBleCharacteristic* Characteristic, const std::vector<uint8_t>& Data, uint64_t Generation);
    void StartJob(std::function<void(const TJobTarget&)> Body);
    // Bytes for the next packet: the packet size, cut to the connection's limit.
    int32_t PacketBytes();

    TBleManager* FManager;
    TBleDevice* FDevice = nullptr;
    TBleCharacteristic* FCmdChar = nullptr;
    TBleCharacteristic* FDataChar = nullptr;
    TBleCharacteristic* FNotifyChar = nullptr;
    TManualEvent FServicesDone{false};
    TManualEvent FCanWrite{true};
    TManualEvent FStartAck{false};
    std::atomic<bool> FStartAckOk{false};
    std::atomic<bool> FCancelled{false};
    std::atomic<int32_t> FBusy{0};
    std::string FNameFilter;
    std::atomic<int32_t> FPacketSize{20};
    std::atomic<int32_t> FIntervalMs{30};
    TNbDeviceFoundEvent FOnDeviceFound;
    TNbDoneEvent FOnConnected;
    TNbBytesEvent FOnNotify;
    TNbDoneEvent FOnPrintDone;
    TNbLogEvent FOnLog;
    TNbProgressEvent FOnProgress;
    std::atomic<int32_t> FLastTemp{-1};
    std::atomic<uint64_t> FLastTempTick{0};
    std::atomic<bool> FAutoTemperature{true};
    std::atomic<int32_t> FCoolDownTemp{65};
    std::atomic<int32_t> FCoolDownMs{30000};

    // Plumbing of this implementation.
    TNbPostToMain FPost;
    TTimeSource* FTime;
    std::thread::id FMainThread;
    std::shared_ptr<bool> FAlive;       // false once destroyed; queued closures check it
    mutable std::mutex FLock;           // device, characteristics, name filter, generation
    std::string FNotifyUuid;            // UUID of FNotifyChar, compared on every notification
    uint64_t FGeneration = 0;           // bumped whenever the device is replaced or released
    std::string FScanProblem;           // under FLock
    TBleState FScanState = TBleState::bsReady;
    std::atomic<int32_t> FMtu{0};
    std::atomic<int32_t> FPacketLimit{0};
    std::atomic<bool> FLimitLogged{false};
    std::atomic<bool> FDestroying{false};
    TManualEvent FShutdown{false};      // sleeps wait on it, so destruction cuts them short
    TListener FListener{*this};
    std::thread FWorker;
};
