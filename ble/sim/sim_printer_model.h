#pragma once
// A simulated printer as the radio sees it: a name, an address, a GATT layout,
// packets written to its characteristics and notifications coming back.
//
// The model knows nothing about the transport. A host (the in-process
// TSimBleManager, or a fake org.bluez service on a private D-Bus) wires it up:
//   - SetNotifySink: where notifications go (characteristic UUID + payload);
//   - SetDropSink: called when the printer drops the connection by itself;
//   - Connect/Disconnect when the central connects or disconnects;
//   - SetNotify/Write for the central's GATT operations;
//   - Pump whenever the host has nothing else to deliver: it lets the printer
//     get on with buffered work (printing, which drains its buffer and may
//     release a flow-control pause). Pump until it returns false.
//
// Threads: every public member may be called from any thread. Sinks are called
// without the model's lock held, in the order the notifications arose; a sink
// must not call back into the model.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Full lower-case UUIDs of the printer's GATT layout.
inline constexpr const char* kSimUuidAe30 = "0000ae30-0000-1000-8000-00805f9b34fb";
inline constexpr const char* kSimUuidAe01 = "0000ae01-0000-1000-8000-00805f9b34fb";
inline constexpr const char* kSimUuidAe02 = "0000ae02-0000-1000-8000-00805f9b34fb";
inline constexpr const char* kSimUuidAe03 = "0000ae03-0000-1000-8000-00805f9b34fb";

struct TSimCharSpec {
    std::string Uuid;        // full, lower case
    uint32_t Properties = 0; // bit set of TBleCharProp
};

struct TSimServiceSpec {
    std::string Uuid;
    std::vector<TSimCharSpec> Characteristics;
};

// Ways a device can misbehave; all off by default.
struct TSimFaults {
    bool IgnoreDiscovery = false;   // accepts the request but never reports the services
    bool RefuseDiscovery = false;   // refuses the discovery request
    bool RefuseWrites = false;      // every write is refused
    bool RefuseNotify = false;      // refuses to enable notifications
    bool NeverResume = false;       // pauses when the buffer fills and never resumes by itself
    int64_t DropAfterBytes = -1;    // drops the connection once this many bytes were written (-1: never)
    bool MalformedNotifications = false; // answers every state request also with junk: a cut-off
                                         // frame and an oversized (600-byte) notification
};

class TSimPrinterModel {
public:
    using TNotifySink = std::function<void(const std::string& charUuid, const std::vector<uint8_t>& value)>;
    using TDropSink = std::function<void()>;

    TSimPrinterModel(std::string name, std::string address, std::vector<TSimServiceSpec> services);
    virtual ~TSimPrinterModel();
    TSimPrinterModel(const TSimPrinterModel&) = delete;
    TSimPrinterModel& operator=(const TSimPrinterModel&) = delete;

    const std::string& Name() const { return FName; }
    const std::string& Address() const { return FAddress; }
    const std::vector<TSimServiceSpec>& Services() const { return FServices; }

    void SetFaults(const TSimFaults& faults);
    TSimFaults Faults() const;

    void SetNotifySink(TNotifySink sink);
    void SetDropSink(TDropSink sink);

    // Host side of the central's operations.
    void Connect();
    void Disconnect();
    bool IsConnected() const;
    bool SetNotify(const std::string& charUuid, bool enable);
    bool IsSubscribed(const std::string& charUuid) const;
    // False when the write is refused (not connected, unknown characteristic, fault).
    bool Write(const std::string& charUuid, const std::vector<uint8_t>& value);
    bool Pump();

    // Sends any payload as a notification of charUuid, whether the printer
    // would or not (tests of what the central does with odd messages).
    // Only subscribed characteristics of a connected device notify.
    void InjectNotification(const std::string& charUuid, const std::vector<uint8_t>& value);

    // True while notifications are queued or on their way to the sink.
    bool HasPendingNotifications() const;

    // Counters for tests.
    int64_t BytesWritten() const;
    int64_t BytesWritten(const std::string& charUuid) const;
    int PacketsWritten() const;
    // Size of every accepted packet on charUuid, in order.
    std::vector<size_t> PacketSizes(const std::string& charUuid) const;

protected:
    // Called with the model's lock held.
    virtual void OnConnect() {}
    virtual void OnSubscribed(const std::string& charUuid) { (void)charUuid; }
    virtual void OnPacket(const std::string& charUuid, const std::vector<uint8_t>& value) = 0;
    virtual bool OnPump() { return false; }

    // Queues a notification on the notify characteristic AE02 (lock held).
    void Notify(const std::vector<uint8_t>& value);
    void NotifyOn(const std::string& charUuid, const std::vector<uint8_t>& value);
    const TSimFaults& FaultsLocked() const { return FFaults; }
    // Sends what Notify queued (call without the lock). Write, Pump and the
    // other public members do this themselves.
    void Flush(bool dropped = false);

    mutable std::mutex FMutex;

private:
    struct TPending {
        std::string CharUuid;
        std::vector<uint8_t> Value;
    };
    bool HasChar(const std::string& uuid) const;

    const std::string FName;
    const std::string FAddress;
    const std::vector<TSimServiceSpec> FServices;
    TSimFaults FFaults;
    TNotifySink FNotifySink;
    TDropSink FDropSink;
    bool FConnected = false;
    std::vector<std::string> FSubscribed;
    std::vector<TPending> FOutbox;
    int FFlushing = 0;
    struct TCharCount {
        std::string Uuid;
        int64_t Bytes = 0;
        std::vector<size_t> Sizes;
    };
    std::vector<TCharCount> FPerChar;
    int64_t FBytes = 0;
    int FPackets = 0;
    std::mutex FEmitMutex; // keeps notifications in order across threads
};

// The usual layout: service AE30 with AE01 (commands), AE02 (notifications) and,
// when withData, AE03 (print data).
std::vector<TSimServiceSpec> SimPrinterLayout(bool withData);
