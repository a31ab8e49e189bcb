#pragma once
// The Bluetooth LE central operations the printer link relies on. Backends
// (BlueZ over D-Bus, the simulated printers) implement these; nothing above
// the link touches a backend directly.
//
// Lifetime: the manager owns every device, service and characteristic object
// it hands out and keeps them until it is destroyed, so one physical device is
// always the same TBleDevice* for the whole run. After a disconnect, old
// services and characteristics stay valid objects; their operations answer
// false.
//
// Threads: callbacks of TBleListener arrive on backend threads. All blocking
// calls may be made from any thread except the backend's own callback thread.

#include <cstdint>
#include <string>
#include <vector>

enum TBleCharProp : uint32_t {
    cpRead = 1u << 0,
    cpWrite = 1u << 1,
    cpWriteWithoutResponse = 1u << 2,
    cpNotify = 1u << 3,
    cpIndicate = 1u << 4,
};

class TBleCharacteristic {
public:
    virtual ~TBleCharacteristic() = default;
    // Full 128-bit UUID in lower case, e.g. "0000ae01-0000-1000-8000-00805f9b34fb".
    virtual std::string Uuid() const = 0;
    // Bit set of TBleCharProp.
    virtual uint32_t Properties() const = 0;
    // Subscribes to or unsubscribes from notifications; true when the backend accepted.
    virtual bool SetNotify(bool enable) = 0;
    // Writes one packet. Returns once the platform has taken it (with or without
    // response, the backend's choice from the properties); true when accepted.
    virtual bool Write(const std::vector<uint8_t>& value) = 0;
    // The ATT MTU the connection negotiated, as the platform reports it; 0 when
    // unknown. A packet may carry at most Mtu() - 3 bytes.
    virtual int Mtu() const { return 0; }
};

class TBleService {
public:
    virtual ~TBleService() = default;
    virtual std::string Uuid() const = 0;
    virtual std::vector<TBleCharacteristic*> Characteristics() const = 0;
    // Look-up by full UUID, case-insensitive; nullptr when absent.
    TBleCharacteristic* FindCharacteristic(const std::string& uuid) const;
};

class TBleDevice {
public:
    virtual ~TBleDevice() = default;
    virtual std::string Name() const = 0;     // UTF-8, may be empty
    virtual std::string Address() const = 0;  // "AA:BB:CC:DD:EE:FF"
    // Connects and discovers the GATT services. True means the request was
    // accepted; completion is reported by TBleListener::ServicesDiscovered.
    virtual bool DiscoverServices() = 0;
    // Valid after ServicesDiscovered; empty while not connected.
    virtual std::vector<TBleService*> Services() const = 0;
    virtual void Disconnect() = 0;
    // Why the last DiscoverServices failed, as the platform names it
    // ("org.bluez.Error.Failed"); empty when it did not fail or gave no name.
    virtual std::string LastError() const { return {}; }
    // True when the platform has forgotten the device (it was only known from
    // a scan that is long over); only a new scan brings it back.
    virtual bool Gone() const { return false; }
};

class TBleListener {
public:
    virtual ~TBleListener() = default;
    // May report the same device several times during one scan.
    virtual void DeviceDiscovered(TBleDevice* device, int rssi) = 0;
    virtual void ServicesDiscovered(TBleDevice* device) = 0;
    // One call per notification; value is that notification's payload.
    virtual void CharacteristicChanged(TBleDevice* device, TBleCharacteristic* characteristic,
                                       const std::vector<uint8_t>& value) = 0;
};

// Why Bluetooth cannot be used, as far as the platform tells.
enum class TBleState {
    bsReady,
    bsNoBus,        // the system's message bus is not reachable
    bsNoService,    // the Bluetooth service does not run
    bsNoAdapter,
    bsPoweredOff,
    bsAccessDenied, // the platform's policy refuses this user
    bsUnknown,
};

class TBleManager {
public:
    virtual ~TBleManager() = default;
    // The listener that receives every callback; nullptr detaches. Set before
    // scanning. After SetListener(nullptr) returns, no callback is running or
    // will start.
    virtual void SetListener(TBleListener* listener) = 0;
    // False when scanning did not start (Bluetooth off, no adapter, no permission).
    // The scan stops by itself after timeoutMs.
    virtual bool StartDiscovery(uint32_t timeoutMs) = 0;
    virtual void CancelDiscovery() = 0;
    // Asks the platform whether Bluetooth is usable now (blocking).
    virtual TBleState State() { return TBleState::bsReady; }
    // Switches a powered-off adapter on; true when the platform accepted.
    virtual bool PowerOn() { return false; }
};
