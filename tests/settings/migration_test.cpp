// Takeover of the previous version's folder "NimboEtiketten".

#include "settings/app_settings.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class MigrationTest : public SettingsHomeTest {
protected:
    void SetUp() override
    {
        SettingsHomeTest::SetUp();
        Old = DataRoot() + QStringLiteral("/NimboEtiketten");
        App = DataRoot() + QStringLiteral("/MIRVO Pellwerk");
    }

    // An old folder as the previous version left it, with entries that must
    // not be taken: other extensions, subfolders.
    void MakeOldFolder()
    {
        WriteTestFile(Old + QStringLiteral("/Vorlagen/Preis.nblabel"), "preis");
        WriteTestFile(Old + QStringLiteral("/Vorlagen/Groß.Etikett.NBLABEL"), "gross");
        WriteTestFile(Old + QStringLiteral("/Vorlagen/notiz.txt"), "notiz");
        WriteTestFile(Old + QStringLiteral("/Vorlagen/alt/tief.nblabel"), "tief");
        WriteTestFile(Old + QStringLiteral("/Hintergründe/rahmen.png"), "png");
        WriteTestFile(Old + QStringLiteral("/Hintergründe/Foto.JPG"), "jpg");
        WriteTestFile(Old + QStringLiteral("/Hintergründe/unter/x.png"), "x");
        WriteTestFile(Old + QStringLiteral("/einstellungen.ini"), OldIni());
    }

    QByteArray OldIni() const
    {
        // The path written with other letter case, as a case-blind file
        // system would have accepted it.
        const QByteArray OldUpper = QFile::encodeName(DataRoot() + QStringLiteral("/NIMBOetiketten"));
        return "\xEF\xBB\xBF[Editor]\nLetzteVorlage=" + OldUpper + "/Vorlagen/Preis.NbLabel\n[Druck]\nEnergie=5000\n";
    }

    QString Old, App;
};

TEST_F(MigrationTest, FirstRunCopiesTemplatesBackgroundsAndPointsTheSettingsAtTheNewFolder)
{
    MakeOldFolder();
    TAppSettings::MigrateFromOldVersion();

    EXPECT_EQ(FolderEntries(App + QStringLiteral("/Vorlagen")),
              (QStringList{QStringLiteral("Groß.Etikett.pellwerk"), QStringLiteral("Preis.pellwerk")}));
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Vorlagen/Preis.pellwerk")), "preis");
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Vorlagen/Groß.Etikett.pellwerk")), "gross");
    EXPECT_EQ(FolderEntries(App + QStringLiteral("/Hintergründe")),
              (QStringList{QStringLiteral("Foto.JPG"), QStringLiteral("rahmen.png")}));
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Hintergründe/rahmen.png")), "png");

    const QByteArray NewIni = ReadTestFile(App + QStringLiteral("/einstellungen.ini"));
    EXPECT_EQ(NewIni, "\xEF\xBB\xBF[Editor]\nLetzteVorlage=" + QFile::encodeName(App) +
                          "/Vorlagen/Preis.pellwerk\n[Druck]\nEnergie=5000\n");
    TAppSettings S;
    S.Load();
    EXPECT_EQ(S.LastTemplate, App + QStringLiteral("/Vorlagen/Preis.pellwerk"));
    EXPECT_TRUE(QFileInfo::exists(S.LastTemplate));
    EXPECT_EQ(S.Energy, 5000);

    // The old files stay where they are.
    EXPECT_EQ(FolderEntries(Old + QStringLiteral("/Vorlagen")).size(), 4);
    EXPECT_EQ(ReadTestFile(Old + QStringLiteral("/einstellungen.ini")), OldIni());
}

TEST_F(MigrationTest, RunAgainWithoutSettingsFileCopiesOnlyWhatIsMissing)
{
    MakeOldFolder();
    TAppSettings::MigrateFromOldVersion();
    ASSERT_TRUE(QFile::remove(App + QStringLiteral("/einstellungen.ini")));
    ASSERT_TRUE(QFile::remove(App + QStringLiteral("/Vorlagen/Preis.pellwerk")));
    WriteTestFile(App + QStringLiteral("/Vorlagen/Groß.Etikett.pellwerk"), "bearbeitet");
    WriteTestFile(App + QStringLiteral("/Hintergründe/rahmen.png"), "eigener");

    TAppSettings::MigrateFromOldVersion();
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Vorlagen/Preis.pellwerk")), "preis");
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Vorlagen/Groß.Etikett.pellwerk")), "bearbeitet");
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Hintergründe/rahmen.png")), "eigener");
    EXPECT_TRUE(QFileInfo::exists(App + QStringLiteral("/einstellungen.ini")));
}

TEST_F(MigrationTest, NothingHappensBesideAnExistingSettingsFileOrWithoutOldFolder)
{
    // No old folder: not even the data folder is made.
    TAppSettings::MigrateFromOldVersion();
    EXPECT_FALSE(QFileInfo::exists(App));

    MakeOldFolder();
    WriteTestFile(App + QStringLiteral("/einstellungen.ini"), "[Druck]\nEnergie=1\n");
    TAppSettings::MigrateFromOldVersion();
    EXPECT_EQ(FolderEntries(App), QStringList{QStringLiteral("einstellungen.ini")});
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/einstellungen.ini")), "[Druck]\nEnergie=1\n");
}

TEST_F(MigrationTest, FirstFailureEndsSilentlyAndKeepsWhatWasCopied)
{
    MakeOldFolder();
    // A plain file where the backgrounds folder belongs: the templates are
    // copied, the backgrounds cannot be, and the settings file is not written.
    WriteTestFile(App + QStringLiteral("/Hintergründe"), "im Weg");
    TAppSettings::MigrateFromOldVersion();

    EXPECT_EQ(FolderEntries(App + QStringLiteral("/Vorlagen")).size(), 2);
    EXPECT_EQ(ReadTestFile(App + QStringLiteral("/Hintergründe")), "im Weg");
    EXPECT_FALSE(QFileInfo::exists(App + QStringLiteral("/einstellungen.ini")));

    // Once the obstacle is gone, the next start completes the takeover.
    ASSERT_TRUE(QFile::remove(App + QStringLiteral("/Hintergründe")));
    TAppSettings::MigrateFromOldVersion();
    EXPECT_EQ(FolderEntries(App + QStringLiteral("/Hintergründe")).size(), 2);
    EXPECT_TRUE(QFileInfo::exists(App + QStringLiteral("/einstellungen.ini")));
}

TEST_F(MigrationTest, UnwritableDataFolderStopsWithoutRaising)
{
    WriteTestFile(Old + QStringLiteral("/einstellungen.ini"), OldIni());
    ASSERT_TRUE(QDir().mkpath(App));
    ReadOnlyFolder Guard(App);
    if (!Guard.Effective())
        GTEST_SKIP() << "the folder cannot be made read-only for this user";
    TAppSettings::MigrateFromOldVersion();
    EXPECT_TRUE(FolderEntries(App).isEmpty());
}

} // namespace
