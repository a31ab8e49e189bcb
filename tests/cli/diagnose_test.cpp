// The report for a bug report, against the BlueZ stand-in: adapter, device,
// every GATT object with flags and MTU, the answer to a state query, timings
// and versions; paper only with --test-print. And a scan that cannot start
// says why.

#include "cli_fixture.h"

#include "ble/sim/sim_mx_printer.h"
#include "fake_bluez.h"
#include "private_bus.h"

#include <QFile>

namespace {

class CliDiagnose : public TCliFixture {
protected:
    void SetUp() override { Extra.insert("DBUS_SYSTEM_BUS_ADDRESS", Bus.Address()); }

    TPrivateBus Bus;
    TFakeBluez Fake{Bus.Address()};
};

TEST_F(CliDiagnose, ReportsAdapterDeviceGattObjectsStateAnswerAndTimingsWithoutPrinting)
{
    Fake.AddAdapter(true);
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    Fake.AddKnownPrinter(printer, -55);

    const TCliResult r = Run({"diagnose", "--printer", "C0:FF:EE:00:00:10", "--seconds", "3"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    for (const char* part : {"Pellwerk-Diagnosebericht vom ", "Programm: MIRVO Pellwerk ", "Qt: 6.", "bluetoothd: ",
                             "Bluetooth: bereit", "[/org/bluez/hci0] org.bluez.Adapter1", "  Address = 00:1A:7D:DA:71:13",
                             "  Powered = ja", "== Drucker C0:FF:EE:00:00:10 ==", "Verbindung: hergestellt nach ",
                             "MTU: 247", "[/org/bluez/hci0/dev_C0_FF_EE_00_00_10] org.bluez.Device1", "  Name = MX10",
                             "org.bluez.GattService1", "  UUID = 0000ae30-0000-1000-8000-00805f9b34fb",
                             "  UUID = 0000ae01-0000-1000-8000-00805f9b34fb", "  Flags = write-without-response, write",
                             "  MTU = 247", "Zustandsabfrage (V5G A3) gesendet", "== Benachrichtigungen des Druckers ==",
                             "  51 78 a3 00 01", "== Protokoll der Verbindung ==", "Dienstsuche, Versuch 1 …"})
        EXPECT_TRUE(r.Out.contains(QString::fromUtf8(part))) << part << "\n" << r.Out.toStdString();
    EXPECT_EQ(printer->StateRequests(), 1);
    EXPECT_TRUE(printer->Prints().empty());
}

TEST_F(CliDiagnose, WritesTheReportToAFileAndPrintsOnlyWhenAsked)
{
    Fake.AddAdapter(true);
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    Fake.AddKnownPrinter(printer, -55);
    WriteSettings("[Drucker]\nName=MX10\nAdresse=C0:FF:EE:00:00:10\n[Druck]\nPauseMs=0\n");

    const TCliResult r = Run({"diagnose", "-o", "bericht.txt", "--test-print"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());
    const QString report = QString::fromUtf8(ReadFile(HomePath("bericht.txt")));
    EXPECT_TRUE(report.contains("Verbindung: hergestellt")) << report.toStdString();
    EXPECT_EQ(printer->Prints().size(), 1u);
}

TEST_F(CliDiagnose, APrinterOutOfReachStillGivesTheReportAndFails)
{
    Fake.AddAdapter(true);
    const TCliResult r = Run({"diagnose", "--printer", "C0:FF:EE:00:00:77", "--seconds", "1"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Out.contains("Verbindung: fehlgeschlagen: Drucker C0:FF:EE:00:00:77 nicht gefunden"))
        << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains("[/org/bluez/hci0] org.bluez.Adapter1"));
}

TEST_F(CliDiagnose, BluetoothSwitchedOffIsNamedInDiagnoseAndScan)
{
    Fake.AddAdapter(false);
    const TCliResult d = Run({"diagnose"});
    EXPECT_EQ(d.ExitCode, 0) << d.Err.toStdString();
    EXPECT_TRUE(d.Out.contains("Bluetooth: Bluetooth ist ausgeschaltet.")) << d.Out.toStdString();

    const TCliResult s = Run({"scan", "--seconds", "1"});
    EXPECT_EQ(s.ExitCode, 1);
    EXPECT_TRUE(s.Err.contains("pellwerk-cli: Bluetooth ist ausgeschaltet.")) << s.Err.toStdString();
}

} // namespace
