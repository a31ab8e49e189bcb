// Pictures and labels that come in by drag and drop or through the
// clipboard, sent to the real widgets of the main window.
#include "document_fixtures.h"
#include "editor_fixture.h"

#include "editor/paint_box.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class DropPaste : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
        Form().SetZoom(1.0);
    }

    TLabelMainForm& Form() { return *F.Form; }
    TLabelDoc& Doc() { return F.Form->Doc(); }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    void Write(const QString& Name, const QByteArray& Bytes)
    {
        QFile f(Path(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }

    // A file dragged over Target and let go at Pos; the window does the work
    // once the drop has completed. Returns whether the drag was accepted.
    bool Drop(QWidget* Target, const QStringList& Files, QPoint Pos)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& f : Files)
            urls << QUrl::fromLocalFile(f);
        data.setUrls(urls);
        return DropData(Target, data, Pos);
    }

    bool DropData(QWidget* Target, const QMimeData& Data, QPoint Pos)
    {
        QDragEnterEvent enter(Pos, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(Pos), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }

    QWidget* Canvas() { return Form().Canvas(); }
    QComboBox* Backgrounds() { return Form().findChild<QComboBox*>(QStringLiteral("CbBg")); }

    QTemporaryDir Dir;
    TEditorFixture F;
};

// Two 48 x 30 mm pages: the first dark on the left, the second on the right.
QByteArray TwoPagePdf()
{
    return PdfDocument({{QSizeF(48, 30), {QRectF(0, 0, 0.5, 1)}}, {QSizeF(48, 30), {QRectF(0.5, 0, 0.5, 1)}}});
}

int DarkInColumn(const QImage& Img, int X)
{
    int dark = 0;
    for (int y = 0; y < Img.height(); ++y)
        dark += qGray(Img.pixel(X, y)) < 128;
    return dark;
}

TEST_F(DropPaste, PictureDroppedOnTheCanvasLandsWhereItFell)
{
    QImage pic(200, 100, QImage::Format_RGB32);
    pic.fill(Qt::black);
    ASSERT_TRUE(pic.save(Path(QStringLiteral("foto.png"))));

    // At zoom 1 a canvas pixel is one dot plus the canvas margin.
    const QPoint designPoint(150, 120);
    const QRect onScreen = Form().DesignToScreen(QRect(designPoint, QSize(1, 1)));
    ASSERT_TRUE(Drop(Canvas(), {Path(QStringLiteral("foto.png"))}, onScreen.topLeft()));

    ASSERT_EQ(Doc().Elements.Count(), 1);
    const TLabelElement* e = Doc().Elements[0];
    EXPECT_EQ(e->Kind, ekImage);
    EXPECT_EQ(Form().Selected(), e);
    // 80 % of the label's width at the picture's aspect, centred on the drop.
    EXPECT_EQ(QRect(e->X, e->Y, e->W, e->H), QRect(150 - 153, 120 - 77, 307, 154));
    EXPECT_EQ(Form().UndoCount(), 1);
    EXPECT_TRUE(Doc().Modified);

    // Something that is no picture is refused at the door: nothing changes.
    Write(QStringLiteral("notiz.txt"), "Milch, Brot");
    EXPECT_FALSE(Drop(Canvas(), {Path(QStringLiteral("notiz.txt"))}, onScreen.topLeft()));
    EXPECT_EQ(Doc().Elements.Count(), 1);
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty()) << F.Dialogs.Shown.join(QLatin1Char('\n')).toStdString();
}

TEST_F(DropPaste, PdfPageIsChosenAndABrokenOneChangesNothing)
{
    Write(QStringLiteral("zwei.pdf"), TwoPagePdf());
    Write(QStringLiteral("kaputt.pdf"), "%PDF-1.4\nnichts weiter");

    F.Dialogs.Choices = {1};  // the second entry
    ASSERT_TRUE(Drop(Canvas(), {Path(QStringLiteral("zwei.pdf"))}, QPoint(100, 100)));
    ASSERT_EQ(F.Dialogs.Shown.size(), 1);
    EXPECT_EQ(F.Dialogs.Shown[0], QStringLiteral("choose: Seite wählen | \"zwei.pdf\" hat 2 Seiten. Welche soll auf "
                                                 "das Etikett? | Seite 1 von 2,Seite 2 von 2 | 0"));
    ASSERT_EQ(Doc().Elements.Count(), 1);
    const TLabelElement* e = Doc().Elements[0];
    EXPECT_FALSE(e->Dither);  // a document is line art
    const QImage& img = e->Image();
    // Drawn at the box's size (give or take the rounding of the aspect).
    EXPECT_NEAR(img.width(), e->W, 1);
    EXPECT_NEAR(img.height(), e->H, 1);
    EXPECT_EQ(DarkInColumn(img, img.width() / 4), 0);
    EXPECT_EQ(DarkInColumn(img, img.width() * 3 / 4), img.height());

    // Cancelling the page choice and a damaged file leave the label alone.
    F.Dialogs.Shown.clear();
    F.Dialogs.Choices = {-1};
    const QString before = Doc().ToJSONString();
    Drop(Canvas(), {Path(QStringLiteral("zwei.pdf"))}, QPoint(100, 100));
    Drop(Canvas(), {Path(QStringLiteral("kaputt.pdf"))}, QPoint(100, 100));
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_EQ(F.Dialogs.Shown[1], QStringLiteral("error: Bild konnte nicht geladen werden:\r\nDie PDF-Datei "
                                                 "\"kaputt.pdf\" kann nicht gelesen werden (beschädigte Datei)"));
    EXPECT_EQ(Doc().ToJSONString(), before);
    EXPECT_EQ(Form().UndoCount(), 1);
}

TEST_F(DropPaste, DrawingDroppedOnTheBackgroundListBecomesTheBackground)
{
    Write(QStringLiteral("rahmen.svg"),
          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"30\" viewBox=\"0 0 48 30\">"
          "<rect x=\"1\" y=\"1\" width=\"46\" height=\"28\" fill=\"none\" stroke=\"black\" stroke-width=\"2\"/></svg>");
    Write(QStringLiteral("leer.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"30\"/>");

    // A drawing without anything in it: the message, and nothing changed.
    ASSERT_TRUE(Drop(Backgrounds(), {Path(QStringLiteral("leer.svg"))}, QPoint(5, 5)));
    EXPECT_EQ(F.Dialogs.Shown, QStringList{QStringLiteral("error: Bild konnte nicht geladen werden:\r\n"
                                                          "Die SVG-Datei \"leer.svg\" enthält keine Zeichnung")});
    EXPECT_EQ(Doc().BgPreset, bpNone);
    EXPECT_EQ(Form().UndoCount(), 0);
    EXPECT_FALSE(Doc().Modified);

    ASSERT_TRUE(Drop(Backgrounds(), {Path(QStringLiteral("rahmen.svg"))}, QPoint(5, 5)));
    EXPECT_EQ(Doc().BgPreset, bpImage);
    // Drawn to cover the design area of 384 x 240 dots.
    EXPECT_EQ(Doc().BgImage().size(), QSize(384, 240));
    EXPECT_EQ(Doc().Elements.Count(), 0);
    EXPECT_EQ(Backgrounds()->currentIndex(), 7);  // "Eigenes Bild"
    EXPECT_TRUE(QFileInfo::exists(QDir(TAppSettings::BackgroundDir()).filePath(QStringLiteral("rahmen.svg"))));
    EXPECT_EQ(Backgrounds()->itemText(9), QStringLiteral("Bild: rahmen"));
    EXPECT_TRUE(Doc().Modified);
}

TEST_F(DropPaste, LabelFileDroppedAnywhereOpensAfterAsking)
{
    TLabelDoc other;
    other.Name = QStringLiteral("Versand");
    other.LengthMm = 50;
    other.SaveToFile(Path(QStringLiteral("versand.pellwerk")));
    Form().InsertRect();  // an unsaved change
    ASSERT_TRUE(Doc().Modified);

    // Cancelled: the label stays; then "Nein" (do not save) opens the file.
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::Cancel, TDialogs::TAnswer::No};
    for (QWidget* target : {static_cast<QWidget*>(&Form()), Canvas()})
        ASSERT_TRUE(Drop(target, {Path(QStringLiteral("versand.pellwerk"))}, QPoint(10, 10)));
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_TRUE(F.Dialogs.Shown[0].startsWith(QStringLiteral("yesnocancel: ")));
    EXPECT_EQ(Doc().Name, QStringLiteral("Versand"));
    EXPECT_EQ(Doc().LengthMm, 50);
    EXPECT_EQ(Doc().Elements.Count(), 0);
    EXPECT_FALSE(Doc().Modified);
}

TEST_F(DropPaste, CtrlVPastesAPictureOrText)
{
    QImage shot(100, 100, QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    QPainter(&shot).fillRect(0, 0, 50, 100, Qt::black);
    QApplication::clipboard()->setImage(shot);
    // A click on the canvas takes the focus out of the label's name field,
    // where Ctrl+V pastes text as in any text field.
    QTest::mouseClick(Canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::keyClick(Form().ScrollBox(), Qt::Key_V, Qt::ControlModifier);

    ASSERT_EQ(Doc().Elements.Count(), 1);
    const TLabelElement* pic = Doc().Elements[0];
    EXPECT_EQ(pic->Kind, ekImage);
    EXPECT_EQ(QRect(pic->X, pic->Y, pic->W, pic->H), QRect(96, 24, 192, 192));  // 80 % of the height, centred
    EXPECT_EQ(pic->Image().pixel(75, 50), qRgb(255, 255, 255));  // transparency became white
    EXPECT_EQ(pic->Image().pixel(25, 50), qRgb(0, 0, 0));

    QApplication::clipboard()->setText(QStringLiteral("Grüße aus Kiel"));
    QTest::keyClick(Form().ScrollBox(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Doc().Elements.Count(), 2);
    EXPECT_EQ(Doc().Elements[1]->Kind, ekText);
    EXPECT_EQ(Doc().Elements[1]->Text, QStringLiteral("Grüße aus Kiel"));
    EXPECT_EQ(Form().UndoCount(), 2);
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());

    // In a text field Ctrl+V belongs to the field.
    auto* name = Form().findChild<QLineEdit*>(QStringLiteral("EdDocName"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements.Count(), 2);
}

} // namespace
