// The written text form, Base64, and saving and loading label files.

#include "model/base64.h"
#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"

#include "model_fixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Every escape case, a code unit 0 and a lone surrogate (kept as they are).
const QString kTricky = QStringLiteral("a\"b\\c/d\b\t\n\f\r") + QChar(0) + QChar(0x01) + QChar(0x1F)
                        + QChar(0x7F) + QStringLiteral("äé€😀") + QChar(0xDC00);
const QByteArray kTrickyWritten = QByteArray(R"(a\"b\\c\/d\b\t\n\f\r\u0000\u0001\u001F)") + '\x7F'
                                  + R"(\u00E4\u00E9\u20AC\uD83D\uDE00\uDC00)";

void FillEveryField(TLabelDoc& Doc)
{
    Doc.Name = kTricky;
    Doc.LengthMm = 42;
    Doc.Landscape = true;
    Doc.BgPreset = bpDotted;
    Doc.BgMode = bmStretch;
    Doc.BgDither = false;
    Doc.BgLighten = 35;
    Doc.SetBgPng(QByteArray("\xFF\xFF\xFF\xFB\xEF", 5));  // Base64 with slashes and a fill character

    TLabelElement* T = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
    T->X = -5;
    T->Y = 7;
    T->W = 100;
    T->H = 40;
    T->Text = QStringLiteral("Zeile1\r\nZeile2 \"q\"");
    T->FontName = QStringLiteral("Liberation Sans");
    T->FontSize = 20;
    T->Bold = true;
    T->Underline = true;
    T->Align = laRight;
    T->Inverted = true;
    T->KeepAspect = false;

    Doc.Elements.Add(std::make_unique<TLabelElement>(ekImage))->SetImagePng(QByteArray(1, '\0'));
}

TEST(LabelText, ExactWrittenForm)
{
    TLabelDoc Empty;
    EXPECT_EQ(Empty.ToJSONString(),
              QStringLiteral(R"({"format":"MirvoPellwerk","version":1,"name":"Neues Etikett","lengthMm":30,)"
                             R"("landscape":false,"bgPreset":0,"bgMode":1,"bgDither":true,"bgLighten":0,)"
                             R"("elements":[]})"));

    TLabelDoc Doc;
    FillEveryField(Doc);
    const QByteArray Expected =
        R"({"format":"MirvoPellwerk","version":1,"name":")" + kTrickyWritten
        + R"(","lengthMm":42,"landscape":true,"bgPreset":4,"bgMode":2,"bgDither":false,"bgLighten":35,)"
          R"("bgImage":"\/\/\/\/++8=","elements":[)"
          R"({"kind":0,"x":-5,"y":7,"w":100,"h":40,"text":"Zeile1\r\nZeile2 \"q\"","font":"Liberation Sans",)"
          R"("size":20,"bold":true,"italic":false,"underline":true,"align":2,"inverted":true,"lineWidth":3,)"
          R"("filled":false,"dither":true,"keepAspect":false},)"
          R"({"kind":1,"x":16,"y":16,"w":120,"h":60,"text":"","font":"Arial","size":32,"bold":false,)"
          R"("italic":false,"underline":false,"align":1,"inverted":false,"lineWidth":3,"filled":false,)"
          R"("dither":true,"keepAspect":true,"image":"AA=="}]})";
    EXPECT_EQ(Doc.ToJSONUtf8(), Expected);
    EXPECT_EQ(Doc.ToJSONString(), QString::fromLatin1(Expected));

    // and it reads back unchanged
    TLabelDoc Back;
    Back.FromJSONString(Doc.ToJSONString());
    EXPECT_EQ(Back.Name, kTricky);
    EXPECT_EQ(Back.BgPng(), Doc.BgPng());
    ASSERT_EQ(Back.Elements.Count(), 2);
    EXPECT_EQ(Back.Elements[0]->Text, Doc.Elements[0]->Text);
    EXPECT_EQ(Back.ToJSONUtf8(), Expected);
}

TEST(LabelText, Base64MatchesTheStandardForEveryTailLength)
{
    QByteArray Bytes;
    for (int N = 0; N < 12; ++N) {
        EXPECT_EQ(BytesToBase64(Bytes), Bytes.toBase64()) << N;
        EXPECT_EQ(Base64ToBytes(Bytes.toBase64()), Bytes) << N;
        Bytes.append(char(0xFF - 37 * N));
    }
    EXPECT_EQ(BytesToBase64(QByteArray("\xFF\xFF\xFF\xFB\xEF", 5)), QByteArray("////++8="));
    // Line breaks and other foreign characters in hand-edited files are skipped.
    EXPECT_EQ(Base64ToBytes(QStringView(u"AA EC\r\n/w==")), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(Base64ToBytes(QStringView(u"////++8=")), QByteArray("\xFF\xFF\xFF\xFB\xEF", 5));
}

using LabelFiles = TModelFileTest;

TEST_F(LabelFiles, SaveAndLoadReproduceEveryFieldByteForByte)
{
    TLabelDoc Doc;
    FillEveryField(Doc);
    Doc.SetBgPng(BitmapToPng(NoisyPicture(50, 30, 1)));
    Doc.Elements[1]->SetImagePng(BitmapToPng(NoisyPicture(17, 23, 2)));
    Doc.Modified = true;

    Doc.SaveToFile(Path("one.pellwerk"));
    EXPECT_EQ(Doc.FileName, Path("one.pellwerk"));
    EXPECT_FALSE(Doc.Modified);
    const QByteArray Saved = ReadBytes(Path("one.pellwerk"));
    ASSERT_TRUE(Saved.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(Saved.mid(3), Doc.ToJSONUtf8());
    EXPECT_TRUE(std::all_of(Saved.begin() + 3, Saved.end(), [](char C) { return uchar(C) < 0x80; }));

    TLabelDoc Back;
    Back.Modified = true;
    Back.LoadFromFile(Path("one.pellwerk"));
    EXPECT_EQ(Back.Name, kTricky);  // from the file's "name", not the file name
    EXPECT_EQ(Back.FileName, Path("one.pellwerk"));
    EXPECT_FALSE(Back.Modified);
    EXPECT_EQ(Back.BgPng(), Doc.BgPng());
    EXPECT_EQ(Back.Elements[1]->ImagePng(), Doc.Elements[1]->ImagePng());
    EXPECT_EQ(Back.BgImage(), NoisyPicture(50, 30, 1));

    Back.SaveToFile(Path("two.pellwerk"));
    EXPECT_EQ(ReadBytes(Path("two.pellwerk")), Saved);
}

TEST_F(LabelFiles, ForeignFileWithoutMarkWithWhitespaceAndPlainUtf8)
{
    WriteBytes(Path("plain.pellwerk"),
               QStringLiteral("{\n  \"name\" : \"Käse/Brot 😀\",\r\n  \"lengthMm\" : 44,\n"
                              "  \"elements\" : [ { \"kind\" : 2, \"text\" : \"ü\" } ]\n}\n")
                   .toUtf8());
    WriteBytes(Path("marked.pellwerk"),
               QByteArray("\xEF\xBB\xBF") + R"({"name":"K\u00E4se\/Brot \uD83D\uDE00","lengthMm":44,)"
                   + R"("elements":[{"kind":2,"text":"\u00FC"}]})");
    TLabelDoc A, B;
    A.LoadFromFile(Path("plain.pellwerk"));
    B.LoadFromFile(Path("marked.pellwerk"));
    EXPECT_EQ(A.Name, QStringLiteral("Käse/Brot 😀"));
    EXPECT_EQ(A.LengthMm, 44);
    ASSERT_EQ(A.Elements.Count(), 1);
    EXPECT_EQ(A.Elements[0]->Text, QStringLiteral("ü"));
    EXPECT_EQ(A.ToJSONUtf8(), B.ToJSONUtf8());
}

TEST_F(LabelFiles, NameComesFromTheFileWhenTheTextHasNone)
{
    const struct {
        const char* File;
        const char* Text;
        const char* Name;
    } Cases[] = {
        {"my.label.pellwerk", "{}", "my.label"},
        {"Preis.pellwerk", R"({"name":5})", "Preis"},
        {"noext", "{}", "noext"},
        {"Preis.pellwerk", R"({"name":"Drinnen"})", "Drinnen"},
    };
    for (const auto& C : Cases) {
        WriteBytes(Path(C.File), QByteArray(C.Text));
        TLabelDoc Doc;
        Doc.LoadFromFile(Path(C.File));
        EXPECT_EQ(Doc.Name, QString::fromUtf8(C.Name)) << C.File;
    }
}

TEST_F(LabelFiles, FailedLoadChangesNothing)
{
    WriteBytes(Path("broken.pellwerk"), QByteArray("\xEF\xBB\xBF[1,2]"));
    QDir(Dir.path()).mkdir(QStringLiteral("folder.pellwerk"));
    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Offen");
    Doc.FileName = QStringLiteral("/da/offen.pellwerk");
    Doc.Modified = true;
    Doc.Elements.Add(std::make_unique<TLabelElement>(ekRect));

    EXPECT_EQ(ErrorOf([&] { Doc.LoadFromFile(Path("broken.pellwerk")); }),
              QStringLiteral("Keine gültige Etikettendatei"));
    EXPECT_EQ(ErrorOf([&] { Doc.LoadFromFile(Path("missing.pellwerk")); }),
              QStringLiteral("Die Datei \"%1\" wurde nicht gefunden").arg(Path("missing.pellwerk")));
    EXPECT_EQ(ErrorOf([&] { Doc.LoadFromFile(Path("folder.pellwerk")); }),
              QStringLiteral("Die Datei \"%1\" wurde nicht gefunden").arg(Path("folder.pellwerk")));
    EXPECT_EQ(Doc.Name, QStringLiteral("Offen"));
    EXPECT_EQ(Doc.FileName, QStringLiteral("/da/offen.pellwerk"));
    EXPECT_TRUE(Doc.Modified);
    EXPECT_EQ(Doc.Elements.Count(), 1);
}

// Makes every write beyond MaxBytes fail as on a full disk, for this process.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t MaxBytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit L = FOld;
        L.rlim_cur = MaxBytes;
        setrlimit(RLIMIT_FSIZE, &L);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

class SaveFailure : public LabelFiles {
protected:
    void SetUp() override
    {
        TLabelDoc Old;
        Old.Name = QStringLiteral("Alt");
        Old.SaveToFile(Path("label.pellwerk"));
        OldBytes = ReadBytes(Path("label.pellwerk"));

        Doc.Name = QStringLiteral("Neu");
        Doc.SetBgPng(BitmapToPng(NoisyPicture(64, 64, 5)));
        Doc.FileName = QStringLiteral("/vorher.pellwerk");
        Doc.Modified = true;
    }

    void ExpectOldFileAndDocumentUnchanged()
    {
        EXPECT_EQ(ReadBytes(Path("label.pellwerk")), OldBytes);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("label.pellwerk")});  // no temporary left behind
        EXPECT_EQ(Doc.FileName, QStringLiteral("/vorher.pellwerk"));
        EXPECT_TRUE(Doc.Modified);
    }

    TLabelDoc Doc;
    QByteArray OldBytes;
};

TEST_F(SaveFailure, FullDiskKeepsTheOldFile)
{
    ASSERT_GT(Doc.ToJSONUtf8().size(), 8192);
    {
        const TFileSizeLimit Limit(4096);
        EXPECT_EQ(ErrorOf([&] { Doc.SaveToFile(Path("label.pellwerk")); }),
                  QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden").arg(Path("label.pellwerk")));
    }
    ExpectOldFileAndDocumentUnchanged();
}

TEST_F(SaveFailure, ReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THROW(Doc.SaveToFile(Path("label.pellwerk")), EModelError);
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ExpectOldFileAndDocumentUnchanged();
}

TEST_F(SaveFailure, MissingFolder)
{
    EXPECT_THROW(Doc.SaveToFile(Path("nowhere/label.pellwerk")), EModelError);
    ExpectOldFileAndDocumentUnchanged();
}

}  // namespace
