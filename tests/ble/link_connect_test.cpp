// Scanning, connecting and the choice of the printer's characteristics.
#include "link_fixture.h"

#include "ble/ble_central.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> NamesFound(const TLinkHarness& H)
{
    std::vector<std::string> names;
    for (auto [device, rssi] : H.Found)
        if (std::find(names.begin(), names.end(), device->Name()) == names.end())
            names.push_back(device->Name());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LinkScan, NameFilterIsAnUpperCasedPrefix)
{
    struct Case {
        std::string Filter;
        std::vector<std::string> Expected;
    };
    const std::vector<Case> cases = {
        {"mx", {"MX10", "MXW01", "mx06"}},
        {"MXW", {"MXW01"}},
        {"", {"", "GT01", "MX10", "MXW01", "mx06"}},
        {"C17", {}},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        for (const char* name : {"MX10", "mx06", "MXW01", "GT01", ""})
            h.Manager.AddPrinter(std::make_shared<TSimMxPrinter>(name, std::string("AA:00:00:00:00:0") + name[0]),
                                 -50);
        h.Link->StartScan(c.Filter, 8000);
        h.Settle();
        EXPECT_EQ(NamesFound(h), c.Expected) << "filter " << c.Filter;
        // Every report passes on, repeats included; the simulated radio reports each device twice.
        EXPECT_EQ(h.Found.size(), 2 * c.Expected.size()) << "filter " << c.Filter;
        for (auto [device, rssi] : h.Found)
            EXPECT_EQ(rssi, -50);
    }
}

TEST(LinkScan, NameFilterIgnoresCaseBeyondAscii)
{
    struct Case {
        std::string Filter;
        std::vector<std::string> Expected;
    };
    const std::vector<Case> cases = {
        {"küche", {"KÜCHE-MX"}},
        {"KÜCHE", {"KÜCHE-MX"}},
        {"kuche", {}},
        {"öl", {"Öl-Drucker"}},
        {"принтер", {"ПРИНТЕР 2"}},
        {"straße", {"STRAßE 1"}},  // "ß" has no one-letter capital
        {"ÿ", {"Ÿ"}},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        char tag = 'A';
        for (const char* name : {"KÜCHE-MX", "Öl-Drucker", "ПРИНТЕР 2", "STRAßE 1", "Ÿ"})
            h.Manager.AddPrinter(std::make_shared<TSimMxPrinter>(name, std::string("AA:00:00:00:00:0") + tag++), -50);
        h.Link->StartScan(c.Filter, 8000);
        h.Settle();
        EXPECT_EQ(NamesFound(h), c.Expected) << "filter " << c.Filter;
    }
}

TEST(LinkScan, RefusedScanOnlyLogs)
{
    TLinkHarness h;
    h.Manager.SetDiscoveryRefused(true);
    EXPECT_NO_THROW(h.Link->StartScan("MX", 8000));
    h.Settle();
    EXPECT_EQ(h.Logs, std::vector<std::string>{"StartDiscovery fehlgeschlagen (Bluetooth aus oder keine Berechtigung?)"});
}

TEST(LinkConnect, ConnectsLogsEveryStepAndStopsTheScan)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    TBleDevice* device = h.Manager.AddPrinter(printer);
    const int cancelsBefore = h.Manager.ScansCancelled();

    const TDoneRecord r = h.ConnectAndWait(device);
    EXPECT_TRUE(r.Success);
    EXPECT_EQ(r.Msg, "OK");
    EXPECT_GT(h.Manager.ScansCancelled(), cancelsBefore);
    EXPECT_TRUE(h.Link->IsReady());
    EXPECT_EQ(h.Link->Device(), device);
    EXPECT_TRUE(printer->IsSubscribed(kSimUuidAe02));
    const std::vector<std::string> expected = {
        "Dienstsuche, Versuch 1 …",
        "1 Service(s) gemeldet",
        "  Service {0000AE30-0000-1000-8000-00805F9B34FB}",
        "    Char {0000AE01-0000-1000-8000-00805F9B34FB}  [W WnR]",
        "    Char {0000AE02-0000-1000-8000-00805F9B34FB}  [N]",
        "Verbunden mit MX10, Daten über AE01",
    };
    EXPECT_EQ(h.Logs, expected);
}

TEST(LinkConnect, DataCharacteristicByDeviceName)
{
    struct Case {
        std::string Name;
        bool HasAe03;
        const char* DataUuid;
    };
    const std::vector<Case> cases = {
        {"mxw01", true, kSimUuidAe03},  {"mxw01", false, kSimUuidAe01}, {"MXW01", true, kSimUuidAe03},
        {"C17", true, kSimUuidAe03},    {"c17", true, kSimUuidAe03},    {"C17A", true, kSimUuidAe01},
        {"MX10", true, kSimUuidAe01},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        auto printer = std::make_shared<TSimMxPrinter>(c.Name, "C0:FF:EE:00:00:17", c.HasAe03);
        ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success) << c.Name;
        const std::string via = std::string(", Daten über ") + (c.DataUuid == kSimUuidAe03 ? "AE03" : "AE01");
        EXPECT_TRUE(h.HasLog("Verbunden mit " + c.Name + via)) << c.Name;
        h.Link->SetIntervalMs(0);
        h.Link->PrintV5GRaw(std::vector<uint8_t>(50, 0x00));
        ASSERT_TRUE(h.WaitPrintDone().Success) << c.Name;
        EXPECT_EQ(printer->BytesWritten(c.DataUuid), 50) << c.Name;
    }
}

TEST(LinkConnect, ServiceChosenByFirstFieldOrByItsCommandCharacteristic)
{
    struct Case {
        std::string Label;
        std::vector<TSimServiceSpec> Services;
    };
    const uint32_t w = cpWrite | cpWriteWithoutResponse;
    const std::vector<Case> cases = {
        // The rest of the service UUID does not matter.
        {"odd base", {{"0000180a-0000-1000-8000-00805f9b34fb", {}},
                      {"0000ae30-1234-5678-9abc-def012345678",
                       {{"0000ae01-1234-5678-9abc-def012345678", w},
                        {"0000ae02-1234-5678-9abc-def012345678", cpNotify}}}}},
        // No AE30 at all: the service holding AE01 is taken.
        {"via AE01", {{"0000180a-0000-1000-8000-00805f9b34fb", {}},
                      {"0000ff00-0000-1000-8000-00805f9b34fb",
                       {{kSimUuidAe01, w}, {kSimUuidAe02, cpNotify}}}}},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:30", c.Services);
        EXPECT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success) << c.Label;
        EXPECT_TRUE(h.HasLog("2 Service(s) gemeldet")) << c.Label;
        EXPECT_TRUE(h.Link->IsReady()) << c.Label;
    }
}

TEST(LinkConnect, MissingCharacteristicsFailAfterThreeAttempts)
{
    struct Case {
        std::string Label;
        std::vector<TSimServiceSpec> Services;
        std::string Verdict; // last log line of each attempt
    };
    const std::vector<Case> cases = {
        {"no AE02", {{kSimUuidAe30, {{kSimUuidAe01, cpWrite}}}}, "  -> AE01 True, AE02 False"},
        {"no AE01", {{kSimUuidAe30, {{kSimUuidAe02, cpNotify}}}}, "  -> AE01 False, AE02 True"},
        {"no service", {{"0000180a-0000-1000-8000-00805f9b34fb", {}}}, "  -> kein Service AE30 gefunden"},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:31", c.Services);
        const uint64_t start = h.Clock.TickMs();
        const TDoneRecord r = h.ConnectAndWait(h.Manager.AddPrinter(printer));
        EXPECT_FALSE(r.Success) << c.Label;
        EXPECT_EQ(r.Msg, "Service AE30 / Characteristics AE01+AE02 nicht gefunden (Details im Log)") << c.Label;
        EXPECT_EQ(std::count(h.Logs.begin(), h.Logs.end(), c.Verdict), 3) << c.Label;
        EXPECT_TRUE(h.HasLog("Dienstsuche, Versuch 3 …")) << c.Label;
        // Three pauses of 1.5 s, the last one too.
        EXPECT_EQ(h.Clock.TickMs() - start, 3u * 1500u) << c.Label;
    }
}

TEST(LinkConnect, UnansweredOrRefusedDiscovery)
{
    struct Case {
        std::string Label;
        TSimFaults Faults;
        std::string AttemptLog;
        uint64_t Elapsed;
    };
    TSimFaults ignore;
    ignore.IgnoreDiscovery = true;
    TSimFaults refuse;
    refuse.RefuseDiscovery = true;
    const std::vector<Case> cases = {
        {"silent", ignore, "OnServicesDiscovered kam nicht innerhalb von 10 s", 3u * (10000u + 1500u)},
        {"refused", refuse, "DiscoverServices liefert False", 3u * 1500u},
    };
    for (const Case& c : cases) {
        TLinkHarness h;
        auto printer = std::make_shared<TSimMxPrinter>();
        printer->SetFaults(c.Faults);
        const uint64_t start = h.Clock.TickMs();
        const TDoneRecord r = h.ConnectAndWait(h.Manager.AddPrinter(printer));
        EXPECT_FALSE(r.Success) << c.Label;
        EXPECT_EQ(r.Msg, "Service AE30 / Characteristics AE01+AE02 nicht gefunden (Details im Log)") << c.Label;
        EXPECT_EQ(std::count(h.Logs.begin(), h.Logs.end(), c.AttemptLog), 3) << c.Label;
        EXPECT_EQ(std::count(h.Logs.begin(), h.Logs.end(), "0 Service(s) gemeldet"), 3) << c.Label;
        EXPECT_EQ(h.Clock.TickMs() - start, c.Elapsed) << c.Label;
        EXPECT_FALSE(h.Link->IsReady()) << c.Label;
        // A failed connect keeps the device until the next connect or a disconnect.
        EXPECT_NE(h.Link->Device(), nullptr) << c.Label;
    }
}

TEST(LinkConnect, RefusedNotificationsOnlyWarn)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>();
    TSimFaults f;
    f.RefuseNotify = true;
    printer->SetFaults(f);
    EXPECT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
    EXPECT_TRUE(h.HasLog("Warnung: Notifications auf AE02 konnten nicht aktiviert werden"));
}

TEST(LinkConnect, DisconnectClearsEverythingAndIsHarmlessTwice)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>();
    ASSERT_TRUE(h.ConnectAndWait(h.Manager.AddPrinter(printer)).Success);
    h.Link->Disconnect();
    EXPECT_FALSE(h.Link->IsReady());
    EXPECT_EQ(h.Link->Device(), nullptr);
    EXPECT_FALSE(printer->IsConnected());
    EXPECT_NO_THROW(h.Link->Disconnect());
    EXPECT_THROW(h.Link->SendCommand({0x01}), std::runtime_error);
}

TEST(LinkConnect, ReconnectAfterDisconnectWorks)
{
    TLinkHarness h;
    auto printer = std::make_shared<TSimMxPrinter>();
    TBleDevice* device = h.Manager.AddPrinter(printer);
    ASSERT_TRUE(h.ConnectAndWait(device).Success);
    h.Link->Disconnect();
    ASSERT_TRUE(h.ConnectAndWait(device).Success);
    EXPECT_TRUE(h.Link->IsReady());
}

} // namespace
