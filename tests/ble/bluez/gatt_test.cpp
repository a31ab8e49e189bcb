// Connecting through service discovery, the GATT objects read from BlueZ,
// notifications, the two write modes, and writes that fail or never end.

#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "bluez_fixture.h"

#include <future>
#include <thread>

namespace {

class BluezGatt : public TBluezFixture {};

const std::vector<uint8_t> kPacket{0x51, 0x78, 0xa3, 0x00, 0x01, 0x00, 0x00, 0x00, 0xff};

TEST_F(BluezGatt, ConnectsAndReadsServicesCharacteristicsAndFlags)
{
    auto printer = std::make_shared<TSimMxwPrinter>("MXW01", "C0:FF:EE:00:00:01", true);
    TBleDevice* device = Discover(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->Services().empty());

    ASSERT_TRUE(device->DiscoverServices());
    ASSERT_TRUE(Listener.WaitResolved(1));
    EXPECT_EQ(Listener.Resolved()[0], device);
    EXPECT_TRUE(printer->IsConnected());

    const auto services = device->Services();
    ASSERT_EQ(services.size(), 1u);
    EXPECT_EQ(services[0]->Uuid(), kSimUuidAe30);
    const auto chars = services[0]->Characteristics();
    ASSERT_EQ(chars.size(), 3u);
    struct TExpect {
        const char* Uuid;
        uint32_t Props;
    };
    const TExpect expected[] = {{kSimUuidAe01, cpWrite | cpWriteWithoutResponse},
                                {kSimUuidAe02, cpNotify},
                                {kSimUuidAe03, cpWriteWithoutResponse}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].Uuid);
        EXPECT_EQ(chars[i]->Uuid(), expected[i].Uuid);
        EXPECT_EQ(chars[i]->Properties(), expected[i].Props);
        EXPECT_EQ(services[0]->FindCharacteristic(expected[i].Uuid), chars[i]);
    }
    EXPECT_EQ(services[0]->FindCharacteristic("0000AE02-0000-1000-8000-00805F9B34FB"), chars[1]);
    EXPECT_EQ(services[0]->FindCharacteristic("0000ae04-0000-1000-8000-00805f9b34fb"), nullptr);
}

TEST_F(BluezGatt, DeliversNotificationsInOrderOnlyWhileSubscribed)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    TBleDevice* device = ConnectTo(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);
    TBleCharacteristic* notify = FindChar(device, kSimUuidAe02);
    TBleCharacteristic* cmd = FindChar(device, kSimUuidAe01);
    ASSERT_NE(notify, nullptr);
    ASSERT_NE(cmd, nullptr);

    EXPECT_FALSE(cmd->SetNotify(true)); // BlueZ refuses: no notify flag
    ASSERT_TRUE(notify->SetNotify(true));
    EXPECT_TRUE(printer->IsSubscribed(kSimUuidAe02));
    // The printer greets a new subscriber with its head temperature.
    ASSERT_TRUE(Listener.WaitNotified(1));
    const size_t greeting = Listener.Notified().size();

    const std::vector<std::vector<uint8_t>> payloads{{0x01}, {0x02, 0x03}, {}, std::vector<uint8_t>(300, 0xab)};
    for (const auto& p : payloads)
        printer->InjectNotification(kSimUuidAe02, p);
    ASSERT_TRUE(Listener.WaitNotified(greeting + payloads.size()));
    const auto got = Listener.Notified();
    for (size_t i = 0; i < payloads.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[greeting + i].Device, device);
        EXPECT_EQ(got[greeting + i].Char, notify);
        EXPECT_EQ(got[greeting + i].Value, payloads[i]);
    }

    ASSERT_TRUE(notify->SetNotify(false));
    EXPECT_FALSE(printer->IsSubscribed(kSimUuidAe02));
}

TEST_F(BluezGatt, WritesWithoutResponseWhereAllowedAndWithResponseOtherwise)
{
    TSimServiceSpec layout{kSimUuidAe30,
                           {{kSimUuidAe01, cpWrite}, {kSimUuidAe02, cpNotify}, {kSimUuidAe03, cpWriteWithoutResponse}}};
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10", std::vector<TSimServiceSpec>{layout});
    TBleDevice* device = ConnectTo(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);

    ASSERT_TRUE(FindChar(device, kSimUuidAe01)->Write(kPacket));
    ASSERT_TRUE(FindChar(device, kSimUuidAe03)->Write({0x00, 0x01}));
    EXPECT_EQ(Fake->WriteTypes(),
              QStringList({QString(kSimUuidAe01) + " request", QString(kSimUuidAe03) + " command"}));
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe01), static_cast<int64_t>(kPacket.size()));
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe03), 2);
}

TEST_F(BluezGatt, RefusedWriteAndRefusedSubscriptionAnswerFalse)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    TSimFaults faults;
    faults.RefuseWrites = true;
    faults.RefuseNotify = true;
    printer->SetFaults(faults);
    TBleDevice* device = ConnectTo(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(FindChar(device, kSimUuidAe01)->Write(kPacket));
    EXPECT_FALSE(FindChar(device, kSimUuidAe02)->SetNotify(true));
}

TEST_F(BluezGatt, AWriteBlueZNeverAnswersEndsWithItsTimeout)
{
    TBleDevice* device = ConnectTo(Fake->AddPrinter(std::make_shared<TSimMxPrinter>()));
    ASSERT_NE(device, nullptr);
    Fake->SetAnswer("WriteValue", TFakeAnswer::Never);
    bool ok = true;
    const long long ms = MsTaken([&] { ok = FindChar(device, kSimUuidAe01)->Write(kPacket); });
    EXPECT_FALSE(ok);
    EXPECT_GE(ms, ShortTimeouts().WriteMs - 100);
    EXPECT_LT(ms, ShortTimeouts().WriteMs + 1000);

    // The next write is not held up by the lost one.
    Fake->SetAnswer("WriteValue", TFakeAnswer::Normal);
    EXPECT_TRUE(FindChar(device, kSimUuidAe01)->Write(kPacket));
}

TEST_F(BluezGatt, ALinkThatBreaksFailsTheWriteInFlightAtOnce)
{
    // A long write timeout shows that the break, not the timeout, ends the write.
    Manager->SetListener(nullptr);
    TBluezTimeouts slow = ShortTimeouts();
    slow.WriteMs = 20000;
    Manager = std::make_unique<TBluezManager>(Bus.Address(), slow);
    Manager->SetListener(&Listener);

    const QString path = Fake->AddPrinter(std::make_shared<TSimMxPrinter>());
    TBleDevice* device = ConnectTo(path);
    ASSERT_NE(device, nullptr);
    TBleCharacteristic* cmd = FindChar(device, kSimUuidAe01);
    TBleCharacteristic* notify = FindChar(device, kSimUuidAe02);
    Fake->SetAnswer("WriteValue", TFakeAnswer::Never);
    auto write = std::async(std::launch::async, [&] { return cmd->Write(kPacket); });
    ASSERT_TRUE(Eventually([&] { return Fake->CallCount("WriteValue") == 1; }));
    const long long ms = MsTaken([&] {
        Fake->DropConnection(path);
        EXPECT_FALSE(write.get());
    });
    EXPECT_LT(ms, 2000);
    // Until services are discovered again, the old objects answer false without asking BlueZ.
    Fake->SetAnswer("WriteValue", TFakeAnswer::Normal);
    EXPECT_FALSE(cmd->Write(kPacket));
    EXPECT_FALSE(notify->SetNotify(true));
    EXPECT_EQ(Fake->CallCount("WriteValue"), 1);
    // Nor does the device list services of a connection that is gone.
    EXPECT_TRUE(device->Services().empty());
}

TEST_F(BluezGatt, DisconnectThenReconnectReusesTheSameObjects)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    const QString path = Fake->AddPrinter(printer);
    TBleDevice* device = ConnectTo(path);
    ASSERT_NE(device, nullptr);
    TBleCharacteristic* cmd = FindChar(device, kSimUuidAe01);

    device->Disconnect();
    EXPECT_FALSE(cmd->Write(kPacket));
    ASSERT_TRUE(Eventually([&] { return !printer->IsConnected(); }));
    // The old objects stay valid but inert, and the device no longer lists them:
    // a reconnect that fails must not find the services of the last connection.
    EXPECT_TRUE(Eventually([&] { return device->Services().empty(); }));

    ASSERT_TRUE(device->DiscoverServices());
    ASSERT_TRUE(Listener.WaitResolved(2));
    EXPECT_EQ(FindChar(device, kSimUuidAe01), cmd);
    EXPECT_TRUE(cmd->Write(kPacket)) << Fake->Calls().join(", ").toStdString();
}

TEST_F(BluezGatt, DiscoveryOfAnAlreadyConnectedDeviceCompletesAtOnce)
{
    TBleDevice* device = ConnectTo(Fake->AddPrinter(std::make_shared<TSimMxPrinter>()));
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->DiscoverServices());
    ASSERT_TRUE(Listener.WaitResolved(2));
    EXPECT_EQ(Fake->CallCount("Connect"), 2);
}

TEST_F(BluezGatt, ADeviceThatNeverResolvesItsServicesGivesNoCompletion)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    TSimFaults faults;
    faults.IgnoreDiscovery = true;
    printer->SetFaults(faults);
    TBleDevice* device = Discover(Fake->AddPrinter(printer));
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->DiscoverServices());
    EXPECT_FALSE(Listener.WaitResolved(1, 500));
    EXPECT_TRUE(device->Services().empty());
}

} // namespace
