// Whole print jobs from the printer link through the BlueZ backend, the fake
// org.bluez and the simulated printers: what the printer decodes must be
// what was sent, with the printer's flow control in effect on the way.

#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "bluez_link_fixture.h"
#include "protocol/nimbo_protocol.h"


namespace {

class BluezJob : public TBluezLinkFixture {};

TEST_F(BluezJob, AFlowControlledV5GJobArrivesIntact)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    // A small buffer, so the job is paused and resumed several times on its way.
    printer->SetBuffer(1024, 256, 32);
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));

    const TNbMonoImage mono = Stripes(240);
    const std::optional<TSimV5GPrint> received = PrintV5GAndReceive(*printer, mono);
    ASSERT_TRUE(received);
    const TSimV5GPrint& print = *received;
    EXPECT_EQ(print.Raster.Width, mono.Width);
    EXPECT_EQ(print.Raster.Height, mono.Height);
    EXPECT_TRUE(print.Raster.Dots == mono.Dots);
    EXPECT_EQ(printer->FrameErrors(), 0);
    // The sender was held back at least once and went on after each resume.
    EXPECT_GE(printer->Pauses(), 1);
    EXPECT_GE(printer->Resumes(), printer->Pauses() - 1);
    // The command characteristic allows write without response: packets go as
    // "command", but every eighth waits for the printer's answer ("request"),
    // so that BlueZ's queue never runs far ahead of the printer.
    const QStringList types = Fake->WriteTypes();
    ASSERT_EQ(types.size(), printer->PacketsWritten());
    for (qsizetype i = 0; i < types.size(); ++i)
        EXPECT_TRUE(types[i].endsWith((i + 1) % 8 == 0 ? " request" : " command")) << i << ": " << types[i].toStdString();
}

TEST_F(BluezJob, AV5XJobSendsItsImageThroughTheDataCharacteristic)
{
    auto printer = std::make_shared<TSimMxwPrinter>("MXW01", "C0:FF:EE:00:00:01", true);
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));

    const TNbMonoImage mono = Stripes(96);
    const TNbV5XJob job = NbV5XBuildJob(mono, 93, 0);
    Link->SetPacketSize(180);
    Link->PrintV5X(job);
    const auto done = WaitDone();
    ASSERT_TRUE(done.first) << done.second;

    ASSERT_TRUE(Eventually([&] { return !printer->Prints().empty(); }));
    const TSimV5XPrint print = printer->Prints().front();
    EXPECT_TRUE(print.Raster.Dots == mono.Dots);
    EXPECT_EQ(print.Density, 93);
    EXPECT_EQ(print.Rows, 96);
    EXPECT_EQ(printer->BytesWritten(kSimUuidAe03), static_cast<int64_t>(job.ImageData.size()));
    EXPECT_EQ(printer->ImageBytesOutsideJob(), 0);
    EXPECT_EQ(printer->Errors(), 0);
}

TEST_F(BluezJob, APrinterThatDropsTheLinkMidJobFailsTheJobPromptly)
{
    auto printer = std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10");
    ASSERT_TRUE(ConnectLink(Fake->AddPrinter(printer)));
    TSimFaults faults;
    faults.DropAfterBytes = printer->BytesWritten() + 3000;
    printer->SetFaults(faults);

    Link->SetPacketSize(100);
    Link->PrintV5G(Stripes(240), TNbV5GParams::MX10());
    std::pair<bool, std::string> done;
    const long long ms = MsTaken([&] { done = WaitDone(); });
    EXPECT_FALSE(done.first);
    EXPECT_EQ(done.second, "WriteCharacteristic fehlgeschlagen");
    EXPECT_LT(ms, 5000);
    EXPECT_GE(printer->BytesWritten(), faults.DropAfterBytes);
    EXPECT_LT(LastSent, 240 * 48);
    EXPECT_FALSE(printer->IsConnected());
}

} // namespace
