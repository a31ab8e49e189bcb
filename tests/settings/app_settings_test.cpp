// The settings object: defaults, reading the INI file leniently, rewriting it
// without losing what it holds, and the print parameters.

#include "settings/app_settings.h"
#include "settings/settings_error.h"
#include "settings_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <functional>

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// Non-empty lines of an INI text, so comparisons do not depend on the blank
// lines the writer puts between sections.
QList<QByteArray> ContentLines(const QByteArray& AText)
{
    QList<QByteArray> Lines;
    for (const QByteArray& Line : AText.split('\n'))
        if (!Line.trimmed().isEmpty())
            Lines << Line.trimmed();
    return Lines;
}

void ExpectDefaults(const TAppSettings& S)
{
    EXPECT_EQ(S.PrinterName, QString());
    EXPECT_EQ(S.PrinterAddress, QString());
    EXPECT_TRUE(S.AutoConnect);
    EXPECT_EQ(S.Protocol, 0);
    EXPECT_EQ(S.Energy, 30000);
    EXPECT_EQ(S.Density, 200);
    EXPECT_EQ(S.Quality, 5);
    EXPECT_EQ(S.Speed, 10);
    EXPECT_EQ(S.V5XDensity, 93);
    EXPECT_EQ(S.PacketSize, 180);
    EXPECT_EQ(S.IntervalMs, 20);
    EXPECT_TRUE(S.AutoTemp);
    EXPECT_EQ(S.FeedMm, 8);
    EXPECT_EQ(S.GapMm, 4);
    EXPECT_EQ(S.LastTemplate, QString());
    EXPECT_EQ(S.ZoomPct, 200);
    EXPECT_EQ(S.WinLeft, -1);
    EXPECT_EQ(S.WinTop, -1);
    EXPECT_EQ(S.WinWidth, 1400);
    EXPECT_EQ(S.WinHeight, 860);
    EXPECT_FALSE(S.WinMaximized);
}

// Every field set away from its default, with text beyond ASCII.
TAppSettings NonDefaultSettings()
{
    TAppSettings S;
    S.PrinterName = QStringLiteral("MX10 Küche");
    S.PrinterAddress = QStringLiteral("AA:BB:CC:DD:EE:FF");
    S.AutoConnect = false;
    S.Protocol = 1;
    S.Energy = 12345;
    S.Density = -7;
    S.Quality = 2;
    S.Speed = 33;
    S.V5XDensity = 50;
    S.PacketSize = 100;
    S.IntervalMs = 0;
    S.AutoTemp = false;
    S.FeedMm = 12;
    S.GapMm = 0;
    S.LastTemplate = QStringLiteral("/tmp/Grüße/Etikett ß.pellwerk");
    S.ZoomPct = 75;
    S.WinLeft = -20;
    S.WinTop = 30;
    S.WinWidth = 800;
    S.WinHeight = 600;
    S.WinMaximized = true;
    return S;
}

void ExpectSame(const TAppSettings& A, const TAppSettings& B)
{
    EXPECT_EQ(A.PrinterName, B.PrinterName);
    EXPECT_EQ(A.PrinterAddress, B.PrinterAddress);
    EXPECT_EQ(A.AutoConnect, B.AutoConnect);
    EXPECT_EQ(A.Protocol, B.Protocol);
    EXPECT_EQ(A.Energy, B.Energy);
    EXPECT_EQ(A.Density, B.Density);
    EXPECT_EQ(A.Quality, B.Quality);
    EXPECT_EQ(A.Speed, B.Speed);
    EXPECT_EQ(A.V5XDensity, B.V5XDensity);
    EXPECT_EQ(A.PacketSize, B.PacketSize);
    EXPECT_EQ(A.IntervalMs, B.IntervalMs);
    EXPECT_EQ(A.AutoTemp, B.AutoTemp);
    EXPECT_EQ(A.FeedMm, B.FeedMm);
    EXPECT_EQ(A.GapMm, B.GapMm);
    EXPECT_EQ(A.LastTemplate, B.LastTemplate);
    EXPECT_EQ(A.ZoomPct, B.ZoomPct);
    EXPECT_EQ(A.WinLeft, B.WinLeft);
    EXPECT_EQ(A.WinTop, B.WinTop);
    EXPECT_EQ(A.WinWidth, B.WinWidth);
    EXPECT_EQ(A.WinHeight, B.WinHeight);
    EXPECT_EQ(A.WinMaximized, B.WinMaximized);
}

class AppSettingsTest : public SettingsHomeTest {
protected:
    // Loads ABody from the real settings file into ASettings.
    void LoadText(TAppSettings& ASettings, const QByteArray& ABody)
    {
        WriteTestFile(TAppSettings::IniFileName(), ABody);
        ASettings.Load();
    }
};

TEST_F(AppSettingsTest, WithoutFileEveryFieldHasItsDefaultAndLoadWritesNothing)
{
    TAppSettings S;
    ExpectDefaults(S);
    S.Load();
    ExpectDefaults(S);
    EXPECT_FALSE(QFileInfo::exists(TAppSettings::IniFileName()));

    const TNbV5GParams P = S.Params();
    EXPECT_EQ(P.Energy, 30000);
    EXPECT_EQ(P.Density, 200);
    EXPECT_EQ(P.Quality, 5);
    EXPECT_EQ(P.Speed, 10);
    EXPECT_EQ(P.FeedLines, 64);
    EXPECT_FALSE(P.TextMode);
}

// One key per case; the field starts from a value other than its default so
// "leaves the current value" cannot pass by luck.
struct TParseCase {
    const char* Line;  // in section [Druck] unless it names its own
    std::function<void(TAppSettings&)> Prepare;
    std::function<void(const TAppSettings&)> Check;
};

TEST_F(AppSettingsTest, ValuesParseOrLeaveTheCurrentValue)
{
    const std::vector<TParseCase> Cases = {
        {"Energie=70000", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 70000); }},
        {"Energie=-15", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, -15); }},
        {"Energie=2147483647", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, INT32_MAX); }},
        {"Energie=-2147483648", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, INT32_MIN); }},
        {"Energie=2147483648", [](TAppSettings& S) { S.Energy = 111; },
         [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie=99999999999999999999", [](TAppSettings& S) { S.Energy = 111; },
         [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie=", [](TAppSettings& S) { S.Energy = 111; }, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie=12abc", [](TAppSettings& S) { S.Energy = 111; },
         [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie=1.5", [](TAppSettings& S) { S.Energy = 111; },
         [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie=0x10", [](TAppSettings& S) { S.Energy = 111; },
         [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 111); }},
        {"Energie =  250  ", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 250); }},
        {"Qualitaet=0", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Quality, 0); }},
        {"AutoTemperatur=2", [](TAppSettings& S) { S.AutoTemp = false; },
         [](const TAppSettings& S) { EXPECT_TRUE(S.AutoTemp); }},
        {"AutoTemperatur=-1", [](TAppSettings& S) { S.AutoTemp = false; },
         [](const TAppSettings& S) { EXPECT_TRUE(S.AutoTemp); }},
        {"AutoTemperatur=0", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_FALSE(S.AutoTemp); }},
        {"AutoTemperatur=ja", [](TAppSettings& S) { S.AutoTemp = false; },
         [](const TAppSettings& S) { EXPECT_FALSE(S.AutoTemp); }},
        {"AutoTemperatur=ja", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_TRUE(S.AutoTemp); }},
        {"AutoTemperatur=true", [](TAppSettings& S) { S.AutoTemp = false; },
         [](const TAppSettings& S) { EXPECT_FALSE(S.AutoTemp); }},
        {"[Drucker]\nName=", [](TAppSettings& S) { S.PrinterName = QStringLiteral("alt"); },
         [](const TAppSettings& S) { EXPECT_EQ(S.PrinterName, QString()); }},
        {"[Drucker]\nAdresse=11:22:33:44:55:66", [](TAppSettings&) {},
         [](const TAppSettings& S) { EXPECT_EQ(S.PrinterAddress, QStringLiteral("11:22:33:44:55:66")); }},
        {"[Editor]\nLetzteVorlage=/home/ä/Grüße.pellwerk", [](TAppSettings&) {},
         [](const TAppSettings& S) { EXPECT_EQ(S.LastTemplate, QStringLiteral("/home/ä/Grüße.pellwerk")); }},
        {"[Fenster]\nLinks=-300", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.WinLeft, -300); }},
        // A key in the wrong section is not the field's key.
        {"[Fenster]\nEnergie=5", [](TAppSettings&) {}, [](const TAppSettings& S) { EXPECT_EQ(S.Energy, 30000); }},
    };
    for (const TParseCase& C : Cases) {
        SCOPED_TRACE(C.Line);
        QByteArray Body(C.Line);
        if (!Body.startsWith('['))
            Body.prepend("[Druck]\n");
        TAppSettings S;
        C.Prepare(S);
        LoadText(S, Body + '\n');
        C.Check(S);
    }
}

TEST_F(AppSettingsTest, SectionAndKeyNamesMatchWithoutRegardToCase)
{
    TAppSettings S;
    LoadText(S, "[DRUCKER]\nname=Alpha\nADRESSE=01:02\n[druck]\nEnErGiE=123\n[fenster]\nmaximiert=1\n");
    EXPECT_EQ(S.PrinterName, QStringLiteral("Alpha"));
    EXPECT_EQ(S.PrinterAddress, QStringLiteral("01:02"));
    EXPECT_EQ(S.Energy, 123);
    EXPECT_TRUE(S.WinMaximized);

    // The rewrite updates those entries in place instead of adding a second
    // spelling of the same key.
    S.PrinterName = QStringLiteral("Beta");
    S.Energy = 456;
    S.Save();
    const QList<QByteArray> Lines = ContentLines(ReadTestFile(TAppSettings::IniFileName()));
    EXPECT_EQ(Lines.count("[DRUCKER]"), 1);
    EXPECT_EQ(Lines.count("name=Beta"), 1);
    EXPECT_EQ(Lines.count("EnErGiE=456"), 1);
    for (const QByteArray& Line : Lines) {
        EXPECT_FALSE(Line.startsWith("Name=")) << Line.constData();
        EXPECT_FALSE(Line.startsWith("Energie=")) << Line.constData();
        EXPECT_NE(Line, "[Drucker]");
    }
}

TEST_F(AppSettingsTest, SaveThenLoadGivesBackEveryField)
{
    const TAppSettings Saved = NonDefaultSettings();
    Saved.Save();
    TAppSettings Loaded;
    Loaded.Load();
    ExpectSame(Loaded, Saved);
}

TEST_F(AppSettingsTest, FreshFileHoldsEveryKeyInTableOrder)
{
    TAppSettings S;
    S.PrinterName = QStringLiteral("Ö");
    S.Save();
    const QByteArray Text = ReadTestFile(TAppSettings::IniFileName());
    const QList<QByteArray> Expected = {
        "[Drucker]",   "Name=\xC3\x96",     "Adresse=",          "AutoVerbinden=1",
        "[Druck]",     "Protokoll=0",       "Energie=30000",     "Dichte=200",
        "Qualitaet=5", "Geschwindigkeit=10", "V5XDichte=93",     "Paketgroesse=180",
        "PauseMs=20",  "AutoTemperatur=1",  "VorschubMm=8",      "AbstandMm=4",
        "[Editor]",    "LetzteVorlage=",    "ZoomProzent=200",   "[Fenster]",
        "Links=-1",    "Oben=-1",           "Breite=1400",       "Hoehe=860",
        "Maximiert=0",
    };
    EXPECT_EQ(ContentLines(Text), Expected);
}

TEST_F(AppSettingsTest, RewriteKeepsUnknownEntriesCommentsAndKeyOrder)
{
    WriteTestFile(TAppSettings::IniFileName(),
                  "; von Hand angelegt\n"
                  "\n"
                  "[Fenster]\n"
                  "Hoehe=500\n"
                  "Farbe=blau\n"
                  "Links=3\n"
                  "[Zusatz]\n"
                  "Wert=1\n"
                  "Pfad=C:\\alt\\ä.txt\n"
                  "[Druck]\n"
                  "# Energie nicht anfassen\n"
                  "Energie=100\n"
                  "Unbekannt=x=y\n");
    TAppSettings S;
    S.Load();
    EXPECT_EQ(S.WinHeight, 500);
    EXPECT_EQ(S.WinLeft, 3);
    S.Energy = 200;
    S.Save();

    const QList<QByteArray> Expected = {
        "; von Hand angelegt",
        "[Fenster]", "Hoehe=500", "Farbe=blau", "Links=3", "Oben=-1", "Breite=1400", "Maximiert=0",
        "[Zusatz]", "Wert=1", "Pfad=C:\\alt\\\xC3\xA4.txt",
        "[Druck]", "# Energie nicht anfassen", "Energie=200", "Unbekannt=x=y", "Protokoll=0", "Dichte=200",
        "Qualitaet=5", "Geschwindigkeit=10", "V5XDichte=93", "Paketgroesse=180", "PauseMs=20",
        "AutoTemperatur=1", "VorschubMm=8", "AbstandMm=4",
        "[Drucker]", "Name=", "Adresse=", "AutoVerbinden=1",
        "[Editor]", "LetzteVorlage=", "ZoomProzent=200",
    };
    EXPECT_EQ(ContentLines(ReadTestFile(TAppSettings::IniFileName())), Expected);
}

TEST_F(AppSettingsTest, ReadsUtf8WithAndWithoutByteOrderMarkAndKeepsTheChoice)
{
    for (const bool WithBom : {true, false}) {
        SCOPED_TRACE(WithBom ? "with BOM" : "without BOM");
        const QByteArray Body = "[Drucker]\nName=Drucker \xC3\xA4\xE2\x82\xAC\n[Druck]\nEnergie=42\n";
        TAppSettings S;
        LoadText(S, WithBom ? kBom + Body : Body);
        EXPECT_EQ(S.PrinterName, QStringLiteral("Drucker ä€"));
        EXPECT_EQ(S.Energy, 42);

        S.Save();
        const QByteArray Written = ReadTestFile(TAppSettings::IniFileName());
        EXPECT_EQ(Written.startsWith(kBom), WithBom);
        EXPECT_EQ(Written.count(kBom), WithBom ? 1 : 0);
        TAppSettings Again;
        Again.Load();
        EXPECT_EQ(Again.PrinterName, QStringLiteral("Drucker ä€"));
    }
}

TEST_F(AppSettingsTest, LineBreaksInTextCannotInjectKeys)
{
    // A printer name comes from the radio; it must not add or change keys.
    TAppSettings S;
    S.PrinterName = QStringLiteral("Falle\r\n[Druck]\nEnergie=1");
    S.LastTemplate = QStringLiteral("/a\nb.pellwerk");
    S.Save();
    TAppSettings Loaded;
    Loaded.Load();
    EXPECT_EQ(Loaded.Energy, 30000);
    EXPECT_EQ(Loaded.PrinterName, QStringLiteral("Falle  [Druck] Energie=1"));
    EXPECT_EQ(Loaded.LastTemplate, QStringLiteral("/a b.pellwerk"));
}

TEST_F(AppSettingsTest, SaveIntoReadOnlyFolderRaisesAndKeepsTheOldFile)
{
    const QByteArray Old = "[Druck]\nEnergie=777\n[Eigenes]\nA=1\n";
    WriteTestFile(TAppSettings::IniFileName(), Old);
    const QStringList Before = FolderEntries(TAppSettings::AppDir());
    TAppSettings S;
    S.Energy = 1;
    {
        ReadOnlyFolder Guard(TAppSettings::AppDir());
        if (!Guard.Effective())
            GTEST_SKIP() << "the folder cannot be made read-only for this user";
        try {
            S.Save();
            ADD_FAILURE() << "Save into a read-only folder did not raise";
        } catch (const ESettingsError& E) {
            EXPECT_TRUE(E.Message().contains(QStringLiteral("kann nicht geschrieben werden")))
                << E.Message().toStdString();
        }
    }
    EXPECT_EQ(ReadTestFile(TAppSettings::IniFileName()), Old);
    EXPECT_EQ(FolderEntries(TAppSettings::AppDir()), Before);
}

TEST_F(AppSettingsTest, SaveOnFullDiskRaisesAndKeepsTheOldFile)
{
    const QByteArray Old = "[Druck]\nEnergie=777\n";
    WriteTestFile(TAppSettings::IniFileName(), Old);
    const QString AppDir = TAppSettings::AppDir();
    const QString IniFileName = TAppSettings::IniFileName();
    TAppSettings S;
    S.Energy = 1;
    {
        FileSizeLimit Full(32);
        EXPECT_THROW(S.SaveToFile(IniFileName), ESettingsError);
    }
    EXPECT_EQ(ReadTestFile(IniFileName), Old);
    EXPECT_EQ(FolderEntries(AppDir), QStringList{QStringLiteral("einstellungen.ini")});
}

TEST_F(AppSettingsTest, FolderInPlaceOfTheFileReadsAsEmptyAndRefusesToSave)
{
    ASSERT_TRUE(QDir().mkpath(TAppSettings::IniFileName() + QStringLiteral("/inhalt")));
    TAppSettings S = NonDefaultSettings();
    S.Load();
    ExpectSame(S, NonDefaultSettings());
    EXPECT_THROW(S.Save(), ESettingsError);
    EXPECT_TRUE(QFileInfo(TAppSettings::IniFileName()).isDir());
    EXPECT_TRUE(QFileInfo::exists(TAppSettings::IniFileName() + QStringLiteral("/inhalt")));
}

struct TParamsCase {
    int32_t Energy, Density, Quality, Speed, FeedMm;
    uint16_t WantEnergy;
    int32_t WantDensity;
    uint8_t WantQuality, WantSpeed;
    uint16_t WantFeed;
};

TEST(AppSettingsParams, ValuesAreClampedToWhatTheCommandsCarry)
{
    const TParamsCase Cases[] = {
        {30000, 200, 5, 10, 8, 30000, 200, 5, 10, 64},
        {70000, 200, 5, 10, 8, 65535, 200, 5, 10, 64},
        {-1, 200, 5, 10, 8, 0, 200, 5, 10, 64},
        {0, 0, 0, 0, 0, 0, 0, 1, 1, 0},
        {65535, 500, 9, 256, -3, 65535, 500, 5, 255, 0},
        {1, -40, 1, 255, 60, 1, -40, 1, 255, 480},
        {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, INT32_MIN, 1, 1, 0},
        // The feed command carries 16 bits: the longest feed, not a wrapped one.
        {100, 100, 3, 3, 8191, 100, 100, 3, 3, 65528},
        {100, 100, 3, 3, 8192, 100, 100, 3, 3, 65535},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 65535, INT32_MAX, 5, 255, 65535},
    };
    for (const TParamsCase& C : Cases) {
        SCOPED_TRACE(testing::Message() << "Energy " << C.Energy << " Density " << C.Density << " Quality "
                                        << C.Quality << " Speed " << C.Speed << " FeedMm " << C.FeedMm);
        TAppSettings S;
        S.Energy = C.Energy;
        S.Density = C.Density;
        S.Quality = C.Quality;
        S.Speed = C.Speed;
        S.FeedMm = C.FeedMm;
        const TNbV5GParams P = S.Params();
        EXPECT_EQ(P.Energy, C.WantEnergy);
        EXPECT_EQ(P.Density, C.WantDensity);
        EXPECT_EQ(P.Quality, C.WantQuality);
        EXPECT_EQ(P.Speed, C.WantSpeed);
        EXPECT_EQ(P.FeedLines, C.WantFeed);
        EXPECT_EQ(P.TextMode, TNbV5GParams::Default().TextMode);
    }
}

} // namespace
