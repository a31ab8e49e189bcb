#pragma once
// The device, service and characteristic objects the BlueZ backend hands out.
// They are created and owned by the platform thread's core and live as long
// as the manager; their blocking operations marshal into the platform thread.

#include "ble/ble_central.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class TBluezBackend;
class TBluezDevice;

class TBluezCharacteristic final : public TBleCharacteristic {
public:
    TBluezCharacteristic(TBluezBackend& backend, TBluezDevice& device, QString path, std::string uuid,
                         uint32_t props);

    std::string Uuid() const override { return FUuid; }
    uint32_t Properties() const override { return FProps; }
    bool SetNotify(bool enable) override;
    bool Write(const std::vector<uint8_t>& value) override;
    int Mtu() const override { return FMtu.load(); }

    const QString& Path() const { return FPath; }
    void SetMtu(int mtu) { FMtu.store(mtu); }
    // Platform thread: write commands since the last write that waited for the printer's answer.
    int SinceAnswered = 0;
    TBluezDevice& Device() const { return FDevice; }
    // False once the device disconnected or BlueZ dropped the object; then
    // every operation answers false without asking BlueZ.
    bool Live() const { return FLive.load(); }
    void SetLive(bool live) { FLive.store(live); }

private:
    TBluezBackend& FBackend;
    TBluezDevice& FDevice;
    const QString FPath;
    const std::string FUuid;
    const uint32_t FProps;
    std::atomic<bool> FLive{true};
    std::atomic<int> FMtu{0};
};

class TBluezService final : public TBleService {
public:
    TBluezService(QString path, std::string uuid, std::vector<TBleCharacteristic*> chars)
        : FPath(std::move(path)), FUuid(std::move(uuid)), FChars(std::move(chars)) {}

    std::string Uuid() const override { return FUuid; }
    std::vector<TBleCharacteristic*> Characteristics() const override { return FChars; }
    const QString& Path() const { return FPath; }

private:
    const QString FPath;
    const std::string FUuid;
    const std::vector<TBleCharacteristic*> FChars;
};

class TBluezDevice final : public TBleDevice {
public:
    TBluezDevice(TBluezBackend& backend, QString path) : FBackend(backend), FPath(std::move(path)) {}

    std::string Name() const override;
    std::string Address() const override;
    bool DiscoverServices() override;
    std::vector<TBleService*> Services() const override;
    void Disconnect() override;
    std::string LastError() const override;
    bool Gone() const override { return FGone.load(); }

    const QString& Path() const { return FPath; }
    // Platform thread.
    void SetName(const std::string& name);
    void SetAddress(const std::string& address);
    void SetServices(std::vector<TBleService*> services);
    void DropService(const TBleService* service);
    void SetLastError(const std::string& error);
    void SetGone(bool gone) { FGone.store(gone); }
    // Platform thread only: the connection as BlueZ last told it, and whether
    // a disconnect we asked for has not been confirmed yet.
    bool LinkUp = false;
    bool DownPending = false;
    // The connect request being served; 0 once the caller gave the device up.
    uint64_t Request = 0;

private:
    TBluezBackend& FBackend;
    const QString FPath;
    mutable std::mutex FMutex;
    std::string FName;
    std::string FAddress;
    std::vector<TBleService*> FServices;
    std::string FLastError;
    std::atomic<bool> FGone{false};
};
