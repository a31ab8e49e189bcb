// Code elements in the label file: the four members written for codes only,
// their lenient reading, and files without codes staying as they were.

#include "model/builtin_templates.h"
#include "model/label_doc.h"

#include "model_fixtures.h"

#include <QDir>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QJsonObject Obj(const char* Json) { return QJsonDocument::fromJson(QByteArray(Json)).object(); }

TEST(CodeFile, ExactWrittenFormOfACodeElement)
{
    TLabelElement E(ekCode);
    E.Text = QStringLiteral("https://a.example/{NR}");
    E.CodeType = ctEan13;
    E.CodeEcc = ceH;
    E.CodeShowText = false;
    E.CodeModule = 4;
    TLabelDoc Doc;
    Doc.Elements.Add(E.Clone());
    EXPECT_TRUE(Doc.ToJSONString().endsWith(
        QStringLiteral(R"("elements":[{"kind":5,"x":16,"y":16,"w":120,"h":60,"text":"https:\/\/a.example\/{NR}",)"
                       R"("font":"Arial","size":32,"bold":false,"italic":false,"underline":false,"align":1,)"
                       R"("inverted":false,"lineWidth":3,"filled":false,"dither":true,"keepAspect":true,)"
                       R"("codeType":"ean13","codeEcc":"H","codeShowText":false,"codeModule":4}]})")))
        << Doc.ToJSONString().toStdString();
    EXPECT_EQ(E.KindName(), QStringLiteral("Code"));
}

using CodeFiles = TModelFileTest;

TEST_F(CodeFiles, EveryMemberRoundTripsThroughAFile)
{
    TLabelDoc Doc;
    for (int T = 0; T < kCodeTypeCount; ++T) {
        TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekCode));
        E->CodeType = static_cast<TCodeType>(T);
        E->CodeEcc = static_cast<TCodeEcc>(T % 4);
        E->CodeShowText = T % 2 == 0;
        E->CodeModule = T * 2;
        E->Text = QStringLiteral("Daten %1 ä€").arg(T);
    }
    Doc.SaveToFile(Path("codes.pellwerk"));
    TLabelDoc Back;
    Back.LoadFromFile(Path("codes.pellwerk"));
    ASSERT_EQ(Back.Elements.Count(), kCodeTypeCount);
    for (int T = 0; T < kCodeTypeCount; ++T) {
        const TLabelElement& E = *Back.Elements[T];
        EXPECT_EQ(E.Kind, ekCode);
        EXPECT_EQ(E.CodeType, static_cast<TCodeType>(T));
        EXPECT_EQ(E.CodeEcc, static_cast<TCodeEcc>(T % 4));
        EXPECT_EQ(E.CodeShowText, T % 2 == 0);
        EXPECT_EQ(E.CodeModule, T * 2);
        EXPECT_EQ(E.Text, QStringLiteral("Daten %1 ä€").arg(T));
    }
    Back.SaveToFile(Path("again.pellwerk"));
    EXPECT_EQ(ReadBytes(Path("again.pellwerk")), ReadBytes(Path("codes.pellwerk")));
}

TEST(CodeFile, MembersReadLeniently)
{
    const struct {
        const char* Json;
        TCodeType Type;
        TCodeEcc Ecc;
        bool ShowText;
        int32_t Module;
    } Cases[] = {
        {R"({"kind":5})", ctQr, ceM, true, 0},
        {R"({"kind":5,"codeType":"itf14","codeEcc":"Q","codeShowText":false,"codeModule":7})", ctItf14, ceQ, false, 7},
        {R"({"kind":5,"codeType":"pdf417","codeEcc":"x","codeShowText":"nein","codeModule":99})", ctQr, ceM, true, 20},
        {R"({"kind":5,"codeType":3,"codeEcc":"h","codeModule":-4})", ctQr, ceM, true, 0},
        {R"({"kind":5,"codeType":"gs1128","codeEcc":"L","codeModule":"3"})", ctGs1128, ceL, true, 0},
    };
    for (const auto& C : Cases) {
        const auto E = TLabelElement::FromJSON(Obj(C.Json));
        EXPECT_EQ(E->Kind, ekCode) << C.Json;
        EXPECT_EQ(E->CodeType, C.Type) << C.Json;
        EXPECT_EQ(E->CodeEcc, C.Ecc) << C.Json;
        EXPECT_EQ(E->CodeShowText, C.ShowText) << C.Json;
        EXPECT_EQ(E->CodeModule, C.Module) << C.Json;
    }
}

// Files without codes keep their exact earlier form: no code member appears
// for the other kinds, even when a hand-edited file carries them.
TEST(CodeFile, FilesWithoutCodesStayByteIdentical)
{
    const QString Old = QStringLiteral(
        R"({"format":"MirvoPellwerk","version":1,"name":"Alt","lengthMm":30,"landscape":false,"bgPreset":1,)"
        R"("bgMode":1,"bgDither":true,"bgLighten":0,"elements":[)"
        R"({"kind":0,"x":1,"y":2,"w":3,"h":4,"text":"T","font":"Arial","size":32,"bold":false,"italic":false,)"
        R"("underline":false,"align":1,"inverted":false,"lineWidth":3,"filled":false,"dither":true,"keepAspect":true},)"
        R"({"kind":4,"x":1,"y":2,"w":3,"h":4,"text":"","font":"Arial","size":32,"bold":false,"italic":false,)"
        R"("underline":false,"align":1,"inverted":false,"lineWidth":3,"filled":false,"dither":true,"keepAspect":true}]})");
    TLabelDoc Doc;
    Doc.FromJSONString(Old);
    EXPECT_EQ(Doc.ToJSONString(), Old);

    QString WithStray = Old;
    WithStray.replace(QStringLiteral(R"("keepAspect":true}]})"),
                      QStringLiteral(R"("keepAspect":true,"codeType":"ean8","codeModule":3}]})"));
    Doc.FromJSONString(WithStray);
    EXPECT_EQ(Doc.ToJSONString(), Old);

}

TEST_F(CodeFiles, BuiltinTemplatesCarryNoCodeMembers)
{
    CreateBuiltinTemplates(Dir.path());
    const QStringList Files = QDir(Dir.path()).entryList({QStringLiteral("*.pellwerk")}, QDir::Files);
    ASSERT_EQ(Files.size(), 6);
    for (const QString& F : Files)
        EXPECT_FALSE(ReadBytes(Path(F)).contains("\"code")) << F.toStdString();
}

}  // namespace
