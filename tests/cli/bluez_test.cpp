// The program against a BlueZ stand-in on a private bus (taken as the
// system bus): scanning lists the printers in range, and print reaches a
// printer by its address or as the remembered printer of the settings.

#include "cli_fixture.h"

#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "fake_bluez.h"
#include "private_bus.h"

namespace {

class CliBluez : public TCliFixture {
protected:
    void SetUp() override
    {
        WriteBuiltins();
        Fake.AddAdapter(true);
        Extra.insert("DBUS_SYSTEM_BUS_ADDRESS", Bus.Address());
    }

    TPrivateBus Bus;
    TFakeBluez Fake{Bus.Address()};
};

TEST_F(CliBluez, ScanListsNameAddressAndSignalStrongestFirst)
{
    Fake.AddKnownPrinter(std::make_shared<TSimMxwPrinter>("MXW01", "C0:FF:EE:00:00:01"), -70);
    Fake.AddKnownPrinter(std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10"), -55);
    Fake.AddKnownPrinter(std::make_shared<TSimMxPrinter>("Kopfhörer", "C0:FF:EE:00:00:99"), -40);

    const TCliResult all = Run({"scan", "--seconds", "1"});
    ASSERT_EQ(all.ExitCode, 0) << all.Err.toStdString();
    EXPECT_EQ(all.Out, "Kopfhörer\tC0:FF:EE:00:00:99\t-40 dBm\n"
                       "MX10\tC0:FF:EE:00:00:10\t-55 dBm\n"
                       "MXW01\tC0:FF:EE:00:00:01\t-70 dBm\n");

    const TCliResult mx = Run({"scan", "--name", "mx", "--seconds", "1"});
    ASSERT_EQ(mx.ExitCode, 0) << mx.Err.toStdString();
    EXPECT_EQ(mx.Out, "MX10\tC0:FF:EE:00:00:10\t-55 dBm\n"
                      "MXW01\tC0:FF:EE:00:00:01\t-70 dBm\n");
}

TEST_F(CliBluez, PrintsToTheAddressGivenOrRemembered)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    Fake.AddKnownPrinter(printer, -55);

    // Any case of the address finds the printer.
    const TCliResult r = Run({"print", "Nummerierung", "--copies", "2", "--printer", "c0:ff:ee:00:00:10",
                              "--pause-ms", "0", "--energy", "25000"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("Verbunden: MX10"));
    ASSERT_EQ(printer->Prints().size(), 1u);
    const TSimV5GPrint first = printer->Prints()[0];
    EXPECT_TRUE(SameRaster(first.Raster, ExpectedRaster(TemplateFile("Nummerierung"), 2, 32)));
    EXPECT_EQ(first.FeedLines, 64);
    EXPECT_EQ(first.Energy, 25000);

    WriteSettings("[Drucker]\nName=MX10\nAdresse=C0:FF:EE:00:00:10\n[Druck]\nPauseMs=0\nVorschubMm=2\n");
    const TCliResult remembered = Run({"print", "Preisschild"});
    ASSERT_EQ(remembered.ExitCode, 0) << remembered.Err.toStdString();
    ASSERT_EQ(printer->Prints().size(), 2u);
    EXPECT_TRUE(SameRaster(printer->Prints()[1].Raster, ExpectedRaster(TemplateFile("Preisschild"), 1, 0)));
    EXPECT_EQ(printer->Prints()[1].FeedLines, 16);
}

TEST_F(CliBluez, FailingPrinterExitsOneWithTheLinksMessage)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    TSimFaults faults;
    faults.RefuseWrites = true;
    printer->SetFaults(faults);
    Fake.AddKnownPrinter(printer, -55);

    const TCliResult r = Run({"text", "Hallo", "--printer", "C0:FF:EE:00:00:10", "--pause-ms", "0"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.contains("pellwerk-cli: Druck fehlgeschlagen: WriteCharacteristic fehlgeschlagen"))
        << r.Err.toStdString();
    EXPECT_TRUE(printer->Prints().empty());
}

} // namespace
