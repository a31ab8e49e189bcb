// print and text through the virtual printers: what the simulated printer
// decoded from the bytes it received is written as a picture.

#include "cli_fixture.h"

#include "lineprinter/line_printer.h"
#include "model/label_doc.h"

#include <QElapsedTimer>
#include <QFile>

#include <csignal>

namespace {

class CliVirtualPrint : public TCliFixture {
protected:
    void SetUp() override { WriteBuiltins(); }
};

TEST_F(CliVirtualPrint, ThreeNumberedCopiesWithGapAndFeed)
{
    const TCliResult r = Run({"print", "Nummerierung", "--copies", "3", "--printer", "virtual", "--pause-ms", "0",
                              "--virtual-out", "v.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    // Default gap 4 mm and feed 8 mm of the settings.
    const TNbMonoImage expected = WithBlankRows(ExpectedRaster(TemplateFile("Nummerierung"), 3, 32), 64);
    const TNbMonoImage actual = ReadMonoPng(HomePath("v.png"));
    EXPECT_EQ(actual.Height, 3 * 160 + 2 * 32 + 64);
    EXPECT_TRUE(SameRaster(actual, expected));
    EXPECT_TRUE(r.Err.contains("Sende \"Nummerierung\" (3×) …"));
    EXPECT_TRUE(r.Err.contains("Verbunden: MX10"));
    EXPECT_TRUE(r.Err.contains("100 %"));
    EXPECT_TRUE(r.Err.contains("Fertig gedruckt."));
    EXPECT_TRUE(r.Out.contains("Energie 30000"));
}

TEST_F(CliVirtualPrint, V5XPrinterGetsTheRasterWithoutFeed)
{
    const TCliResult r = Run({"print", "Preisschild", "--printer", "virtual:MXW01", "--copies", "2", "--gap-mm",
                              "1", "--density", "60", "--pause-ms", "0", "--virtual-out", "x.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("x.png")), ExpectedRaster(TemplateFile("Preisschild"), 2, 8)));
    EXPECT_TRUE(r.Out.contains("Dichte 60 %"));
}

TEST_F(CliVirtualPrint, TextFromArgumentAndStandardInput)
{
    const QString text = "Hallo Welt\nZeile 2";
    const TNbMonoImage lines = TNbLinePrinter::TextToMono(text.toStdU16String(), 384, 20, u"");
    struct TCase {
        QStringList Args;
        QByteArray Input;
        TNbMonoImage Expected;
    };
    const TCase cases[] = {
        {{"text", text, "--chars-per-line", "20", "--printer", "virtual"}, {}, WithBlankRows(lines, 64)},
        {{"text", "-", "--chars-per-line", "20", "--printer", "virtual", "--feed-mm", "1"},
         text.toUtf8() + "\n",
         WithBlankRows(lines, 8)},
        // A V5X printer gets the same lines as a V5X job.
        {{"text", text, "--chars-per-line", "20", "--printer", "virtual:MXW01"}, {}, lines},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TCliResult r = Run(c.Args + QStringList{"--pause-ms", "0", "--virtual-out", "t.png"}, c.Input);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_TRUE(SameRaster(ReadMonoPng(HomePath("t.png")), c.Expected));
    }
}

TEST_F(CliVirtualPrint, InterruptStopsTheJobAndFailsTheRun)
{
    // A metre-long label sent slowly enough to be caught half way.
    const QString label = HomePath("lang.pellwerk");
    TLabelDoc doc;
    doc.LengthMm = 1000;
    doc.SaveToFile(label);

    QProcess p;
    Prepare(p);
    p.setArguments({"print", label, "--printer", "virtual", "--packet-size", "20", "--pause-ms", "50"});
    p.start();
    ASSERT_TRUE(p.waitForStarted(10000));
    QByteArray err;
    QElapsedTimer waited;
    waited.start();
    // The progress bar, not "Suche Drucker …": a signal during the connect
    // would end the run before the job it is meant to stop.
    const QByteArray printing = QStringLiteral("Drucke … [").toUtf8();
    while (!err.contains(printing) && waited.elapsed() < 60000 && p.state() == QProcess::Running) {
        p.waitForReadyRead(200);
        err += p.readAllStandardError();
    }
    ASSERT_TRUE(err.contains(printing)) << err.toStdString();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    err += p.readAllStandardError();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QString text = QString::fromUtf8(err);
    EXPECT_TRUE(text.contains("Abbruch …")) << text.toStdString();
    EXPECT_TRUE(text.contains("pellwerk-cli: Druck fehlgeschlagen: Abgebrochen")) << text.toStdString();
    EXPECT_FALSE(QFile::exists(HomePath("virtueller-druck.png")));
}

} // namespace
