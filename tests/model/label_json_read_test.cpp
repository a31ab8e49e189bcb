// Reading label texts: defaults, clamps, wrong types, skipped members and
// refused texts.

#include "model/json_read.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include "model_fixtures.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QJsonObject Obj(const char* Json)
{
    return QJsonDocument::fromJson(QByteArray(Json)).object();
}

TEST(JsonMembers, ConvertOrFallBack)
{
    const QJsonObject O = Obj(R"({"i":42,"neg":-7,"frac":2.5,"big":1e12,"str":"12","t":true,"f":false,
                                  "s":"Text","n":null,"a":[1],"o":{}})");
    const struct {
        const char* Key;
        int32_t Int;
    } IntCases[] = {{"i", 42}, {"neg", -7}, {"frac", -1}, {"big", -1}, {"str", -1},
                    {"t", -1}, {"n", -1},   {"a", -1},    {"missing", -1}};
    for (const auto& C : IntCases)
        EXPECT_EQ(JsonInt(O, QString::fromLatin1(C.Key), -1), C.Int) << C.Key;

    EXPECT_EQ(JsonStr(O, QStringLiteral("s"), QStringLiteral("d")), QStringLiteral("Text"));
    for (const char* Key : {"i", "t", "n", "o", "missing"})
        EXPECT_EQ(JsonStr(O, QString::fromLatin1(Key), QStringLiteral("d")), QStringLiteral("d")) << Key;

    EXPECT_TRUE(JsonBool(O, QStringLiteral("t"), false));
    EXPECT_FALSE(JsonBool(O, QStringLiteral("f"), true));
    for (const char* Key : {"i", "s", "n", "missing"})
        EXPECT_TRUE(JsonBool(O, QString::fromLatin1(Key), true)) << Key;
}

TEST(LabelRead, RefusedTextsLeaveTheDocumentUntouched)
{
    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Alt");
    Doc.LengthMm = 55;
    Doc.Elements.Add(std::make_unique<TLabelElement>(ekLine));
    for (const char* Text : {"", "[]", "1", "\"a\"", "null", "{", "{\"name\":\"X\"", "{} x", "{\"a\":1,}"}) {
        try {
            Doc.FromJSONString(QString::fromUtf8(Text));
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EModelError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Keine gültige Etikettendatei")) << Text;
        }
        EXPECT_EQ(Doc.Name, QStringLiteral("Alt"));
        EXPECT_EQ(Doc.LengthMm, 55);
        EXPECT_EQ(Doc.Elements.Count(), 1);
    }
}

TEST(LabelRead, DocumentMembersTakeDefaultsAndClamps)
{
    const struct {
        const char* Json;
        int32_t LengthMm;
        bool Landscape;
        int32_t BgPreset, BgMode;
        bool BgDither;
        int32_t BgLighten;
    } Cases[] = {
        {"{}", 30, false, 0, 1, true, 0},
        {R"({"lengthMm":2,"bgLighten":120,"bgPreset":9,"bgMode":7})", 5, false, 7, 2, true, 95},
        {R"({"lengthMm":5000,"bgLighten":-3,"bgPreset":-1,"bgMode":-1})", 1000, false, 0, 0, true, 0},
        {R"({"lengthMm":77,"landscape":true,"bgPreset":5,"bgMode":0,"bgDither":false,"bgLighten":50})",
         77, true, 5, 0, false, 50},
        // wrong types and unreadable numbers fall back to the defaults
        {R"({"lengthMm":"40","landscape":1,"bgPreset":"3","bgMode":null,"bgDither":0,"bgLighten":12.5})",
         30, false, 0, 1, true, 0},
        {R"({"lengthMm":1e10,"format":"other","version":99,"unknown":[1,2]})", 30, false, 0, 1, true, 0},
    };
    for (const auto& C : Cases) {
        TLabelDoc Doc;
        Doc.LengthMm = 123;
        Doc.Landscape = true;
        Doc.BgLighten = 10;
        Doc.FromJSONString(QString::fromUtf8(C.Json));
        EXPECT_EQ(Doc.LengthMm, C.LengthMm) << C.Json;
        EXPECT_EQ(Doc.Landscape, C.Landscape) << C.Json;
        EXPECT_EQ(Doc.BgPreset, C.BgPreset) << C.Json;
        EXPECT_EQ(Doc.BgMode, C.BgMode) << C.Json;
        EXPECT_EQ(Doc.BgDither, C.BgDither) << C.Json;
        EXPECT_EQ(Doc.BgLighten, C.BgLighten) << C.Json;
    }
}

TEST(LabelRead, NameFileNameModifiedAndBackground)
{
    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Vorher");
    Doc.FileName = QStringLiteral("/x/y.pellwerk");
    Doc.Modified = true;
    Doc.SetBgPng(QByteArray("old"));
    Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));

    Doc.FromJSONString(QStringLiteral("{}"));  // empty object: empty label, name kept
    EXPECT_EQ(Doc.Name, QStringLiteral("Vorher"));
    EXPECT_EQ(Doc.FileName, QStringLiteral("/x/y.pellwerk"));
    EXPECT_TRUE(Doc.Modified);
    EXPECT_TRUE(Doc.BgPng().isEmpty());
    EXPECT_EQ(Doc.Elements.Count(), 0);

    Doc.FromJSONString(QStringLiteral(R"({"name":7})"));
    EXPECT_EQ(Doc.Name, QStringLiteral("Vorher"));
    Doc.FromJSONString(QStringLiteral(R"({"name":"K\u00e4se \/ Brot","bgImage":"AAEC\/w=="})"));
    EXPECT_EQ(Doc.Name, QStringLiteral("Käse / Brot"));
    EXPECT_EQ(Doc.BgPng(), QByteArray("\x00\x01\x02\xff", 4));
    Doc.FromJSONString(QStringLiteral(R"({"name":"a\\\/b\\/c\/\\"})"));  // escaped and raw slashes
    EXPECT_EQ(Doc.Name, QStringLiteral("a\\/b\\/c/\\"));
    for (const char* Json : {R"({"bgImage":""})", R"({"bgImage":5})"}) {
        Doc.SetBgPng(QByteArray("old"));
        Doc.FromJSONString(QString::fromUtf8(Json));
        EXPECT_TRUE(Doc.BgPng().isEmpty()) << Json;
    }
}

TEST(LabelRead, ElementMembersTakeDefaultsAndClamps)
{
    const struct {
        const char* Json;
        TElemKind Kind;
        int32_t X, Y, W, H, FontSize;
        TLblAlign Align;
        int32_t LineWidth;
    } Cases[] = {
        {R"({})", ekText, 0, 0, 100, 40, 32, laCenter, 3},
        {R"({"kind":2})", ekRect, 0, 0, 100, 40, 32, laCenter, 3},
        {R"({"kind":9,"w":0,"h":-4,"lineWidth":-3,"size":1,"align":5})", ekCode, 0, 0, 1, 1, 1, laRight, 1},
        {R"({"kind":-2,"x":-30,"y":2000,"w":7,"h":8,"size":-5,"align":-1,"lineWidth":0})",
         ekText, -30, 2000, 7, 8, -5, laLeft, 1},
        {R"({"kind":"3","x":"5","y":1.5,"w":true,"h":null,"size":"20","align":"2","lineWidth":[]})",
         ekText, 0, 0, 100, 40, 32, laCenter, 3},
        // Far edges beyond 32 bits are pulled back so the bounds stay computable.
        {R"({"kind":2,"x":2147483000,"y":2147483647,"w":1000,"h":5})", ekRect, 2147483000, 2147483646, 647, 1, 32,
         laCenter, 3},
    };
    for (const auto& C : Cases) {
        const auto E = TLabelElement::FromJSON(Obj(C.Json));
        EXPECT_EQ(E->Kind, C.Kind) << C.Json;
        EXPECT_EQ(E->BoundsRect(), (TDotRect{C.X, C.Y, C.X + C.W, C.Y + C.H})) << C.Json;
        EXPECT_EQ(E->FontSize, C.FontSize) << C.Json;
        EXPECT_EQ(E->Align, C.Align) << C.Json;
        EXPECT_EQ(E->LineWidth, C.LineWidth) << C.Json;
    }
}

TEST(LabelRead, ElementTextsFlagsAndPicture)
{
    const auto D = TLabelElement::FromJSON(Obj(R"({"text":5,"font":false,"bold":"true","image":""})"));
    EXPECT_TRUE(D->Text.isEmpty());
    EXPECT_EQ(D->FontName, QStringLiteral("Arial"));
    EXPECT_FALSE(D->Bold || D->Italic || D->Underline || D->Inverted || D->Filled);
    EXPECT_TRUE(D->Dither && D->KeepAspect);
    EXPECT_TRUE(D->ImagePng().isEmpty());

    const auto E = TLabelElement::FromJSON(
        Obj(R"({"text":"a\r\nb","font":"Mono","bold":true,"italic":true,"underline":true,"inverted":true,
                "filled":true,"dither":false,"keepAspect":false,"image":"bm90IGEgcG5n"})"));
    EXPECT_EQ(E->Text, QStringLiteral("a\r\nb"));
    EXPECT_EQ(E->FontName, QStringLiteral("Mono"));
    EXPECT_TRUE(E->Bold && E->Italic && E->Underline && E->Inverted && E->Filled);
    EXPECT_FALSE(E->Dither || E->KeepAspect);
    // Bytes that are no PNG are kept as they are; drawing reports them.
    EXPECT_EQ(E->ImagePng(), QByteArray("not a png"));
    EXPECT_THROW(E->Image(), EModelError);
}

TEST(LabelRead, ElementsArraySkipsWhatIsNoObject)
{
    const struct {
        const char* Json;
        std::vector<TElemKind> Kinds;
    } Cases[] = {
        {R"({"elements":[1,{"kind":2}]})", {ekRect}},
        {R"({"elements":[null,"x",[{"kind":1}],{"kind":4},true,{"kind":3},{}]})", {ekLine, ekEllipse, ekText}},
        {R"({"elements":{"kind":2}})", {}},
        {R"({"elements":"[]"})", {}},
        {R"({"elements":[]})", {}},
    };
    for (const auto& C : Cases) {
        TLabelDoc Doc;
        Doc.Elements.Add(std::make_unique<TLabelElement>(ekImage));
        Doc.FromJSONString(QString::fromUtf8(C.Json));
        std::vector<TElemKind> Kinds;
        for (const auto& E : Doc.Elements)
            Kinds.push_back(E->Kind);
        EXPECT_EQ(Kinds, C.Kinds) << C.Json;
    }
    TLabelDoc Doc;
    Doc.FromJSONString(QStringLiteral(R"({"elements":[1,{"kind":2}]})"));
    ASSERT_EQ(Doc.Elements.Count(), 1);
    EXPECT_EQ(Doc.Elements[0]->BoundsRect(), (TDotRect{0, 0, 100, 40}));
}

}  // namespace
