// The templates list at scale: names first, thumbnails from workers and from
// the cache kept between runs, the search field, and the folder watched for
// changes made by other programs.

#include "editor_fixture.h"

#include "editor/paint_box.h"
#include "editor/status_bar.h"
#include "editor/template_browser.h"
#include "editor/template_filter.h"
#include "editor/template_loader.h"
#include "editor/thumbnail_cache.h"
#include "model/label_doc.h"
#include "model/picture_io.h"
#include "model/placeholders.h"
#include "model/thumbnail.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QSize ThumbSize(TTemplateBrowser::ThumbW, TTemplateBrowser::ThumbH);

QString TemplatePath(const QString& Stem)
{
    return QDir(TAppSettings::TemplateDir()).filePath(Stem + QStringLiteral(".pellwerk"));
}

// A label with a text and, when asked for, a picture of a few colours.
void WriteLabel(const QString& Stem, const QString& Name, const QString& Text = QStringLiteral("Hallo"),
                int PictureSide = 0)
{
    TLabelDoc Doc;
    Doc.Name = Name;
    Doc.LengthMm = 20 + static_cast<int>(qHash(Name) % 40);
    Doc.BgPreset = bpFrame;
    auto E = std::make_unique<TLabelElement>(ekText);
    E->Text = Text;
    Doc.Elements.Add(std::move(E));
    if (PictureSide > 0) {
        QImage Img(PictureSide, PictureSide, QImage::Format_RGB32);
        for (int Y = 0; Y < PictureSide; ++Y)
            for (int X = 0; X < PictureSide; ++X)
                Img.setPixel(X, Y, qRgb(X * 7 % 256, Y * 13 % 256, (X ^ Y) % 256));
        auto P = std::make_unique<TLabelElement>(ekImage);
        P->X = 40;
        P->Y = 40;
        P->W = 200;
        P->H = 150;
        P->SetImagePng(BitmapToPng(Img));
        Doc.Elements.Add(std::move(P));
    }
    Doc.SaveToFile(TemplatePath(Stem));
}

QImage Expected(const QString& Path)
{
    TLabelDoc Doc;
    Doc.LoadFromFile(Path);
    return RenderThumbnail(Doc, ThumbSize.width(), ThumbSize.height());
}

QImage ShownThumb(const TTemplateBrowser& B, const QString& Path)
{
    const int Row = B.Model()->RowOf(Path);
    if (Row < 0)
        return {};
    return B.Model()->index(Row).data(Qt::DecorationRole).value<QPixmap>().toImage().convertToFormat(
        QImage::Format_RGB32);
}

QColor Base()
{
    return QGuiApplication::palette().color(QPalette::Base);
}

class TemplateBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        ASSERT_TRUE(CacheDir.isValid());
        QDir().mkpath(TAppSettings::TemplateDir());
    }
    void TearDown() override { SetPlaceholderClock(std::nullopt); }

    std::unique_ptr<TTemplateBrowser> Browser()
    {
        TTemplateBrowser::TOptions O;
        O.CacheFolder = CacheDir.path();
        auto B = std::make_unique<TTemplateBrowser>(O);
        B->resize(244, 600);
        return B;
    }
    static bool Settle(const TTemplateBrowser& B)
    {
        return QTest::qWaitFor([&B] { return !B.Loading(); }, 30000);
    }

    QTemporaryDir CacheDir;
};

TEST_F(TemplateBrowser, NamesComeFirstAndEveryThumbnailMatchesTheRendering)
{
    // Among them a few with pictures, a hidden one and one that cannot be a label.
    QStringList Paths;
    for (int I = 0; I < 24; ++I) {
        const QString Stem = QStringLiteral("Vorlage %1").arg(I, 2, 10, QLatin1Char('0'));
        WriteLabel(Stem, QStringLiteral("Name %1").arg(I), QStringLiteral("Zeile %1").arg(I), I % 6 == 0 ? 300 : 0);
        Paths << TemplatePath(Stem);
    }
    WriteLabel(QStringLiteral(".versteckt"), QStringLiteral("Versteckt"));
    Paths.prepend(TemplatePath(QStringLiteral(".versteckt")));
    QFile Bad(TemplatePath(QStringLiteral("kaputt")));
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write("{\"name\": \"Kaputt\", \"elements\": [");
    Bad.close();

    auto B = Browser();
    B->show();
    B->Reload();
    // The names are there at once (the broken file too, until its full load
    // has failed); no thumbnail needed to be drawn for that.
    EXPECT_EQ(B->Model()->rowCount(), 26);
    EXPECT_EQ(B->Model()->NameAt(1), QStringLiteral("Name 0"));
    ASSERT_TRUE(Settle(*B));
    EXPECT_EQ(B->Model()->Paths(), Paths);
    for (const QString& P : Paths) {
        SCOPED_TRACE(P.toStdString());
        EXPECT_TRUE(B->Model()->index(B->Model()->RowOf(P)).data(TTemplateListModel::HasThumbRole).toBool());
        EXPECT_EQ(ShownThumb(*B, P), Expected(P));
    }
    // Every drawn thumbnail was kept.
    EXPECT_EQ(QDir(CacheDir.path()).entryList({QStringLiteral("*.png")}, QDir::Files).size(), 25);
}

TEST_F(TemplateBrowser, TheCacheServesTheSecondStartAndNeverAStaleOrForeignPicture)
{
    WriteLabel(QStringLiteral("Preis"), QStringLiteral("Preis 1"));
    const QString Path = TemplatePath(QStringLiteral("Preis"));
    const TThumbnailCache Cache(CacheDir.path());
    const QImage Real = TTemplateLoader::Load(Path, Cache, ThumbSize, Base()).Thumb;
    ASSERT_EQ(Real, Expected(Path));

    // A second load takes the kept picture: one planted under the file's key
    // shows, so it cannot have been drawn anew.
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QByteArray Bytes = F.readAll();
    F.close();
    const QByteArray Hash = TemplateContentHash(Bytes);
    const QString Entry = Cache.EntryPath(Hash, ThumbSize, Base());
    ASSERT_TRUE(QFileInfo::exists(Entry));
    QImage Planted(ThumbSize, QImage::Format_RGB32);
    Planted.fill(Qt::red);
    TLabelDoc Plain;
    Cache.Store(Hash, Plain, Planted, Base());
    TThumbResult Hit = TTemplateLoader::Load(Path, Cache, ThumbSize, Base());
    EXPECT_TRUE(Hit.Ok);
    EXPECT_EQ(Hit.Thumb, Planted);
    EXPECT_TRUE(Hit.Name.isEmpty());  // nothing was loaded

    // The same file rewritten with other content of the same size and the
    // same modification time: drawn anew.
    const QDateTime When = QFileInfo(Path).lastModified();
    WriteLabel(QStringLiteral("Preis"), QStringLiteral("Preis 2"));
    {
        QFile W(Path);
        ASSERT_TRUE(W.open(QIODevice::ReadWrite));
        ASSERT_TRUE(W.setFileTime(When, QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(QFileInfo(Path).size(), Bytes.size());
    ASSERT_EQ(QFileInfo(Path).lastModified(), When);
    const TThumbResult Changed = TTemplateLoader::Load(Path, Cache, ThumbSize, Base());
    EXPECT_EQ(Changed.Thumb, Expected(Path));
    EXPECT_NE(Changed.Thumb, Planted);
    EXPECT_EQ(Changed.Name, QStringLiteral("Preis 2"));

    // Garbage, a picture without the key and a cut-off entry are all ignored
    // and written anew.
    QFile G(Path);
    ASSERT_TRUE(G.open(QIODevice::ReadOnly));
    const QString NewEntry = Cache.EntryPath(TemplateContentHash(G.readAll()), ThumbSize, Base());
    G.close();
    QByteArray Png;
    {
        QBuffer Buf(&Png);
        Buf.open(QIODevice::WriteOnly);
        Planted.save(&Buf, "PNG");
    }
    QByteArray Kept;
    {
        QFile K(NewEntry);
        ASSERT_TRUE(K.open(QIODevice::ReadOnly));
        Kept = K.readAll();
    }
    for (const QByteArray& Junk : {QByteArray("kein Bild"), Png, Kept.left(Kept.size() / 2)}) {
        QFile J(NewEntry);
        ASSERT_TRUE(J.open(QIODevice::WriteOnly | QIODevice::Truncate));
        J.write(Junk);
        J.close();
        EXPECT_EQ(TTemplateLoader::Load(Path, Cache, ThumbSize, Base()).Thumb, Expected(Path));
        ASSERT_TRUE(J.open(QIODevice::ReadOnly));
        EXPECT_EQ(J.readAll(), Kept);  // rewritten whole
    }
}

TEST_F(TemplateBrowser, AnUnwritableCacheOnlyCostsTime)
{
    WriteLabel(QStringLiteral("A"), QStringLiteral("A"));
    // The cache folder's place is taken by a file: nothing can be kept.
    const QString Blocked = QDir(CacheDir.path()).filePath(QStringLiteral("belegt"));
    QFile F(Blocked);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.close();
    const TThumbnailCache Cache(QDir(Blocked).filePath(QStringLiteral("Vorschaubilder")));
    for (int I = 0; I < 2; ++I) {
        const TThumbResult R = TTemplateLoader::Load(TemplatePath(QStringLiteral("A")), Cache, ThumbSize, Base());
        EXPECT_TRUE(R.Ok);
        EXPECT_EQ(R.Thumb, Expected(TemplatePath(QStringLiteral("A"))));
    }
}

TEST_F(TemplateBrowser, ADatedTemplateShowsTodayNotTheDayItWasFirstDrawn)
{
    WriteLabel(QStringLiteral("Datum"), QStringLiteral("Datum"), QStringLiteral("{DATUM}"));
    WriteLabel(QStringLiteral("Zeit"), QStringLiteral("Zeit"), QStringLiteral("um {zeit}"));
    const TThumbnailCache Cache(CacheDir.path());
    for (const QString& Stem : {QStringLiteral("Datum"), QStringLiteral("Zeit")}) {
        SCOPED_TRACE(Stem.toStdString());
        const QString Path = TemplatePath(Stem);
        SetPlaceholderClock(QDateTime(QDate(2026, 3, 1), QTime(9, 15)));
        const QImage First = TTemplateLoader::Load(Path, Cache, ThumbSize, Base()).Thumb;
        EXPECT_EQ(First, Expected(Path));
        // The same day and minute: from the cache.
        EXPECT_TRUE(TTemplateLoader::Load(Path, Cache, ThumbSize, Base()).Name.isEmpty());
        SetPlaceholderClock(QDateTime(QDate(2026, 3, 2), QTime(10, 47)));
        const TThumbResult Next = TTemplateLoader::Load(Path, Cache, ThumbSize, Base());
        EXPECT_FALSE(Next.Name.isEmpty());  // drawn anew
        EXPECT_EQ(Next.Thumb, Expected(Path));
        EXPECT_NE(Next.Thumb, First);
    }
    // The time counts by the minute, the date only by the day.
    SetPlaceholderClock(QDateTime(QDate(2026, 3, 2), QTime(10, 48)));
    EXPECT_TRUE(TTemplateLoader::Load(TemplatePath(QStringLiteral("Datum")), Cache, ThumbSize, Base()).Name.isEmpty());
    EXPECT_FALSE(TTemplateLoader::Load(TemplatePath(QStringLiteral("Zeit")), Cache, ThumbSize, Base()).Name.isEmpty());
}

TEST(TemplateSearch, KeysAreBlindToCaseAndAccents)
{
    const struct {
        const char16_t* Name;
        const char16_t* Typed;
        bool Found;
    } Cases[] = {
        {u"Äpfel", u"apf", true},      {u"Äpfel", u"ÄPF", true},       {u"apfelsaft", u"Äpfel", true},
        {u"Straße", u"strasse", true}, {u"STRASSE", u"straße", true},  {u"Über uns", u"uber", true},
        {u"Café", u"CAFE", true},      {u"Preis", u"reis", true},      {u"Preis", u"Reise", false},
        {u"Äpfel", u"Apfl", false},
    };
    for (const auto& C : Cases) {
        const QString Name = QString::fromUtf16(C.Name);
        const QString Typed = QString::fromUtf16(C.Typed);
        EXPECT_EQ(SearchKey(Name).contains(SearchKey(Typed)), C.Found) << Name.toStdString() << " / "
                                                                       << Typed.toStdString();
    }
}

TEST_F(TemplateBrowser, TheSearchFieldFiltersInOrderAndEnterOpensTheFirstMatch)
{
    const QStringList Names{QStringLiteral("Äpfel"), QStringLiteral("Birnen"), QStringLiteral("apfelsaft"),
                            QStringLiteral("Straße"), QStringLiteral("Zapfen")};
    for (int I = 0; I < Names.size(); ++I)
        WriteLabel(QStringLiteral("%1").arg(I), Names[I]);
    auto B = Browser();
    QStringList Opened;
    B->OnOpen = [&](const QString& P) { Opened << P; };
    B->show();
    B->Reload();
    auto Shown = [&] { return ListCaptions(B->View()); };
    ASSERT_EQ(Shown(), Names);

    const struct {
        QString Typed;
        QStringList Shows;
    } Cases[] = {
        {QStringLiteral("apf"), {QStringLiteral("Äpfel"), QStringLiteral("apfelsaft"), QStringLiteral("Zapfen")}},
        {QStringLiteral("ÄPFEL"), {QStringLiteral("Äpfel"), QStringLiteral("apfelsaft")}},
        {QStringLiteral("strasse"), {QStringLiteral("Straße")}},
        {QStringLiteral("Kirschen"), {}},
        {QString(), Names},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Typed.toStdString());
        B->SearchField()->clear();
        QTest::keyClicks(B->SearchField(), C.Typed);
        EXPECT_EQ(Shown(), C.Shows);
    }

    // Enter: the first of several matches, the only one, none at all.
    const struct {
        QString Typed;
        QString Opens;
    } Enter[] = {{QStringLiteral("apf"), TemplatePath(QStringLiteral("0"))},
                 {QStringLiteral("birn"), TemplatePath(QStringLiteral("1"))},
                 {QStringLiteral("Kirschen"), QString()}};
    for (const auto& C : Enter) {
        SCOPED_TRACE(C.Typed.toStdString());
        Opened.clear();
        B->SearchField()->setText(C.Typed);
        QTest::keyClick(B->SearchField(), Qt::Key_Return);
        EXPECT_EQ(Opened, C.Opens.isEmpty() ? QStringList() : QStringList{C.Opens});
        if (!C.Opens.isEmpty()) {
            EXPECT_EQ(B->SelectedPath(), C.Opens);
        }
    }
}

TEST_F(TemplateBrowser, CtrlFInTheWindowGoesToTheSearchAndEnterOpens)
{
    WriteLabel(QStringLiteral("Adresse"), QStringLiteral("Adresse"));
    WriteLabel(QStringLiteral("Über"), QStringLiteral("Über uns"));
    TEditorFixture F;
    TLabelMainForm& Form = F.Create();
    Form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    Form.Canvas()->setFocus();
    QTest::keyClick(&Form, Qt::Key_F, Qt::ControlModifier);
    QLineEdit* Search = Form.TemplateBrowser()->SearchField();
    ASSERT_EQ(QApplication::focusWidget(), Search);
    EXPECT_EQ(Search->placeholderText(), QStringLiteral("Vorlage suchen …"));
    QTest::keyClicks(Search, QStringLiteral("ub"));
    EXPECT_EQ(ListCaptions(Form.TemplateBrowser()->View()), QStringList{QStringLiteral("Über uns")});
    QTest::keyClick(Search, Qt::Key_Enter);
    EXPECT_EQ(Form.Doc().Name, QStringLiteral("Über uns"));
    EXPECT_EQ(Form.StatusBar()->Text(3), QStringLiteral("Vorlage geladen: Über uns"));
}

TEST_F(TemplateBrowser, ChangesFromOutsideAppearWithoutARestart)
{
    WriteLabel(QStringLiteral("Anna"), QStringLiteral("Anna"));
    WriteLabel(QStringLiteral("Bert"), QStringLiteral("Bert"));
    TEditorFixture F;
    TLabelMainForm& Form = F.Create();
    TTemplateBrowser& B = *Form.TemplateBrowser();
    auto Captions = [&] { return ListCaptions(B.View()); };
    ASSERT_EQ(Captions(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Bert")}));

    // Copied in as a file manager would: written beside, then moved in.
    const QString Outside = QDir(CacheDir.path()).filePath(QStringLiteral("Clara.pellwerk"));
    {
        TLabelDoc Doc;
        Doc.Name = QStringLiteral("Clara");
        Doc.SaveToFile(Outside);
    }
    ASSERT_TRUE(QFile::copy(Outside, TemplatePath(QStringLiteral("Clara"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Captions().size() == 3 && !B.Loading(); }, 10000));
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Bert"), QStringLiteral("Clara")}));
    EXPECT_EQ(ShownThumb(B, TemplatePath(QStringLiteral("Clara"))), Expected(TemplatePath(QStringLiteral("Clara"))));

    ASSERT_TRUE(QFile::remove(TemplatePath(QStringLiteral("Anna"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Captions().size() == 2; }, 10000));
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Bert"), QStringLiteral("Clara")}));

    // Rewritten in place, same size, same modification time: the new name
    // and the new picture show.
    const QString Bert = TemplatePath(QStringLiteral("Bert"));
    const QDateTime When = QFileInfo(Bert).lastModified();
    const qint64 Size = QFileInfo(Bert).size();
    TLabelDoc Doc;
    Doc.LoadFromFile(Bert);
    Doc.Name = QStringLiteral("Berta");  // one letter more ...
    Doc.LengthMm = 9;                   // ... one digit less
    const QByteArray NewBytes = QByteArray("\xEF\xBB\xBF") + Doc.ToJSONUtf8();
    ASSERT_EQ(NewBytes.size(), Size);
    {
        QFile W(Bert);
        ASSERT_TRUE(W.open(QIODevice::ReadWrite));
        ASSERT_EQ(W.write(NewBytes), Size);
        W.flush();
        ASSERT_TRUE(W.setFileTime(When, QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return Captions().contains(QStringLiteral("Berta")) && !B.Loading(); }, 10000));
    EXPECT_EQ(ShownThumb(B, Bert), Expected(Bert));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
}

TEST_F(TemplateBrowser, TheWindowClosesWhileThumbnailsAreStillBeingDrawn)
{
    for (int I = 0; I < 30; ++I)
        WriteLabel(QStringLiteral("Foto %1").arg(I, 2, 10, QLatin1Char('0')), QStringLiteral("Foto %1").arg(I),
                   QStringLiteral("Text"), 900);
    for (int Round = 0; Round < 3; ++Round) {
        SCOPED_TRACE(Round);
        TMainFormDeps Deps;
        TScriptedDialogs Dialogs;
        TSimBleManager Ble;
        Deps.Dialogs = &Dialogs;
        Deps.Ble = &Ble;
        Deps.ThumbnailCacheDir = QDir(CacheDir.path()).filePath(QStringLiteral("leer%1").arg(Round));
        auto Form = std::make_unique<TLabelMainForm>(Deps);
        Form->show();
        // Wait for the names, and in later rounds for a few thumbnails.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Form->TemplateBrowser()->Model()->rowCount() == 30; }, 10000));
        if (Round > 0)
            QTest::qWait(50 * Round);
        ASSERT_TRUE(Form->TemplateBrowser()->Loading());
        Form->close();
        Form.reset();  // joins the workers; no result reaches a destroyed list
        QCoreApplication::processEvents();
    }
}

}  // namespace
