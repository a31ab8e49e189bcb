// thumbnail: the file manager's picture of a label file, its size for every
// shape of label, refused input, and a run that stays out of the data folder
// and quiet on standard error.
#include "cli_fixture.h"

#include "cli/cli_thumbnail.h"
#include "model/label_doc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

class CliThumbnail : public TCliFixture {
protected:
    // A label file away from the data folder, as a file manager sees it.
    QString WriteLabel(const QString& FileName, int LengthMm, bool Landscape)
    {
        TLabelDoc d;
        d.Name = FileName;
        d.LengthMm = LengthMm;
        d.Landscape = Landscape;
        const QString path = Files.filePath(FileName);
        d.SaveToFile(path);
        return path;
    }
    QTemporaryDir Files;
};

TEST(ThumbnailSize, TheLongerSideGetsTheSizeAndTheShapeStays)
{
    struct TCase {
        QSize Picture;
        int Size;
        QSize Expected;
    };
    const TCase cases[] = {
        {{384, 240}, 128, {128, 80}},     // 30 mm portrait
        {{384, 240}, 1024, {1024, 640}},  // larger than the label: scaled up
        {{480, 384}, 256, {256, 205}},    // 60 mm landscape design, 204.8 rounded
        {{384, 8000}, 256, {12, 256}},    // a metre of label, 12.288 rounded
        {{8000, 384}, 100, {100, 5}},     // 4.8 rounded
        {{384, 40}, 1, {1, 1}},           // never thinner than a pixel
        {{384, 384}, 128, {128, 128}},
        {{0, 0}, 128, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Picture.width() << "x" << c.Picture.height() << " @" << c.Size);
        EXPECT_EQ(ThumbnailSize(c.Picture, c.Size), c.Expected);
    }
}

TEST_F(CliThumbnail, WritesTheScreenPictureOfTheLabelAtTheAskedSize)
{
    WriteBuiltins();
    struct TCase {
        QString Label;
        int Size;
    };
    const TCase cases[] = {
        {TemplateFile("Namensschild"), 256},  // landscape
        {TemplateFile("Nummerierung"), 128},  // portrait
        {WriteLabel("lang.pellwerk", 1000, false), 256},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label.toStdString());
        const QString out = HomePath("thumb.png");
        QFile::remove(out);
        const TCliResult r = Run({"thumbnail", c.Label, out, QString::number(c.Size)});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_TRUE(r.Out.isEmpty());
        EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();

        TLabelDoc doc;
        doc.LoadFromFile(c.Label);
        const QImage screen = doc.RenderBitmap(false, 1);
        const QImage expected = screen.scaled(ThumbnailSize(screen.size(), c.Size), Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation);
        const QImage actual(out);
        ASSERT_FALSE(actual.isNull());
        EXPECT_EQ(std::max(actual.width(), actual.height()), c.Size);
        EXPECT_EQ(actual.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(CliThumbnail, ReadsOnlyItsFileAndLeavesTheDataFolderAlone)
{
    // No templates folder: a file manager's thumbnailer may run where the
    // user's data folder cannot even be reached. Qt's note about the missing
    // runtime folder must not appear either.
    Extra.insert("XDG_RUNTIME_DIR", "");
    const QString label = WriteLabel("allein.pellwerk", 30, false);
    const TCliResult r = Run({"thumbnail", label, HomePath("t.png"), "128"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err, QString());
    EXPECT_EQ(QImage(HomePath("t.png")).size(), QSize(128, 80));
    EXPECT_FALSE(QFileInfo::exists(DataDir()));

    // A template's name is no file: the thumbnailer does not look for templates.
    const TCliResult byName = Run({"thumbnail", "Nummerierung", HomePath("n.png"), "128"});
    EXPECT_EQ(byName.ExitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(DataDir()));
}

TEST_F(CliThumbnail, RefusedInputWritesNoPicture)
{
    QFile broken(HomePath("kaputt.pellwerk"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\"MirvoPellwerk\" ist kein Objekt");
    broken.close();
    const QString good = WriteLabel("gut.pellwerk", 30, false);
    struct TCase {
        QStringList Args;
        int ExitCode;
        QString Message;
    };
    const TCase cases[] = {
        {{"thumbnail", HomePath("kaputt.pellwerk"), "t.png", "128"}, 1,
         "Etikett \"" + HomePath("kaputt.pellwerk") + "\" konnte nicht geladen werden: Keine gültige Etikettendatei"},
        {{"thumbnail", HomePath("fehlt.pellwerk"), "t.png", "128"}, 1, "konnte nicht geladen werden"},
        {{"thumbnail", good, HomePath("kein/Ordner/t.png"), "128"}, 1, "kann nicht geschrieben werden"},
        {{"thumbnail", good, "t.png", "0"}, 2, "GRÖSSE erwartet eine ganze Zahl von 1 bis 4096, nicht \"0\""},
        {{"thumbnail", good, "t.png", "4097"}, 2, "nicht \"4097\""},
        {{"thumbnail", good, "t.png", "128px"}, 2, "nicht \"128px\""},
        {{"thumbnail", good, "t.png"}, 2, "EINGABE, AUSGABE und GRÖSSE fehlt"},
        {{"thumbnail", good, "t.png", "128", "mehr"}, 2, "Zu viele Angaben: \"mehr\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TCliResult r = Run(c.Args);
        EXPECT_EQ(r.ExitCode, c.ExitCode);
        EXPECT_TRUE(r.Err.contains(c.Message)) << r.Err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(HomePath("t.png")));
    }
}

TEST_F(CliThumbnail, IsListedWithItsHelp)
{
    const TCliResult overview = Run({"--help"});
    EXPECT_TRUE(overview.Out.contains("  thumbnail  ")) << overview.Out.toStdString();
    const TCliResult help = Run({"thumbnail", "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.startsWith("Aufruf: pellwerk-cli thumbnail EINGABE AUSGABE.png GRÖSSE"));
}

} // namespace
