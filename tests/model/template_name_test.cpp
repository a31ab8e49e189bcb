// The quick read of a template's name agrees with the full load on every
// kind of file, and stops before the pictures.

#include "model_fixtures.h"

#include "model/label_doc.h"
#include "model/picture_io.h"
#include "model/template_name.h"

namespace {

class TemplateName : public TModelFileTest {};

TEST_F(TemplateName, AgreesWithTheFullLoad)
{
    const struct {
        const char* File;
        QByteArray Bytes;
    } Cases[] = {
        {"bom.pellwerk", QByteArray("\xEF\xBB\xBF{\"name\":\"Gr\xC3\xB6\xC3\x9F" "e\",\"lengthMm\":40}")},
        {"ohne Marke.pellwerk", QByteArray("{\"name\":\"Ohne\"}")},
        {"spaet.pellwerk", QByteArray("{\"lengthMm\":40,\"elements\":[{\"name\":\"innen\",\"text\":\"x\"}],"
                                      "\"name\":\"Au\\u00dfen \\\"zitiert\\\"\"}")},
        {"namenlos.v2.pellwerk", QByteArray("{\"lengthMm\":40,\"elements\":[]}")},
        {"zahl.pellwerk", QByteArray("{\"name\":12,\"lengthMm\":40}")},
        {"kaputtes utf8.pellwerk", QByteArray("{\"name\":\"a\xFF" "b\"}")},
        {"leer.pellwerk", QByteArray("{}")},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.File);
        const QString P = Path(QString::fromUtf8(C.File));
        WriteBytes(P, C.Bytes);
        TLabelDoc Doc;
        Doc.LoadFromFile(P);
        EXPECT_EQ(ReadTemplateName(P), Doc.Name);
    }
    // Text that is not clean UTF-8 still loads, with the decoder's
    // replacement character where the bad byte was.
    TLabelDoc Doc;
    Doc.LoadFromFile(Path(QStringLiteral("kaputtes utf8.pellwerk")));
    EXPECT_EQ(Doc.Name, QStringLiteral("a\uFFFDb"));
    Doc.LoadFromFile(Path(QStringLiteral("namenlos.v2.pellwerk")));
    EXPECT_EQ(Doc.Name, QStringLiteral("namenlos.v2"));
}

TEST_F(TemplateName, FilesThatCannotBeLabelsAreRefused)
{
    const struct {
        const char* File;
        QByteArray Bytes;
    } Cases[] = {
        {"leer.pellwerk", QByteArray()},
        {"liste.pellwerk", QByteArray("[{\"name\":\"kein Objekt\"}]")},
        {"text.pellwerk", QByteArray("\"name\"")},
        {"kein json.pellwerk", QByteArray("kein JSON")},
        {"offen.pellwerk", QByteArray("{\"lengthMm\":40,")},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.File);
        const QString P = Path(QString::fromUtf8(C.File));
        WriteBytes(P, C.Bytes);
        EXPECT_EQ(ErrorOf([&] { ReadTemplateName(P); }), QStringLiteral("Keine gültige Etikettendatei"));
    }
    EXPECT_FALSE(ErrorOf([&] { ReadTemplateName(Path(QStringLiteral("fehlt.pellwerk"))); }).isEmpty());
}

TEST_F(TemplateName, StopsBeforeThePictures)
{
    // The name stands near the start of every file this program writes; what follows
    // it is not even looked at, so a picture cut off in the middle does not
    // matter here (the full load refuses the file).
    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Foto");
    auto E = std::make_unique<TLabelElement>(ekImage);
    E->SetImagePng(BitmapToPng(NoisyPicture(300, 300, 7)));
    Doc.Elements.Add(std::move(E));
    const QByteArray Full = Doc.ToJSONUtf8();
    ASSERT_LT(Full.indexOf("\"name\":"), 100);
    const QString P = Path(QStringLiteral("abgeschnitten.pellwerk"));
    WriteBytes(P, Full.left(Full.size() / 2));
    EXPECT_EQ(ReadTemplateName(P), QStringLiteral("Foto"));
    TLabelDoc Reread;
    EXPECT_EQ(ErrorOf([&] { Reread.LoadFromFile(P); }), QStringLiteral("Keine gültige Etikettendatei"));
}

}  // namespace
