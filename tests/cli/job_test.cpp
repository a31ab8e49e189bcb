// job: the bytes written are exactly the job the link would send, for the
// settings' values, the flags laid over them, and both protocols.

#include "cli_fixture.h"

#include "protocol/v5g_job.h"
#include "protocol/v5x_job.h"
#include "settings/app_settings.h"

namespace {

class CliJob : public TCliFixture {
protected:
    void SetUp() override { WriteBuiltins(); }

    std::vector<uint8_t> Bytes(const QString& File) const
    {
        const QByteArray b = ReadFile(File);
        return std::vector<uint8_t>(b.begin(), b.end());
    }
};

std::vector<uint8_t> V5XBytes(const TNbMonoImage& Raster, uint8_t Density)
{
    const TNbV5XJob job = NbV5XBuildJob(Raster, Density, 0);
    std::vector<uint8_t> out;
    for (const auto* piece : {&job.DensityCmd, &job.StartCmd, &job.ImageData, &job.EndCmd})
        out.insert(out.end(), piece->begin(), piece->end());
    return out;
}

const char* const kSettings = "[Druck]\nEnergie=20000\nDichte=150\nQualitaet=4\nGeschwindigkeit=20\n"
                              "VorschubMm=3\nAbstandMm=2\nV5XDichte=70\n";

TEST_F(CliJob, V5GStreamUsesTheSettingsParameters)
{
    WriteSettings(kSettings);
    const TCliResult r = Run({"job", "Nummerierung", "--copies", "2", "-o", "job.bin"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();

    TNbV5GParams p = TNbV5GParams::Default();
    p.Energy = 20000;
    p.Density = 150;
    p.Quality = 4;
    p.Speed = 20;
    p.FeedLines = 24;
    const TNbMonoImage raster = ExpectedRaster(TemplateFile("Nummerierung"), 2, 16);
    EXPECT_EQ(Bytes(HomePath("job.bin")), NbV5GBuildJob(raster, p));
}

TEST_F(CliJob, FlagsOverrideForOneRunWithoutSaving)
{
    WriteSettings(kSettings);
    const QByteArray before = ReadFile(DataDir() + "/einstellungen.ini");
    const TCliResult r = Run({"job", "Preisschild", "--energy", "12000", "--density", "0", "--quality", "2",
                              "--speed", "7", "--feed-mm", "0", "-o", "job.bin"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();

    TNbV5GParams p = TNbV5GParams::Default();
    p.Energy = 12000;
    p.Density = 0;
    p.Quality = 2;
    p.Speed = 7;
    p.FeedLines = 0;
    EXPECT_EQ(Bytes(HomePath("job.bin")), NbV5GBuildJob(ExpectedRaster(TemplateFile("Preisschild"), 1, 0), p));
    EXPECT_EQ(ReadFile(DataDir() + "/einstellungen.ini"), before);
}

TEST_F(CliJob, V5XPiecesInSendingOrder)
{
    struct TCase {
        const char* Ini;
        QStringList Flags;
        uint8_t Density;
    };
    const TCase cases[] = {
        {kSettings, {"--protocol", "v5x"}, 70},
        // The protocol of the settings decides when no flag is given.
        {"[Druck]\nProtokoll=1\nV5XDichte=55\n", {}, 55},
        // --density is a percent for V5X.
        {kSettings, {"--protocol", "v5x", "--density", "40"}, 40},
        // A percent beyond 100 from the file prints at 100, not at its low byte.
        {"[Druck]\nProtokoll=1\nV5XDichte=300\n", {}, 100},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ini + c.Flags.join(' ').toStdString());
        WriteSettings(c.Ini);
        const TCliResult r = Run(QStringList{"job", "Adresse", "-o", "job.bin"} + c.Flags);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        const std::vector<uint8_t> actual = Bytes(HomePath("job.bin"));
        EXPECT_EQ(actual, V5XBytes(ExpectedRaster(TemplateFile("Adresse"), 1, 0), c.Density));
        // Density command first, with the percent as its payload.
        ASSERT_GT(actual.size(), 7u);
        EXPECT_EQ(actual[2], 0xA2);
        EXPECT_EQ(actual[6], c.Density);
    }
}

} // namespace
