// A templates folder full of files that are not labels — broken, empty,
// huge, not UTF-8, a picture bomb, a folder and a dangling link with the
// label extension — still lists its good labels at start-up and raises no
// error box.

#include "editor_fixture.h"
#include "hardening_fixture.h"

#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QListView>
#include <QStringConverter>

#include <gtest/gtest.h>

namespace {

void Write(const QString& Name, const QByteArray& Bytes)
{
    QFile F(QDir(TAppSettings::TemplateDir()).filePath(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly)) << Name.toStdString();
    ASSERT_EQ(F.write(Bytes), Bytes.size());
}

void WriteLabel(const QString& Stem, const QString& Name)
{
    TLabelDoc Doc;
    Doc.Name = Name;
    auto E = std::make_unique<TLabelElement>(ekText);
    E->Text = Name;
    Doc.Elements.Add(std::move(E));
    Doc.SaveToFile(QDir(TAppSettings::TemplateDir()).filePath(Stem + QStringLiteral(".pellwerk")));
}

QStringList Captions(TLabelMainForm& Form)
{
    EXPECT_TRUE(WaitForTemplates(Form));
    return ListCaptions(Form.findChild<QListView*>(QStringLiteral("LvTemplates")));
}

TEST(TemplatesFolder, BadFilesAreLeftOutWithoutAnError)
{
    ResetDataFolder();
    WriteLabel(QStringLiteral("A gut"), QStringLiteral("Gutes Etikett"));
    WriteLabel(QStringLiteral("Z gut"), QStringLiteral("Größe – zweites"));
    const QByteArray Good = FileBytes(QDir(TAppSettings::TemplateDir()).filePath(QStringLiteral("A gut.pellwerk")));
    ASSERT_FALSE(Good.isEmpty());

    Write(QStringLiteral("leer.pellwerk"), QByteArray());
    Write(QStringLiteral("nur Marke.pellwerk"), QByteArray("\xEF\xBB\xBF"));
    Write(QStringLiteral("abgeschnitten.pellwerk"), Good.left(Good.size() / 2));
    Write(QStringLiteral("Liste.pellwerk"), QByteArray("[{\"name\":\"kein Objekt\"}]"));
    // 24 MB of an unterminated string: read in full, then refused.
    Write(QStringLiteral("riesig.pellwerk"), "{\"name\":\"" + QByteArray(24 * 1024 * 1024, 'a'));
    // The good label in UTF-16 and a picture's bytes: not UTF-8 at all.
    auto ToUtf16 = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    Write(QStringLiteral("utf16.pellwerk"), ToUtf16(QString::fromUtf8(Good)));
    Write(QStringLiteral("binaer.pellwerk"), PngBomb(64, 64));
    // A label whose picture announces 100000 x 100000 pixels: its thumbnail
    // cannot be drawn, so it is not listed.
    {
        TLabelDoc Bomb;
        Bomb.Name = QStringLiteral("Bombe");
        auto E = std::make_unique<TLabelElement>(ekImage);
        E->SetImagePng(PngBomb(100000, 100000));
        Bomb.Elements.Add(std::move(E));
        Bomb.SaveToFile(QDir(TAppSettings::TemplateDir()).filePath(QStringLiteral("Bombe.pellwerk")));
    }
    ASSERT_TRUE(QDir(TAppSettings::TemplateDir()).mkdir(QStringLiteral("Ordner.pellwerk")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nirgends/da.pellwerk"),
                            QDir(TAppSettings::TemplateDir()).filePath(QStringLiteral("Verweis.pellwerk"))));
    const QStringList Before = QDir(TAppSettings::TemplateDir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

    TEditorFixture F;
    TLabelMainForm& Form = F.Create(false);
    EXPECT_EQ(Captions(Form), (QStringList{QStringLiteral("Gutes Etikett"), QStringLiteral("Größe – zweites")}));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty()) << F.Dialogs.Shown.join(QLatin1Char('\n')).toStdString();
    // Listing changes nothing in the folder (no built-in templates either:
    // the folder was not empty).
    EXPECT_EQ(QDir(TAppSettings::TemplateDir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              Before);

    // A rebuilt list (as after every save) comes to the same.
    Form.LoadTemplates();
    EXPECT_EQ(Captions(Form), (QStringList{QStringLiteral("Gutes Etikett"), QStringLiteral("Größe – zweites")}));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
}

TEST(TemplatesFolder, AFullDiskAtTheFirstStartStillGivesAWorkingEditor)
{
    ResetDataFolder();
    SmallDisk Disk(256 * 1024);
    const QString templates = QDir(TAppSettings::AppDir()).filePath(QStringLiteral("Vorlagen"));
    QDir(templates).removeRecursively();
    ASSERT_TRUE(QFile::link(Disk.Path(), templates));
    Disk.Fill();

    TEditorFixture F;
    TLabelMainForm& Form = F.Create(false);
    QCoreApplication::processEvents();
    Disk.Release();
    ASSERT_EQ(F.Dialogs.Shown.size(), 1) << F.Dialogs.Shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(F.Dialogs.Shown[0].startsWith(
        QStringLiteral("error: Die mitgelieferten Vorlagen konnten nicht angelegt werden:\r\n")))
        << F.Dialogs.Shown[0].toStdString();
    // No half-written template is listed, and the editor edits.
    EXPECT_TRUE(Captions(Form).isEmpty());
    Form.InsertText();
    EXPECT_EQ(Form.Doc().Elements.Count(), 1);
    QFile::remove(templates);
}

}  // namespace
