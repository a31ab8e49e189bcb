// The properties panel driven through its real controls: which groups show
// and where, what each control writes into the label, the background list,
// and the switch between portrait and landscape.
#include "editor_fixture.h"

#include "editor/controls/modern_button.h"
#include "editor/paint_box.h"
#include "editor/props_radio_group.h"
#include "editor/props_spin_edit.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"
#include "model/picture_source.h"
#include "model/model_error.h"
#include "settings/app_settings.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

class PropsTest : public ::testing::Test {
public:
    void SetUp() override { ResetDataFolder(); }

    TLabelMainForm& Open()
    {
        F.Create();
        return *F.Form;
    }

    TLabelDoc& Doc() { return F.Form->Doc(); }

    template <class T>
    T* Ctl(const char* name)
    {
        T* w = F.Form->findChild<T*>(QLatin1String(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }

    TLabelElement* AddSelected(TElemKind kind, int x, int y, int w, int h)
    {
        auto e = std::make_unique<TLabelElement>(kind);
        e->X = x;
        e->Y = y;
        e->W = w;
        e->H = h;
        TLabelElement* added = Doc().Elements.Add(std::move(e));
        F.Form->SelectElement(added);
        return added;
    }

    // Replaces the text of a number field key by key, as the user does.
    void Type(const char* field, const QString& text)
    {
        QLineEdit* le = Ctl<TSpinEdit>(field)->findChild<QLineEdit*>();
        ASSERT_NE(le, nullptr);
        le->setFocus();
        le->selectAll();
        QTest::keyClick(le, Qt::Key_Backspace);
        QTest::keyClicks(le, text);
    }

    // A click on the box itself: Qt takes clicks on the box and its caption
    // only, not on the empty rest of the control.
    void Tick(const char* check) { QTest::mouseClick(Ctl<QCheckBox>(check), Qt::LeftButton, {}, QPoint(8, 10)); }

    void ClickRadio(const char* group, const QString& item)
    {
        for (QRadioButton* b : Ctl<TRadioGroup>(group)->findChildren<QRadioButton*>()) {
            if (b->text() == item) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no item " << item.toStdString();
    }

    // Top of a group as seen in the panel's visible area.
    int ScreenTop(const char* group)
    {
        QScrollArea* scroll = Ctl<QScrollArea>("PropScroll");
        return Ctl<QWidget>(group)->mapTo(scroll->viewport(), QPoint(0, 0)).y();
    }

    TEditorFixture F;
};

QString WritePicture(const QString& path, int w, int h, QColor colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    EXPECT_TRUE(img.save(path));
    return path;
}

const char* const KindGroups[] = {"GbText", "GbImage", "GbShape"};

TEST_F(PropsTest, GroupsFollowTheSelectionStackedEightPixelsApart)
{
    Open();
    EXPECT_TRUE(Ctl<QWidget>("GbLabel")->isVisible());
    EXPECT_EQ(Ctl<QWidget>("GbLabel")->y(), 8);
    for (const char* g : {"GbElem", "GbText", "GbImage", "GbShape"})
        EXPECT_FALSE(Ctl<QWidget>(g)->isVisible()) << g;

    const struct {
        TElemKind kind;
        const char* group;
        bool filledBox;
    } cases[] = {
        {ekText, "GbText", false}, {ekImage, "GbImage", false}, {ekRect, "GbShape", true},
        {ekEllipse, "GbShape", true}, {ekLine, "GbShape", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        const TLabelElement* e = AddSelected(c.kind, 10, 10, 50, 20);
        EXPECT_EQ(Ctl<QWidget>("GbLabel")->y(), 8);
        EXPECT_EQ(Ctl<QWidget>("GbElem")->y(), 346);
        EXPECT_EQ(Ctl<QWidget>(c.group)->y(), 476);
        EXPECT_TRUE(Ctl<QWidget>("GbElem")->isVisible());
        for (const char* g : KindGroups)
            EXPECT_EQ(Ctl<QWidget>(g)->isVisible(), qstrcmp(g, c.group) == 0) << g;
        EXPECT_EQ(Ctl<QLabel>("LblElemTitle")->text(), e->KindName());
        if (c.kind != ekText && c.kind != ekImage) {
            EXPECT_EQ(Ctl<QCheckBox>("ChkFilled")->isVisible(), c.filledBox);
        }
    }

    F.Form->SelectElement(nullptr);
    EXPECT_FALSE(Ctl<QWidget>("GbElem")->isVisible());
    EXPECT_FALSE(Ctl<QWidget>("GbShape")->isVisible());
}

TEST_F(PropsTest, GroupsKeepTheirPlacesWhileThePanelIsScrolled)
{
    Open().resize(1400, 560);
    QTest::qWait(20);
    AddSelected(ekText, 10, 10, 50, 20);
    QScrollBar* bar = Ctl<QScrollArea>("PropScroll")->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    const int v = bar->value();
    EXPECT_EQ(ScreenTop("GbLabel"), 8 - v);
    EXPECT_EQ(ScreenTop("GbElem"), 346 - v);
    EXPECT_EQ(ScreenTop("GbText"), 476 - v);

    // Switching to a shorter set of groups while scrolled stacks them again
    // from the top of the scrolled area.
    AddSelected(ekLine, 0, 0, 40, 4);
    EXPECT_EQ(ScreenTop("GbShape"), 476 - bar->value());
    EXPECT_EQ(Ctl<QWidget>("PropContent")->height(), 8 + 330 + 8 + 122 + 8 + 104 + 8);
}

TEST_F(PropsTest, NumberFieldsApplyTheTypedNumberWithoutLimiting)
{
    Open();
    TLabelElement* e = AddSelected(ekRect, 10, 20, 30, 40);

    Type("SeW", QStringLiteral("0"));
    EXPECT_EQ(e->W, 1);
    EXPECT_EQ(Ctl<TSpinEdit>("SeW")->text(), QStringLiteral("0"));  // the field keeps what was typed

    Type("SeX", QString());
    EXPECT_EQ(e->X, -2000);
    QTest::keyClicks(Ctl<TSpinEdit>("SeX")->findChild<QLineEdit*>(), QStringLiteral("7"));
    EXPECT_EQ(e->X, 7);
    Ctl<QLineEdit>("EdDocName")->setFocus();  // leaving the field keeps what it shows
    EXPECT_EQ(Ctl<TSpinEdit>("SeX")->text(), QStringLiteral("7"));

    // A right edge beyond 32 bits is refused with a box: the element keeps
    // the last number that fitted, one keystroke earlier.
    Type("SeX", QStringLiteral("2147483647"));
    EXPECT_EQ(F.Dialogs.Shown, QStringList{QStringLiteral("error: Ganzzahlüberlauf")});
    EXPECT_EQ(e->X, 214748364);
    Type("SeX", QStringLiteral("7"));
    EXPECT_EQ(e->X, 7);

    Type("SeY", QStringLiteral("-"));
    EXPECT_EQ(e->Y, -2000);
    Type("SeY", QStringLiteral("1a2"));  // letters are refused as they are typed
    EXPECT_EQ(Ctl<TSpinEdit>("SeY")->text(), QStringLiteral("12"));
    EXPECT_EQ(e->Y, 12);

    Type("SeH", QStringLiteral("9999"));  // above the field's range of 4000
    EXPECT_EQ(e->H, 9999);
    Type("SeH", QStringLiteral("99999999999"));  // no 32-bit number
    EXPECT_EQ(e->H, 1);
    EXPECT_TRUE(Doc().Modified);

    // The arrows step inside the range only.
    Type("SeLineWidth", QStringLiteral("60"));
    QTest::keyClick(Ctl<TSpinEdit>("SeLineWidth"), Qt::Key_Up);
    EXPECT_EQ(e->LineWidth, 60);
    QTest::keyClick(Ctl<TSpinEdit>("SeLineWidth"), Qt::Key_Down);
    EXPECT_EQ(e->LineWidth, 59);
}

TEST_F(PropsTest, ShowingTheModelWritesNothingBack)
{
    Open();
    auto e = std::make_unique<TLabelElement>(ekText);
    e->X = 9000;
    e->FontSize = 2;
    e->FontName = QStringLiteral("Keine Solche Schrift");
    e->Text = QStringLiteral("a\r\nb");
    e->Align = laRight;
    TLabelElement* t = Doc().Elements.Add(std::move(e));
    F.Form->SelectElement(t);

    EXPECT_FALSE(Doc().Modified);
    EXPECT_EQ(t->X, 9000);
    EXPECT_EQ(t->FontSize, 2);
    EXPECT_EQ(Ctl<TSpinEdit>("SeX")->text(), QStringLiteral("4000"));
    EXPECT_EQ(Ctl<TSpinEdit>("SeFontSize")->text(), QStringLiteral("6"));
    EXPECT_EQ(Ctl<QPlainTextEdit>("MemoText")->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_EQ(Ctl<TRadioGroup>("RgAlign")->ItemIndex(), 2);
    // Not installed: the box shows the family drawn in its place.
    QComboBox* fonts = Ctl<QComboBox>("CbFont");
    EXPECT_EQ(fonts->currentText(), QFontInfo(QFont(QStringLiteral("Keine Solche Schrift"))).family());

    // The unknown font survives other edits until a font is picked.
    Tick("ChkBold");
    EXPECT_TRUE(t->Bold);
    EXPECT_EQ(t->FontName, QStringLiteral("Keine Solche Schrift"));
    const int other = fonts->currentIndex() == 0 ? 1 : 0;
    ASSERT_GT(fonts->count(), 1);
    fonts->setCurrentIndex(other);
    EXPECT_EQ(t->FontName, fonts->itemText(other));

    // Without a selection the element fields have nobody to write to.
    F.Form->SelectElement(nullptr);
    Doc().Modified = false;
    Type("SeX", QStringLiteral("5"));
    Ctl<QCheckBox>("ChkBold")->toggle();
    EXPECT_FALSE(Doc().Modified);
    EXPECT_EQ(t->X, 4000);
}

TEST_F(PropsTest, FontListHoldsInstalledFamiliesSorted)
{
    Open();
    QComboBox* fonts = Ctl<QComboBox>("CbFont");
    QStringList items;
    for (int i = 0; i < fonts->count(); ++i)
        items << fonts->itemText(i);
    ASSERT_FALSE(items.isEmpty());
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    }));
    EXPECT_FALSE(std::any_of(items.begin(), items.end(), [](const QString& f) { return f.startsWith(u'@'); }));
    EXPECT_TRUE(items.contains(QStringLiteral("Liberation Sans")));
}

TEST_F(PropsTest, EachElementControlWritesItsField)
{
    Open();
    const struct {
        const char* name;
        TElemKind kind;
        std::function<void(PropsTest&)> act;
        std::function<bool(const TLabelElement&)> stored;
    } cases[] = {
        {"bold", ekText, [](PropsTest& t) { t.Tick("ChkBold"); },
         [](const TLabelElement& e) { return e.Bold; }},
        {"italic", ekText, [](PropsTest& t) { t.Tick("ChkItalic"); },
         [](const TLabelElement& e) { return e.Italic; }},
        {"underline", ekText,
         [](PropsTest& t) { t.Tick("ChkUnderline"); },
         [](const TLabelElement& e) { return e.Underline; }},
        {"inverted", ekText, [](PropsTest& t) { t.Tick("ChkInvert"); },
         [](const TLabelElement& e) { return e.Inverted; }},
        {"align", ekText, [](PropsTest& t) { t.ClickRadio("RgAlign", QStringLiteral("Rechts")); },
         [](const TLabelElement& e) { return e.Align == laRight; }},
        {"font size", ekText, [](PropsTest& t) { t.Type("SeFontSize", QStringLiteral("12")); },
         [](const TLabelElement& e) { return e.FontSize == 12; }},
        {"dither", ekImage,
         [](PropsTest& t) { t.Tick("ChkImgDither"); },
         [](const TLabelElement& e) { return !e.Dither; }},
        {"aspect", ekImage,
         [](PropsTest& t) { t.Tick("ChkKeepAspect"); },
         [](const TLabelElement& e) { return !e.KeepAspect; }},
        {"line width", ekEllipse, [](PropsTest& t) { t.Type("SeLineWidth", QStringLiteral("7")); },
         [](const TLabelElement& e) { return e.LineWidth == 7; }},
        // No stroke of width 0: a saved and reopened label would read it as 1.
        {"line width 0", ekLine, [](PropsTest& t) { t.Type("SeLineWidth", QStringLiteral("0")); },
         [](const TLabelElement& e) { return e.LineWidth == 1; }},
        {"filled", ekRect, [](PropsTest& t) { t.Tick("ChkFilled"); },
         [](const TLabelElement& e) { return e.Filled; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TLabelElement* e = AddSelected(c.kind, 10, 20, 30, 40);
        Doc().Modified = false;
        c.act(*this);
        EXPECT_TRUE(c.stored(*e));
        EXPECT_TRUE(Doc().Modified);
        EXPECT_TRUE(F.Form->windowTitle().startsWith(Doc().Name + QStringLiteral(" *")));
        EXPECT_EQ(QRect(e->X, e->Y, e->W, e->H), QRect(10, 20, 30, 40));
    }
}

TEST_F(PropsTest, TextFieldWritesLinesWithCrLfAndKeepsTheCaret)
{
    Open();
    TLabelElement* e = AddSelected(ekText, 8, 8, 200, 60);
    QPlainTextEdit* memo = Ctl<QPlainTextEdit>("MemoText");
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("Hallo"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("Welt"));
    EXPECT_EQ(e->Text, QStringLiteral("Hallo\r\nWelt"));

    memo->moveCursor(QTextCursor::Start);
    memo->moveCursor(QTextCursor::Right);
    F.Form->ShowElemProps();  // as after a nudge of the element
    EXPECT_EQ(memo->textCursor().position(), 1);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Hallo\nWelt"));
}

TEST_F(PropsTest, TextFieldKeepsTheCharactersAsTyped)
{
    Open();
    TLabelElement* e = AddSelected(ekText, 8, 8, 200, 60);
    QPlainTextEdit* memo = Ctl<QPlainTextEdit>("MemoText");
    memo->setFocus();
    memo->selectAll();
    // A no-break space keeps "9,99 €" on one line; a line separator is no
    // paragraph break; only Return makes the label's CR LF.
    // As a keyboard sends it (QTest's typing knows ASCII only).
    for (QChar ch : QStringLiteral("9,99\u00A0€")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(memo, &press);
    }
    EXPECT_EQ(e->Text, QStringLiteral("9,99\u00A0€"));
    memo->insertPlainText(QStringLiteral("\u2028inkl."));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("MwSt."));
    EXPECT_EQ(e->Text, QStringLiteral("9,99\u00A0€\u2028inkl.\r\nMwSt."));

    // Shown again (another element and back), the text is the same and
    // other edits write it back unchanged.
    AddSelected(ekRect, 0, 0, 10, 10);
    F.Form->SelectElement(e);
    Tick("ChkBold");
    EXPECT_TRUE(e->Bold);
    EXPECT_EQ(e->Text, QStringLiteral("9,99\u00A0€\u2028inkl.\r\nMwSt."));
}

TEST_F(PropsTest, NewTextShowsTheFontItIsDrawnWithAndKeepsArial)
{
    Open();
    F.Form->InsertText();
    TLabelElement* e = F.Form->Selected();
    ASSERT_TRUE(e);
    ASSERT_EQ(e->FontName, QStringLiteral("Arial"));
    QComboBox* fonts = Ctl<QComboBox>("CbFont");
    EXPECT_GE(fonts->currentIndex(), 0);
    EXPECT_EQ(fonts->currentText(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    Type("SeFontSize", QStringLiteral("20"));
    EXPECT_EQ(e->FontSize, 20);
    EXPECT_EQ(e->FontName, QStringLiteral("Arial"));
}

TEST_F(PropsTest, LengthBoxAppliesEveryTypedStep)
{
    Open();
    const int canvasAt30 = F.Form->Canvas()->height();
    QLineEdit* le = Ctl<QComboBox>("CbLength")->lineEdit();
    le->setFocus();
    le->selectAll();
    const struct {
        QChar key;
        int lengthMm;
        const char* shown;
    } steps[] = {{u'1', 5, "1"}, {u'2', 12, "12"}, {u'0', 120, "120"}, {u'x', 120, "120x"}};
    for (const auto& s : steps) {
        QTest::keyClick(le, s.key.toLatin1());
        EXPECT_EQ(Doc().LengthMm, s.lengthMm) << s.shown;
        EXPECT_EQ(le->text(), QLatin1String(s.shown));
    }
    EXPECT_GT(F.Form->Canvas()->height(), canvasAt30);
    const int canvasAt120 = F.Form->Canvas()->height();
    le->selectAll();
    QTest::keyClicks(le, QStringLiteral(" 5000 "));
    EXPECT_EQ(Doc().LengthMm, 1000);
    EXPECT_GT(F.Form->Canvas()->height(), canvasAt120);  // the canvas follows the length
    EXPECT_TRUE(Doc().Modified);

    QLineEdit* name = Ctl<QLineEdit>("EdDocName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Preis "));
    EXPECT_EQ(Doc().Name, QStringLiteral("Preis "));  // as typed, not trimmed
    EXPECT_EQ(F.Form->windowTitle(), QStringLiteral("Preis  * – MIRVO Pellwerk"));
}

TEST_F(PropsTest, LightenAboveTheBarIsShownAndStoredAsTheBarAllows)
{
    Open();
    Doc().BgPreset = bpImage;
    Doc().BgLighten = 95;
    F.Form->RefreshAll();
    QSlider* bar = Ctl<QSlider>("TbLighten");
    QLabel* label = Ctl<QLabel>("LblLighten");
    EXPECT_EQ(bar->value(), 90);
    EXPECT_EQ(label->text(), QStringLiteral("Aufhellen: 95 %"));
    EXPECT_EQ(Doc().BgLighten, 95);

    Tick("ChkBgDither");
    EXPECT_FALSE(Doc().BgDither);
    EXPECT_EQ(Doc().BgLighten, 90);
    EXPECT_EQ(label->text(), QStringLiteral("Aufhellen: 90 %"));

    bar->setValue(40);
    EXPECT_EQ(Doc().BgLighten, 40);
    EXPECT_EQ(label->text(), QStringLiteral("Aufhellen: 40 %"));
    Ctl<QComboBox>("CbBgMode")->setCurrentIndex(2);
    EXPECT_EQ(Doc().BgMode, bmStretch);

    // The picture settings are offered only for a picture background.
    Ctl<QComboBox>("CbBg")->setCurrentIndex(1);
    for (const char* c : {"CbBgMode", "TbLighten", "ChkBgDither"})
        EXPECT_FALSE(Ctl<QWidget>(c)->isEnabled()) << c;
}

TEST_F(PropsTest, BackgroundListOffersPresetsAndTheFolderPictures)
{
    const QDir bg(TAppSettings::BackgroundDir());
    WritePicture(bg.filePath(QStringLiteral("b.PNG")), 20, 10, Qt::gray);
    WritePicture(bg.filePath(QStringLiteral("A.jpg")), 8, 8, Qt::black);
    QFile(bg.filePath(QStringLiteral("c.txt"))).open(QIODevice::WriteOnly);
    QFile(bg.filePath(QStringLiteral("d.e.gif"))).open(QIODevice::WriteOnly);
    Open();

    QComboBox* cb = Ctl<QComboBox>("CbBg");
    QStringList items;
    for (int i = 0; i < cb->count(); ++i)
        items << cb->itemText(i);
    EXPECT_EQ(items, (QStringList{"Kein Hintergrund", "Rahmen", "Doppelrahmen", "Abgerundeter Rahmen",
                                  "Punktrahmen", "Zierecken", "Streifen oben/unten", "Eigenes Bild",
                                  "Bild laden …", "Bild: A", "Bild: b", "Bild: d.e"}));
    EXPECT_EQ(cb->maxVisibleItems(), 20);

    // "Eigenes Bild" on a label without a picture changes nothing.
    cb->setCurrentIndex(1);
    EXPECT_EQ(Doc().BgPreset, bpFrame);
    cb->setCurrentIndex(7);
    EXPECT_EQ(Doc().BgPreset, bpFrame);
    EXPECT_EQ(cb->currentIndex(), 1);

    cb->setCurrentIndex(10);
    EXPECT_EQ(Doc().BgPreset, bpImage);
    EXPECT_EQ(Doc().BgImage().size(), QSize(20, 10));
    EXPECT_EQ(cb->currentIndex(), 7);
    const QByteArray png = Doc().BgPng();

    // A preset hides the picture but keeps it; "Eigenes Bild" brings it back.
    cb->setCurrentIndex(2);
    EXPECT_EQ(Doc().BgPreset, bpDoubleFrame);
    EXPECT_EQ(Doc().BgPng(), png);
    cb->setCurrentIndex(7);
    EXPECT_EQ(Doc().BgPreset, bpImage);
    EXPECT_EQ(Doc().BgPng(), png);
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());

    // A folder picture that cannot be read: the error box, nothing changes.
    cb->setCurrentIndex(11);
    ASSERT_EQ(F.Dialogs.Shown.size(), 1);
    EXPECT_TRUE(F.Dialogs.Shown[0].startsWith(QStringLiteral("error: Bild konnte nicht geladen werden:\r\n")));
    EXPECT_GT(F.Dialogs.Shown[0].size(), QStringLiteral("error: Bild konnte nicht geladen werden:\r\n").size());
    EXPECT_EQ(Doc().BgPng(), png);
    EXPECT_EQ(cb->currentIndex(), 7);
}

TEST_F(PropsTest, LoadingAPictureKeepsACopyInTheFolderWithoutOverwriting)
{
    QTemporaryDir tmp;
    QDir(tmp.path()).mkdir(QStringLiteral("other"));
    const QString first = WritePicture(tmp.filePath(QStringLiteral("logo.png")), 30, 20, Qt::red);
    const QString second = WritePicture(tmp.filePath(QStringLiteral("other/logo.png")), 40, 40, Qt::blue);
    const QString broken = tmp.filePath(QStringLiteral("kaputt.png"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kein Bild");
    }
    Open();
    QComboBox* cb = Ctl<QComboBox>("CbBg");
    const QString copy = QDir(TAppSettings::BackgroundDir()).filePath(QStringLiteral("logo.png"));

    F.Dialogs.Files.push_back(first);
    cb->setCurrentIndex(8);
    EXPECT_EQ(F.Dialogs.Shown,
              QStringList{QStringLiteral("open: Hintergrundbild wählen | ") + PictureFileFilter()});
    EXPECT_EQ(Doc().BgPreset, bpImage);
    EXPECT_EQ(Doc().BgImage().size(), QSize(30, 20));
    EXPECT_EQ(cb->currentIndex(), 7);
    EXPECT_EQ(cb->itemText(9), QStringLiteral("Bild: logo"));
    EXPECT_EQ(QImage(copy).size(), QSize(30, 20));

    // Same file name from elsewhere: the label takes it, the folder's file stays.
    F.Dialogs.Files.push_back(second);
    cb->setCurrentIndex(8);
    EXPECT_EQ(Doc().BgImage().size(), QSize(40, 40));
    EXPECT_EQ(QImage(copy).size(), QSize(30, 20));
    EXPECT_EQ(cb->count(), 10);
    const QByteArray png = Doc().BgPng();

    // A file that is no picture: the error box, and the label keeps its background.
    F.Dialogs.Shown.clear();
    F.Dialogs.Files.push_back(broken);
    cb->setCurrentIndex(8);
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_TRUE(F.Dialogs.Shown[1].startsWith(QStringLiteral("error: Bild konnte nicht geladen werden:\r\n")));
    EXPECT_EQ(Doc().BgPng(), png);
    EXPECT_FALSE(QFileInfo::exists(QDir(TAppSettings::BackgroundDir()).filePath(QStringLiteral("kaputt.png"))));
    EXPECT_EQ(cb->currentIndex(), 7);

    // Cancelling the dialog changes no picture but still marks the label.
    Doc().Modified = false;
    F.Dialogs.Files.push_back(QString());
    cb->setCurrentIndex(8);
    EXPECT_EQ(Doc().BgPng(), png);
    EXPECT_EQ(cb->currentIndex(), 7);
    EXPECT_TRUE(Doc().Modified);
}

TEST_F(PropsTest, APictureThatCannotBeCopiedIntoTheFolderIsReported)
{
    QTemporaryDir tmp;
    const QString picture = WritePicture(tmp.filePath(QStringLiteral("logo.png")), 30, 20, Qt::red);
    Open();
    // A plain file where the backgrounds folder belongs: nothing can be
    // copied into it, whoever runs the program.
    TBlockedFolder blocked(TAppSettings::BackgroundDir());

    F.Dialogs.Files.push_back(picture);
    Ctl<QComboBox>("CbBg")->setCurrentIndex(8);
    // The label has the picture; the user learns why the list does not.
    EXPECT_EQ(Doc().BgPreset, bpImage);
    EXPECT_EQ(Doc().BgImage().size(), QSize(30, 20));
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_TRUE(F.Dialogs.Shown[1].startsWith(QStringLiteral("warning: Das Bild konnte nicht in den Hintergrundordner")))
        << F.Dialogs.Shown[1].toStdString();
}

class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

TEST_F(PropsTest, BackgroundFolderButtonOpensTheFolderAndRereadsIt)
{
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Open();
    QComboBox* cb = Ctl<QComboBox>("CbBg");
    EXPECT_EQ(cb->count(), 9);
    WritePicture(QDir(TAppSettings::BackgroundDir()).filePath(QStringLiteral("Stern.png")), 4, 4, Qt::black);
    EXPECT_EQ(cb->count(), 9);  // not before the list is read again

    QPushButton* button = Ctl<QPushButton>("BtnBgFolder");
    EXPECT_EQ(button->text(), QStringLiteral("Hintergrund-Ordner öffnen"));
    QTest::mouseClick(button, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    ASSERT_EQ(catcher.Opened.size(), 1);
    EXPECT_EQ(catcher.Opened[0], QUrl::fromLocalFile(TAppSettings::BackgroundDir()));
    EXPECT_EQ(F.Form->StatusBar()->Text(3),
              QStringLiteral("Neue Bilder erscheinen nach erneutem Öffnen der Hintergrundliste"));
    ASSERT_EQ(cb->count(), 10);
    EXPECT_EQ(cb->itemText(9), QStringLiteral("Bild: Stern"));
}

TEST_F(PropsTest, TurningTheLabelRescalesEveryElement)
{
    Open();
    TLabelElement* text = AddSelected(ekText, 8, 88, 368, 64);
    TLabelElement* dot = AddSelected(ekRect, 4, 12, 1, 1);
    Doc().Modified = false;

    F.Form->SetOrientation(true);  // already portrait: nothing happens
    EXPECT_FALSE(Doc().Modified);

    ClickRadio("RgOrient", QStringLiteral("Querformat"));
    EXPECT_TRUE(Doc().Landscape);
    EXPECT_EQ(QRect(text->X, text->Y, text->W, text->H), QRect(5, 141, 230, 102));
    EXPECT_EQ(QRect(dot->X, dot->Y, dot->W, dot->H), QRect(2, 19, 1, 2));  // 2.5 rounds to 2
    EXPECT_EQ(text->FontSize, 32);
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(F.Form->StatusBar()->Text(3), QStringLiteral("Querformat"));
    const auto buttons = F.Form->findChildren<TModernButton*>();
    const auto button = [&](const QString& caption) {
        return *std::find_if(buttons.begin(), buttons.end(),
                             [&](TModernButton* b) { return b->Caption() == caption; });
    };
    EXPECT_TRUE(button(QStringLiteral("Querformat"))->Checked());
    EXPECT_FALSE(button(QStringLiteral("Hochformat"))->Checked());

    QTest::mouseClick(button(QStringLiteral("Hochformat")), Qt::LeftButton);
    EXPECT_FALSE(Doc().Landscape);
    EXPECT_EQ(Ctl<TRadioGroup>("RgOrient")->ItemIndex(), 0);
    EXPECT_EQ(QRect(text->X, text->Y, text->W, text->H), QRect(8, 88, 368, 64));
    EXPECT_EQ(QRect(dot->X, dot->Y, dot->W, dot->H), QRect(3, 12, 2, 1));
    EXPECT_EQ(F.Form->StatusBar()->Text(3), QStringLiteral("Hochformat"));
}

TEST_F(PropsTest, TurningKeepsSizesAtLeastOneAndRefusesOverflow)
{
    Open();
    Doc().LengthMm = 1000;
    Doc().Landscape = true;
    TLabelElement* thin = AddSelected(ekLine, 100, 0, 10, 384);
    F.Form->SetOrientation(true);
    EXPECT_EQ(QRect(thin->X, thin->Y, thin->W, thin->H), QRect(5, 0, 1, 8000));

    // 2e9 dots times 8000/384 do not fit: the label stays as it was.
    thin->X = 2000000000;
    EXPECT_THROW(F.Form->SetOrientation(false), EModelError);
    EXPECT_FALSE(Doc().Landscape);
    EXPECT_EQ(thin->X, 2000000000);
    EXPECT_EQ(thin->H, 8000);
}

TEST_F(PropsTest, UndoStepsOfThePanel)
{
    Open();
    AddSelected(ekText, 8, 8, 200, 60);
    const int before = F.Form->UndoCount();

    // A burst of typing is one step; the background and the turn are one each.
    QTest::keyClicks(Ctl<QPlainTextEdit>("MemoText"), QStringLiteral("abc"));
    EXPECT_EQ(F.Form->UndoCount(), before + 1);
    Ctl<QComboBox>("CbBg")->setCurrentIndex(1);
    Ctl<QComboBox>("CbBg")->setCurrentIndex(4);
    EXPECT_EQ(F.Form->UndoCount(), before + 3);
    F.Form->SetOrientation(true);  // no turn, no step
    EXPECT_EQ(F.Form->UndoCount(), before + 3);
    F.Form->SetOrientation(false);
    EXPECT_EQ(F.Form->UndoCount(), before + 4);

    F.Form->Undo();
    EXPECT_FALSE(Doc().Landscape);
    EXPECT_EQ(Ctl<TRadioGroup>("RgOrient")->ItemIndex(), 0);
    F.Form->Undo();
    EXPECT_EQ(Doc().BgPreset, bpFrame);
    EXPECT_EQ(Ctl<QComboBox>("CbBg")->currentIndex(), 1);
    F.Form->Undo();
    F.Form->Undo();
    ASSERT_EQ(Doc().Elements.Count(), 1);
    EXPECT_EQ(Doc().Elements[0]->Text, QString());
}

TEST_F(PropsTest, WheelOverAListWithoutFocusScrollsThePanelInstead)
{
    Open();
    QComboBox* cb = Ctl<QComboBox>("CbBg");
    Ctl<QLineEdit>("EdDocName")->setFocus();
    QWheelEvent wheel(QPointF(5, 5), cb->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(cb, &wheel);
    EXPECT_EQ(cb->currentIndex(), 0);
    EXPECT_FALSE(Doc().Modified);
}

} // namespace

#include "properties_panel_test.moc"
