// The data folder and its parts: where they are and that they come into
// being whenever they are asked for.

#include "settings/app_settings.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFileInfo>

namespace {

using DataFoldersTest = SettingsHomeTest;

TEST_F(DataFoldersTest, PathsLieInTheRoamingDataFolder)
{
    const QString App = DataRoot() + QStringLiteral("/MIRVO Pellwerk");
    EXPECT_EQ(TAppSettings::AppDir(), App);
    EXPECT_EQ(TAppSettings::TemplateDir(), App + QStringLiteral("/Vorlagen"));
    EXPECT_EQ(TAppSettings::BackgroundDir(), App + QStringLiteral("/Hintergründe"));
    EXPECT_EQ(TAppSettings::IniFileName(), App + QStringLiteral("/einstellungen.ini"));
}

TEST_F(DataFoldersTest, EachCallCreatesItsFolderWithMissingParents)
{
    const QString App = DataRoot() + QStringLiteral("/MIRVO Pellwerk");
    // The roaming folder itself is missing at first in a fresh HOME.
    ASSERT_TRUE(QDir(DataRoot()).removeRecursively());

    TAppSettings::IniFileName();
    EXPECT_TRUE(QFileInfo(App).isDir());
    EXPECT_FALSE(QFileInfo::exists(App + QStringLiteral("/einstellungen.ini")));
    EXPECT_FALSE(QFileInfo::exists(App + QStringLiteral("/Vorlagen")));
    EXPECT_FALSE(QFileInfo::exists(App + QStringLiteral("/Hintergründe")));

    ASSERT_TRUE(QDir(DataRoot()).removeRecursively());
    EXPECT_TRUE(QFileInfo(TAppSettings::TemplateDir()).isDir());
    EXPECT_TRUE(QFileInfo(TAppSettings::BackgroundDir()).isDir());

    // Removed while the program runs: the next call brings it back.
    ASSERT_TRUE(QDir(App + QStringLiteral("/Vorlagen")).removeRecursively());
    EXPECT_TRUE(QFileInfo(TAppSettings::TemplateDir()).isDir());
}

} // namespace
