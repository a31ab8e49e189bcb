// The printer session of the command line, called directly against
// simulated printers: the printer's warnings, head temperature and energy
// lines as they arrive, and the link's messages and log when a job fails.

#include "cli_fixture.h"

#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "cli/cli_printer_session.h"
#include "protocol/v5x_job.h"
#include "settings/app_settings.h"

#include <sstream>
#include <stdexcept>

namespace {

TNbMonoImage SmallRaster()
{
    TNbMonoImage m;
    m.Init(384, 40, 0);
    for (int y = 0; y < 40; ++y)
        m.SetDot(y * 9, y, 1);
    return m;
}

class CliPrinterSession : public ::testing::Test {
protected:
    std::ostringstream Out;
    std::ostringstream Err;
    TCliStreams Streams{Out, Err, false};
    TSimBleManager Manager;
    TAppSettings Settings;

    void SetUp() override { Settings.IntervalMs = 0; }

    // Connects and prints Raster as a V5G job; returns the failure message, empty on success.
    std::string PrintV5G(TSimMxPrinter& Printer, const std::function<void(TNimboBle&)>& Tune = {})
    {
        TCliPrinterSession session(Streams, &Manager);
        session.ApplySettings(Settings);
        if (Tune)
            Tune(session.Link());
        try {
            session.Connect(QString::fromStdString(Printer.Address()), QString(), 2000);
            session.RequestState(1500);
            session.Print([&](TNimboBle& Link) { Link.PrintV5G(SmallRaster(), Settings.Params()); });
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }
};

TEST_F(CliPrinterSession, PrinterWarningsAppearOnceEach)
{
    struct TCase {
        uint8_t State;
        const char* Warning;
    };
    const TCase cases[] = {
        {0x01, "Kein Papier!"},
        {0x04, "Druckkopf überhitzt – kurz abkühlen lassen"},
        {0x08, "Akku schwach – bitte laden"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Warning);
        Err.str({});
        auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:1" + std::to_string(c.State));
        printer->SetState(c.State);
        Manager.AddPrinter(printer);
        EXPECT_EQ(PrintV5G(*printer), "");
        const std::string err = Err.str();
        const size_t first = err.find(c.Warning);
        ASSERT_NE(first, std::string::npos) << err;
        // Answered at every state request, said once.
        EXPECT_EQ(err.find(c.Warning, first + 1), std::string::npos) << err;
        EXPECT_NE(err.find("Fertig gedruckt."), std::string::npos);
    }
}

TEST_F(CliPrinterSession, HotHeadLowersTheEnergyAndSaysSo)
{
    auto printer = std::make_shared<TSimMxPrinter>();
    printer->SetHeadTemperature(70);
    Manager.AddPrinter(printer);
    // No 30 s cool-down wait in a test; the energy line is the point here.
    EXPECT_EQ(PrintV5G(*printer, [](TNimboBle& Link) { Link.SetCoolDownMs(0); }), "");
    const std::string err = Err.str();
    EXPECT_NE(err.find("Kopf: 70 °C"), std::string::npos) << err;
    EXPECT_NE(err.find("Kopftemperatur 70 °C: Energie 30000 → 15000"), std::string::npos) << err;
    ASSERT_EQ(printer->Prints().size(), 1u);
    EXPECT_EQ(printer->Prints()[0].Energy, 15000);
}

TEST_F(CliPrinterSession, FailuresCarryTheLinksMessageAndLog)
{
    auto refusing = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:20");
    TSimFaults faults;
    faults.RefuseWrites = true;
    refusing->SetFaults(faults);
    Manager.AddPrinter(refusing);
    EXPECT_EQ(PrintV5G(*refusing), "Druck fehlgeschlagen: WriteCharacteristic fehlgeschlagen");
    EXPECT_NE(Err.str().find("Protokoll der Verbindung:\n  Dienstsuche, Versuch 1 …"), std::string::npos)
        << Err.str();

    auto absent = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:21");
    EXPECT_EQ(PrintV5G(*absent), "Drucker C0:FF:EE:00:00:21 nicht gefunden – eingeschaltet und in Reichweite?");

    // A V5X printer refusing the start gets no image data.
    auto mxw = std::make_shared<TSimMxwPrinter>();
    mxw->SetAcceptStart(false);
    Manager.AddPrinter(mxw);
    TCliPrinterSession session(Streams, &Manager);
    session.ApplySettings(Settings);
    session.Connect(QString::fromStdString(mxw->Address()), QString(), 2000);
    try {
        session.Print([](TNimboBle& Link) { Link.PrintV5X(NbV5XBuildJob(SmallRaster(), 93, 0)); });
        ADD_FAILURE() << "the refused job reported success";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Druck fehlgeschlagen: Drucker lehnt Druck ab (Papier, Akku oder Temperatur prüfen)");
    }
    EXPECT_TRUE(mxw->Prints().empty());
}

} // namespace
