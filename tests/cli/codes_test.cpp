// Code elements through pellwerk-cli: rendered as the editor prints them,
// numbered per copy, and refused with the reason when the data is invalid.

#include "cli_fixture.h"

#include "model/label_doc.h"

#include <QFile>

namespace {

class CliCodes : public TCliFixture {
protected:
    QString WriteLabel(const QString& Name, TCodeType Type, const QString& Data)
    {
        TLabelDoc Doc;
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
        E->X = 8;
        E->Y = 8;
        E->W = 368;
        E->H = 224;
        E->CodeType = Type;
        E->Text = Data;
        const QString Path = HomePath(Name + QStringLiteral(".pellwerk"));
        Doc.SaveToFile(Path);
        return Path;
    }
};

TEST_F(CliCodes, RenderedCopiesMatchThePrinterRasterAndAreNumbered)
{
    const QString File = WriteLabel(QStringLiteral("fach"), ctQr, QStringLiteral("Fach {NR}"));
    const TCliResult R = Run({"render", File, "--copies", "3", "--gap-mm", "2", "-o", "fach.png"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    const TNbMonoImage Actual = ReadMonoPng(HomePath("fach.png"));
    EXPECT_TRUE(SameRaster(Actual, ExpectedRaster(File, 3, 16)));
    // Each copy carries its own number, so its own pattern.
    EXPECT_FALSE(SameRaster(Actual, ExpectedRaster(File, 1, 16)));
}

TEST_F(CliCodes, InvalidCodeIsRefusedWithItsReasonAndNothingWritten)
{
    const QString File = WriteLabel(QStringLiteral("ean"), ctEan13, QStringLiteral("40063813339X"));
    const TCliResult R = Run({"render", File, "-o", "ean.png"});
    EXPECT_NE(R.ExitCode, 0);
    EXPECT_TRUE(R.Err.contains(QStringLiteral("Code ungültig: EAN-13 erlaubt nur Ziffern"))) << R.Err.toStdString();
    EXPECT_FALSE(QFile::exists(HomePath("ean.png")));
}

}  // namespace
