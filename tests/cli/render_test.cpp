// render: the printer raster of a label as the editor would send it, the
// on-screen picture, template names and the fixed clock of the placeholders.

#include "cli_fixture.h"

#include "model/label_doc.h"
#include "model/placeholders.h"

#include <QFile>
#include <QImage>

namespace {

class CliRender : public TCliFixture {
protected:
    void SetUp() override { WriteBuiltins(); }
};

TEST_F(CliRender, EveryBuiltinTemplateMatchesThePrinterRasterDotForDot)
{
    // Named by path; landscape "Namensschild" also checks the quarter turn.
    for (const QString name : {"Namensschild", "Preisschild", "Adresse", "Achtung zerbrechlich", "Abgefüllt am",
                               "Nummerierung"}) {
        SCOPED_TRACE(name.toStdString());
        const QString out = HomePath(name + ".png");
        const TCliResult r = Run({"render", TemplateFile(name), "-o", out, "--now", "2026-11-30 09:05"});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        const TNbMonoImage expected =
            ExpectedRaster(TemplateFile(name), 1, 0, QDateTime(QDate(2026, 11, 30), QTime(9, 5)));
        const TNbMonoImage actual = ReadMonoPng(out);
        EXPECT_TRUE(SameRaster(actual, expected));
        EXPECT_GT(InkDots(actual), 0);
        EXPECT_EQ(actual.Width, 384);
    }
}

TEST_F(CliRender, CopiesAreStackedWithTheGapAndNumbered)
{
    const TCliResult r = Run({"render", "Nummerierung", "--copies", "3", "--gap-mm", "2", "-o", "n.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const TNbMonoImage actual = ReadMonoPng(HomePath("n.png"));
    EXPECT_EQ(actual.Height, 3 * 160 + 2 * 16);
    EXPECT_TRUE(SameRaster(actual, ExpectedRaster(TemplateFile("Nummerierung"), 3, 16)));
    // The copies differ ({NR} 1, 2, 3), so the stacking cannot pass by repeating copy 1.
    EXPECT_FALSE(SameRaster(actual, ExpectedRaster(TemplateFile("Nummerierung"), 1, 16)));
}

TEST_F(CliRender, GapComesFromTheSettingsUnlessGiven)
{
    WriteSettings("[Druck]\nAbstandMm=1\n");
    ASSERT_EQ(Run({"render", "Nummerierung", "--copies", "2"}).ExitCode, 0);
    // Without -o the picture is named after the label, in the working folder.
    EXPECT_EQ(ReadMonoPng(HomePath("Nummerierung.png")).Height, 2 * 160 + 8);
    ASSERT_EQ(Run({"render", "Nummerierung", "--copies", "2", "--gap-mm", "0"}).ExitCode, 0);
    EXPECT_EQ(ReadMonoPng(HomePath("Nummerierung.png")).Height, 2 * 160);
}

TEST_F(CliRender, ScreenWritesTheEditorsPicture)
{
    const TCliResult r = Run({"render", "Namensschild", "--screen", "-o", "s.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QImage actual(HomePath("s.png"));
    TLabelDoc doc;
    doc.LoadFromFile(TemplateFile("Namensschild"));
    const QImage expected = doc.RenderBitmap(false, 1);
    // The design size, not turned: 480 x 384.
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

TEST_F(CliRender, NowFillsDateTimeAndYear)
{
    const QString label = HomePath("datum.pellwerk");
    {
        TLabelDoc doc;
        doc.LengthMm = 20;
        auto e = std::make_unique<TLabelElement>(ekText);
        e->X = 0;
        e->Y = 0;
        e->W = 384;
        e->H = 160;
        e->FontSize = 30;
        e->Text = "{DATUM} {ZEIT} {jahr}";
        doc.Elements.Add(std::move(e));
        doc.SaveToFile(label);
    }
    const QDateTime fixed(QDate(2031, 2, 3), QTime(4, 5));
    ASSERT_EQ(Run({"render", label, "--now", "2031-02-03 04:05", "-o", "d.png"}).ExitCode, 0);
    const TNbMonoImage actual = ReadMonoPng(HomePath("d.png"));
    EXPECT_TRUE(SameRaster(actual, ExpectedRaster(label, 1, 0, fixed)));
    // A different moment draws differently, so the match above is the clock's doing.
    EXPECT_FALSE(SameRaster(actual, ExpectedRaster(label, 1, 0, QDateTime(QDate(2031, 2, 4), QTime(4, 5)))));

    // The text the placeholders became.
    SetPlaceholderClock(fixed);
    EXPECT_EQ(ExpandPlaceholders("{DATUM} {ZEIT} {jahr}", 1), "03.02.2031 04:05 2031");
    SetPlaceholderClock(std::nullopt);
}

TEST_F(CliRender, PrintTooLongForOneRasterIsRefused)
{
    // 999 copies of a metre-long label: about 8 million rows of 384 dots.
    const QString label = HomePath("lang.pellwerk");
    TLabelDoc doc;
    doc.LengthMm = 1000;
    doc.SaveToFile(label);
    const TCliResult r = Run({"render", label, "--copies", "999", "-o", "lang.png"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.contains("pellwerk-cli: Der Druck ist zu lang")) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(HomePath("lang.png")));
}

} // namespace
