// The flow-control gate against a pause that is being handled at the very
// moment Disconnect or CancelSending opens it: the pause must not close the
// gate again, or the job hangs until the flow-control timeout.

#include "link_fixture.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

const std::vector<uint8_t> kPauseMsg = {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF};

// A characteristic that runs a hook when the link first asks for its UUID,
// which the link does after it looked at the device and before it acts on
// the notification.
class TProbeChar : public TBleCharacteristic {
public:
    TProbeChar(TBleCharacteristic* AInner, std::function<void()> AHook) : FInner(AInner), FHook(std::move(AHook)) {}
    std::string Uuid() const override
    {
        if (FHook) {
            auto hook = std::move(FHook);
            FHook = nullptr;
            hook();
        }
        return FInner->Uuid();
    }
    uint32_t Properties() const override { return FInner->Properties(); }
    bool SetNotify(bool enable) override { return FInner->SetNotify(enable); }
    bool Write(const std::vector<uint8_t>& value) override { return FInner->Write(value); }

private:
    TBleCharacteristic* FInner;
    mutable std::function<void()> FHook;
};

// Passes everything through; the next notification arrives through a TProbeChar.
class THookedListener : public TBleListener {
public:
    TBleListener* Outer = nullptr;
    std::function<void()> Hook;
    std::atomic<bool> Armed{false};
    std::atomic<bool> Fired{false};
    void DeviceDiscovered(TBleDevice* d, int rssi) override { Outer->DeviceDiscovered(d, rssi); }
    void ServicesDiscovered(TBleDevice* d) override { Outer->ServicesDiscovered(d); }
    void CharacteristicChanged(TBleDevice* d, TBleCharacteristic* c, const std::vector<uint8_t>& v) override
    {
        if (!Armed.exchange(false)) {
            Outer->CharacteristicChanged(d, c, v);
            return;
        }
        TProbeChar probe(c, Hook);
        Outer->CharacteristicChanged(d, &probe, v);
        Fired.store(true);
    }
};

class THookedManager : public TBleManager {
public:
    explicit THookedManager(TSimBleManager& AInner) : FInner(AInner) {}
    void SetListener(TBleListener* listener) override
    {
        Listener.Outer = listener;
        FInner.SetListener(listener ? &Listener : nullptr);
    }
    bool StartDiscovery(uint32_t timeoutMs) override { return FInner.StartDiscovery(timeoutMs); }
    void CancelDiscovery() override { FInner.CancelDiscovery(); }
    THookedListener Listener;

private:
    TSimBleManager& FInner;
};

TEST(LinkGate, APauseHandledWhileTheGateIsOpenedDoesNotCloseItAgain)
{
    for (const bool disconnect : {true, false}) {
        SCOPED_TRACE(disconnect ? "Disconnect" : "CancelSending");
        TSimBleManager sim;
        THookedManager manager(sim);
        TSimClock clock;
        // Real waiting only: a gate left closed would hold the job, not time it out.
        clock.SetAutoAdvance(false);
        TSimMainQueue main;
        auto printer = std::make_shared<TSimMxPrinter>();
        printer->SetBuffer(500, 100, 100);
        TSimFaults f;
        f.NeverResume = true;
        printer->SetFaults(f);
        TBleDevice* device = sim.AddPrinter(printer);

        std::vector<TDoneRecord> connects, dones;
        TNimboBle link(&manager, main.Poster(), &clock);
        link.SetOnConnected([&](TNimboBle*, bool ok, const std::string& m) { connects.push_back({ok, m}); });
        link.SetOnPrintDone([&](TNimboBle*, bool ok, const std::string& m) { dones.push_back({ok, m}); });
        link.SetIntervalMs(0);
        link.Connect(device);
        ASSERT_TRUE(main.RunUntil([&] { return !connects.empty(); }));
        ASSERT_TRUE(connects[0].Success) << connects[0].Msg;

        link.PrintV5GRaw(std::vector<uint8_t>(5000, 0x00));
        ASSERT_TRUE(main.RunUntil([&] { return printer->Paused(); }));
        manager.Listener.Hook = [&] {
            if (disconnect)
                link.Disconnect();
            else
                link.CancelSending();
        };
        manager.Listener.Armed.store(true);
        printer->InjectNotification(kSimUuidAe02, kPauseMsg);
        ASSERT_TRUE(main.RunUntil([&] { return manager.Listener.Fired.load(); }));

        ASSERT_TRUE(main.RunUntil([&] { return !dones.empty(); }, std::chrono::seconds(5)))
            << "the job still waits for the flow-control gate";
        EXPECT_FALSE(dones[0].Success);
        EXPECT_EQ(dones[0].Msg, disconnect ? "Verbindung zum Drucker wurde getrennt" : "Abgebrochen");
        EXPECT_EQ(clock.Timeouts(), 0);
    }
}

} // namespace
