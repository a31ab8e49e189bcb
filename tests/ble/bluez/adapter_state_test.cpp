// When Bluetooth cannot be used, the link says why in its own sentence, and a
// powered-off adapter can be switched on; a scan restarted right after a stop
// survives BlueZ's "in progress".

#include "ble/ble_state_text.h"
#include "ble/nimbo_ble.h"
#include "bluez_fixture.h"
#include "bluez_link_fixture.h"

#include <optional>

namespace {

struct TStateCase {
    const char* Name;
    std::function<void(std::optional<TFakeBluez>&, const QString& address)> Arrange;
    bool NoBus;
    TBleState State;
    const char* Sentence;
};

TEST(BluezAdapterState, EachCauseGetsItsOwnSentence)
{
    const std::vector<TStateCase> cases{
        {"kein Adapter", [](std::optional<TFakeBluez>& f, const QString& a) { f.emplace(a); }, false,
         TBleState::bsNoAdapter, "Kein Bluetooth-Adapter gefunden."},
        {"ausgeschaltet", [](std::optional<TFakeBluez>& f, const QString& a) { f.emplace(a); f->AddAdapter(false); },
         false, TBleState::bsPoweredOff, "Bluetooth ist ausgeschaltet."},
        {"kein bluetoothd", [](std::optional<TFakeBluez>&, const QString&) {}, false, TBleState::bsNoService,
         "Der Bluetooth-Dienst läuft nicht (sudo systemctl start bluetooth)."},
        {"kein Systembus", [](std::optional<TFakeBluez>&, const QString&) {}, true, TBleState::bsNoBus,
         "Der Systembus (D-Bus) ist nicht erreichbar – ohne ihn gibt es kein Bluetooth."},
        {"verweigert",
         [](std::optional<TFakeBluez>& f, const QString& a) {
             f.emplace(a);
             f->AddAdapter(true);
             f->SetError("GetManagedObjects", "org.freedesktop.DBus.Error.AccessDenied");
         },
         false, TBleState::bsAccessDenied,
         "Zugriff auf Bluetooth verweigert – der Benutzer braucht die Berechtigung (Gruppe bluetooth oder "
         "polkit-Regel)."},
    };
    for (const TStateCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrivateBus bus;
        std::optional<TFakeBluez> fake;
        c.Arrange(fake, bus.Address());
        const QString address = c.NoBus ? QStringLiteral("unix:path=/nonexistent/pellwerk-bus") : bus.Address();
        TBluezManager manager(address, ShortTimeouts());
        TEventQueue events;
        std::vector<std::string> log;
        {
            TNimboBle link(&manager, events.Poster());
            link.SetOnLog([&](TNimboBle*, const std::string& m) { log.push_back(m); });
            link.StartScan("MX", 1000);
            EXPECT_EQ(link.ScanState(), c.State);
            EXPECT_EQ(link.ScanProblem(), c.Sentence);
            events.RunPending();
        }
        events.RunPending();
        EXPECT_NE(std::find(log.begin(), log.end(), c.Sentence), log.end());
        EXPECT_EQ(NbBleStateText(c.State), c.Sentence);
    }
}

class BluezPower : public TBluezLinkFixture {};

TEST_F(BluezPower, APoweredOffAdapterIsSwitchedOnAndThenScans)
{
    TPrivateBus bus;
    TFakeBluez fake(bus.Address());
    fake.AddAdapter(false);
    TBluezManager manager(bus.Address(), ShortTimeouts());
    TEventQueue events;
    TNimboBle link(&manager, events.Poster());
    link.StartScan("", 1000);
    ASSERT_EQ(link.ScanState(), TBleState::bsPoweredOff);
    EXPECT_TRUE(link.PowerOn());
    EXPECT_TRUE(fake.Powered());
    link.StartScan("", 1000);
    EXPECT_EQ(link.ScanState(), TBleState::bsReady);
    EXPECT_EQ(link.ScanProblem(), "");
    EXPECT_TRUE(fake.Discovering());
    link.StopScan();
    events.RunPending();
}

TEST_F(BluezPower, AScanStartedRightAfterAStopIsTriedOnceMore)
{
    TFakeBehaviour b;
    b.DiscoveryRestartMs = 150;
    Fake->SetBehaviour(b);
    ASSERT_TRUE(Manager->StartDiscovery(60000));
    Manager->CancelDiscovery();
    ASSERT_TRUE(Eventually([&] { return !Fake->Discovering(); }));
    EXPECT_TRUE(Manager->StartDiscovery(60000));
    EXPECT_TRUE(Fake->Discovering());
    // The first, the one refused as in progress, and the retry.
    EXPECT_EQ(Fake->CallCount("StartDiscovery"), 3);
}

} // namespace
