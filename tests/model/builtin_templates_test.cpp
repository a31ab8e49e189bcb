// Template file names and the six built-in templates.

#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include "model_fixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SafeFileName, TrimsReplacesAndFallsBack)
{
    const std::pair<QString, QString> Cases[] = {
        {QStringLiteral("  Preis: 5/kg  "), QStringLiteral("Preis_ 5_kg")},
        {QStringLiteral("a<b>c|d"), QStringLiteral("a_b_c_d")},
        {QStringLiteral("\\/:*?\"<>|"), QStringLiteral("_________")},
        {QStringLiteral("   "), QStringLiteral("Etikett")},
        {QString(), QStringLiteral("Etikett")},
        {QStringLiteral("\t\r\n x \x01"), QStringLiteral("x")},
        {QStringLiteral("Abgefüllt am"), QStringLiteral("Abgefüllt am")},
        {QStringLiteral("a.b (Kopie 2)"), QStringLiteral("a.b (Kopie 2)")},
    };
    for (const auto& [In, Out] : Cases)
        EXPECT_EQ(SafeFileName(In), Out) << In.toStdString();
}

struct TExpElem {
    TElemKind Kind;
    int32_t X, Y, W, H;
    const char* Text;
    int32_t FontSize;
    bool Bold;
    TLblAlign Align;
    bool Inverted;
    int32_t LineWidth;
};

struct TExpTemplate {
    const char* Name;
    int32_t LengthMm;
    bool Landscape;
    TBgPreset Preset;
    int32_t DW, DH;
    std::vector<TExpElem> Elements;
};

// Lines carry the defaults of a new element for the text fields.
TExpElem Line(int32_t X, int32_t Y, int32_t W, int32_t LW)
{
    return {ekLine, X, Y, W, LW + 2, "", 32, false, laCenter, false, LW};
}

TExpElem Txt(int32_t X, int32_t Y, int32_t W, int32_t H, const char* Text, int32_t Size, bool Bold,
             TLblAlign Align, bool Inverted = false)
{
    return {ekText, X, Y, W, H, Text, Size, Bold, Align, Inverted, 3};
}

const std::vector<TExpTemplate>& Expected()
{
    static const std::vector<TExpTemplate> T = {
        {"Namensschild", 60, true, bpRounded, 480, 384,
         {Txt(20, 24, 440, 50, "HALLO, ich bin", 34, true, laCenter),
          Txt(10, 110, 460, 120, "Max Mustermann", 52, true, laCenter), Line(60, 260, 360, 3),
          Txt(20, 280, 440, 60, "Firma / Abteilung", 30, false, laCenter)}},
        {"Preisschild", 30, false, bpDoubleFrame, 384, 240,
         {Txt(18, 18, 348, 50, "Artikelbezeichnung", 30, false, laCenter),
          Txt(18, 70, 348, 110, "9,99 €", 88, true, laCenter),
          Txt(18, 186, 348, 34, "inkl. MwSt.", 22, false, laCenter)}},
        {"Adresse", 40, false, bpNone, 384, 320,
         {Txt(12, 8, 360, 30, "Absender: Name, Straße 1, 12345 Ort", 18, false, laLeft), Line(12, 42, 360, 2),
          Txt(12, 60, 360, 240, "Vorname Nachname\r\nStraße 12\r\n12345 Musterstadt", 34, true, laLeft)}},
        {"Achtung zerbrechlich", 40, false, bpStripes, 384, 320,
         {Txt(0, 28, 384, 80, "ACHTUNG", 64, true, laCenter, true),
          Txt(10, 124, 364, 150, "Zerbrechlich!\r\nVorsichtig behandeln", 40, true, laCenter)}},
        {"Abgefüllt am", 25, false, bpCorners, 384, 200,
         {Txt(20, 20, 344, 50, "Abgefüllt am", 34, false, laCenter),
          Txt(20, 80, 344, 90, "{DATUM}", 64, true, laCenter)}},
        {"Nummerierung", 20, false, bpFrame, 384, 160, {Txt(10, 10, 364, 140, "Nr. {NR}", 96, true, laCenter)}},
    };
    return T;
}

QStringList ExpectedFiles()
{
    QStringList Files;
    for (const auto& T : Expected())
        Files << QString::fromUtf8(T.Name) + QStringLiteral(".pellwerk");
    Files.sort();
    return Files;
}

TEST(BuiltinTemplates, WritesTheSixTemplatesAsTabled)
{
    QTemporaryDir Dir;
    CreateBuiltinTemplates(Dir.path());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files, QDir::Name), ExpectedFiles());

    for (const auto& T : Expected()) {
        const QString Name = QString::fromUtf8(T.Name);
        SCOPED_TRACE(T.Name);
        const QString Path = QDir(Dir.path()).filePath(Name + QStringLiteral(".pellwerk"));
        TLabelDoc Doc;
        Doc.LoadFromFile(Path);
        EXPECT_EQ(Doc.Name, Name);
        EXPECT_EQ(Doc.LengthMm, T.LengthMm);
        EXPECT_EQ(Doc.Landscape, T.Landscape);
        EXPECT_EQ(Doc.BgPreset, T.Preset);
        EXPECT_EQ(Doc.BgMode, bmFill);
        EXPECT_TRUE(Doc.BgDither);
        EXPECT_EQ(Doc.BgLighten, 0);
        EXPECT_TRUE(Doc.BgPng().isEmpty());
        EXPECT_EQ(Doc.DesignWidth(), T.DW);
        EXPECT_EQ(Doc.DesignHeight(), T.DH);
        ASSERT_EQ(Doc.Elements.Count(), int(T.Elements.size()));
        for (int I = 0; I < Doc.Elements.Count(); ++I) {
            const TLabelElement& E = *Doc.Elements[I];
            const TExpElem& X = T.Elements[size_t(I)];
            SCOPED_TRACE(I);
            EXPECT_EQ(E.Kind, X.Kind);
            EXPECT_EQ(E.BoundsRect(), (TDotRect{X.X, X.Y, X.X + X.W, X.Y + X.H}));
            EXPECT_EQ(E.Text, QString::fromUtf8(X.Text));
            EXPECT_EQ(E.FontSize, X.FontSize);
            EXPECT_EQ(E.Bold, X.Bold);
            EXPECT_EQ(E.Align, X.Align);
            EXPECT_EQ(E.Inverted, X.Inverted);
            EXPECT_EQ(E.LineWidth, X.LineWidth);
            EXPECT_EQ(E.FontName, QStringLiteral("Arial"));
            EXPECT_FALSE(E.Italic || E.Underline || E.Filled);
            EXPECT_TRUE(E.Dither && E.KeepAspect);
            EXPECT_TRUE(E.ImagePng().isEmpty());
        }
    }
}

TEST(BuiltinTemplates, ReplacesExistingFilesOfTheSameName)
{
    QTemporaryDir Fresh, Dir;
    CreateBuiltinTemplates(Fresh.path());
    const QString Target = QDir(Dir.path()).filePath(QStringLiteral("Preisschild.pellwerk"));
    WriteBytes(Target, QByteArray("{\"name\":\"alt\"}"));
    CreateBuiltinTemplates(Dir.path());
    EXPECT_EQ(ReadBytes(Target), ReadBytes(QDir(Fresh.path()).filePath(QStringLiteral("Preisschild.pellwerk"))));
}

TEST(BuiltinTemplates, WriteErrorStopsAndKeepsWhatWasWritten)
{
    QTemporaryDir Dir;
    EXPECT_THROW(CreateBuiltinTemplates(QDir(Dir.path()).filePath(QStringLiteral("missing"))), EModelError);

    // A folder in the way of the third template.
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Adresse.pellwerk")));
    EXPECT_THROW(CreateBuiltinTemplates(Dir.path()), EModelError);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("Namensschild.pellwerk"), QStringLiteral("Preisschild.pellwerk")}));
}

}  // namespace
