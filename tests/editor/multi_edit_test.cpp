// Editing as in any desktop editor, with real mouse and key events: the
// clipboard between labels and windows, redo, several elements at once,
// alignment and distribution, snap guides, rotation, the context menu, the
// zoom keys and the Tab order on the canvas.
#include "edit_mouse.h"
#include "editor_fixture.h"

#include "editor/align_ops.h"
#include "editor/element_clipboard.h"
#include "editor/paint_box.h"
#include "editor/props_spin_edit.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

QRect Bounds(const TLabelElement* E)
{
    return QRect(E->X, E->Y, E->W, E->H);
}

TLabelElement* Put(TLabelMainForm& Form, TElemKind Kind, QRect R)
{
    auto E = std::make_unique<TLabelElement>(Kind);
    E->X = R.x();
    E->Y = R.y();
    E->W = R.width();
    E->H = R.height();
    return Form.Doc().Elements.Add(std::move(E));
}

// A key pressed on the canvas of a window, which becomes the active one.
void Key(TLabelMainForm& Form, int K, Qt::KeyboardModifiers Mods = Qt::NoModifier)
{
    Form.activateWindow();
    QApplication::setActiveWindow(&Form);
    Form.ScrollBox()->setFocus();
    QTest::keyClick(Form.ScrollBox(), Qt::Key(K), Mods);
}

void ClickDotWith(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods)
{
    const QPoint p = DotPixel(Form, At.x(), At.y());
    PressPixel(Form, p, Mods);
    ReleasePixel(Form, p, Mods);
}

QString ElementsJson(const std::vector<TLabelElement*>& Elems)
{
    QString s;
    for (const TLabelElement* e : Elems)
        s += QString::fromUtf8(QJsonDocument(e->ToJSON()).toJson(QJsonDocument::Compact));
    return s;
}

// The canvas context menu opened by a right click on the design point At.
QMenu* RightClick(TLabelMainForm& Form, QPoint At)
{
    QTest::mouseClick(Form.Canvas(), Qt::RightButton, Qt::NoModifier, DotPixel(Form, At.x(), At.y()));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    if (menu) {
        EXPECT_EQ(menu->objectName(), QStringLiteral("CanvasMenu"));
    }
    return menu;
}

// The entry of Menu (or of one of its submenus) with the text Path, given as
// "Submenu/Entry" or "Entry".
QAction* MenuEntry(QMenu* Menu, const QString& Path)
{
    const QStringList parts = Path.split(u'/');
    QMenu* m = Menu;
    for (int i = 0; i < parts.size(); ++i) {
        QAction* found = nullptr;
        for (QAction* a : m->actions())
            if (a->text() == parts[i])
                found = a;
        if (!found)
            return nullptr;
        if (i + 1 == parts.size())
            return found;
        m = found->menu();
        if (!m)
            return nullptr;
    }
    return nullptr;
}

void Choose(TLabelMainForm& Form, QPoint At, const QString& Path)
{
    QMenu* menu = RightClick(Form, At);
    ASSERT_NE(menu, nullptr);
    QAction* a = MenuEntry(menu, Path);
    ASSERT_NE(a, nullptr) << Path.toStdString();
    ASSERT_TRUE(a->isEnabled()) << Path.toStdString();
    a->trigger();
    menu->close();
}

class MultiEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
        Form().SetZoom(2.0);
        QGuiApplication::clipboard()->clear();
    }

    TLabelMainForm& Form() { return *F.Form; }
    TLabelDoc& Doc() { return F.Form->Doc(); }
    QString Message() const { return F.Form->StatusBar()->Text(3); }
    TLabelElement* Put(TElemKind Kind, QRect R) { return ::Put(Form(), Kind, R); }
    TSpinEdit* Field(const char* Name) { return Form().findChild<TSpinEdit*>(QLatin1String(Name)); }

    TEditorFixture F;
};

TEST_F(MultiEdit, CopiedElementsPasteIntoAnotherWindowAsTheyWere)
{
    TLabelElement* text = Put(ekText, {16, 20, 200, 40});
    text->Text = QStringLiteral("Grüße / 9,99 €");
    text->Rotation = 90;
    TLabelElement* rect = Put(ekRect, {240, 100, 60, 60});
    rect->Filled = true;
    Put(ekEllipse, {20, 150, 40, 40});
    ClickDot(Form(), {30, 30});
    ClickDotWith(Form(), {250, 110}, Qt::ShiftModifier);
    ASSERT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{text, rect}));
    Key(Form(), Qt::Key_C, Qt::ControlModifier);

    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    ASSERT_TRUE(clip->hasFormat(clipboard::ElementsMimeType));
    // Other programs get a picture of just the two, cut to their bounds.
    QImage png;
    ASSERT_TRUE(png.loadFromData(clip->data(QStringLiteral("image/png")), "PNG"));
    EXPECT_EQ(png.size(), QSize(300 - 16, 160 - 20));
    EXPECT_EQ(png.pixelColor(250 - 16, 110 - 20), QColor(Qt::black));  // inside the filled square

    TEditorFixture other;
    other.Create();
    TLabelMainForm& B = *other.Form;
    Key(B, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(B.Doc().Elements.Count(), 2);
    EXPECT_EQ(ElementsJson(B.SelectedElements()), ElementsJson({text, rect}));
    EXPECT_EQ(B.UndoCount(), 1);
    EXPECT_TRUE(B.Doc().Modified);

    // The same spot is taken now: the next copies go 4 dots on, then 8.
    Key(B, Qt::Key_V, Qt::ControlModifier);
    Key(B, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(B.Doc().Elements.Count(), 6);
    EXPECT_EQ(Bounds(B.Doc().Elements[2]), QRect(20, 24, 200, 40));
    EXPECT_EQ(Bounds(B.Doc().Elements[5]), QRect(248, 108, 60, 60));
    EXPECT_EQ(B.SelectedElements().size(), 2u);
    EXPECT_EQ(B.Doc().Elements[4]->Rotation, 90);
}

TEST_F(MultiEdit, CutThenUndoBringsTheElementsBackAndTheyStillPaste)
{
    const QRect a(40, 40, 60, 40);
    Put(ekRect, a);
    Put(ekLine, {120, 40, 100, 8});
    Key(Form(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(Form().SelectedElements().size(), 2u);
    const QString before = Doc().ToJSONString();
    Key(Form(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements.Count(), 0);
    EXPECT_EQ(Form().Selected(), nullptr);
    EXPECT_EQ(Form().UndoCount(), 1);

    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().ToJSONString(), before);
    Key(Form(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Doc().Elements.Count(), 4);
    EXPECT_EQ(Bounds(Doc().Elements[2]), a.translated(4, 4));
    EXPECT_EQ(Form().SelectedElements().size(), 2u);

    // Plain text from another program becomes a text element ...
    QGuiApplication::clipboard()->setText(QStringLiteral("Hallo"));
    Key(Form(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Doc().Elements.Count(), 5);
    EXPECT_EQ(Doc().Elements[4]->Kind, ekText);
    EXPECT_EQ(Doc().Elements[4]->Text, QStringLiteral("Hallo"));
    // ... and what nothing can be made of is said so.
    auto* other = new QMimeData;
    other->setData(QStringLiteral("application/x-fremd"), QByteArray("?"));
    QGuiApplication::clipboard()->setMimeData(other);
    Key(Form(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements.Count(), 5);
    EXPECT_EQ(Message(), QStringLiteral("Die Zwischenablage enthält nichts, was sich einfügen lässt"));
}

TEST_F(MultiEdit, RedoRestoresAMergedBurstOfTypingAsOneStep)
{
    Form().InsertText();
    auto* memo = Form().findChild<QPlainTextEdit*>(QStringLiteral("MemoText"));
    ASSERT_TRUE(memo->hasFocus());
    for (QChar c : QStringLiteral("Hallo")) {
        QTest::keyClick(memo, c.toLatin1());
        F.Now += 1000;
    }
    TLabelElement* E = Form().Selected();
    ASSERT_EQ(E->Text, QStringLiteral("Hallo"));
    const int steps = Form().UndoCount();

    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Selected()->Text, QStringLiteral("Text"));
    EXPECT_EQ(Form().UndoCount(), steps - 1);
    Key(Form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Form().Selected()->Text, QStringLiteral("Hallo"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Hallo"));
    EXPECT_EQ(Form().UndoCount(), steps);
    Key(Form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Message(), QStringLiteral("Nichts zum Wiederholen"));

    // Back twice, forward once with Ctrl+Shift+Z, then a new edit: the step
    // still undone is gone for good.
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements.Count(), 0);
    Key(Form(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(Doc().Elements.Count(), 1);
    EXPECT_EQ(Doc().Elements[0]->Text, QStringLiteral("Text"));
    EXPECT_EQ(Form().RedoCount(), 1);
    ClickDot(Form(), {100, 100});
    Key(Form(), Qt::Key_Right);
    EXPECT_EQ(Form().RedoCount(), 0);
    Key(Form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements[0]->Text, QStringLiteral("Text"));
}

TEST_F(MultiEdit, ClicksWithModifiersAndTheRubberBandChooseTheSet)
{
    TLabelElement* a = Put(ekRect, {20, 20, 40, 40});
    TLabelElement* b = Put(ekRect, {100, 20, 40, 40});
    TLabelElement* c = Put(ekRect, {200, 140, 40, 40});
    // The band starts on empty paper and takes what it touches, even in part.
    DragDots(Form(), {10, 100}, {110, 10});
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{a, b}));
    EXPECT_EQ(Form().UndoCount(), 0);
    ClickDotWith(Form(), {210, 150}, Qt::ControlModifier);
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{a, b, c}));
    EXPECT_EQ(Form().Selected(), c);
    ClickDotWith(Form(), {30, 30}, Qt::ShiftModifier);
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{b, c}));
    // A band with Shift adds to the selection.
    DragDots(Form(), {10, 10}, {25, 25}, Qt::ShiftModifier);
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{a, b, c}));
    // A plain click on a member narrows the selection to it.
    ClickDot(Form(), {110, 30});
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{b}));
    ClickDot(Form(), {300, 60});
    EXPECT_TRUE(Form().SelectedElements().empty());
    Key(Form(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Form().SelectedElements().size(), 3u);
}

TEST_F(MultiEdit, TheGroupMovesNudgesRestacksAndGoesAsOneStepEach)
{
    TLabelElement* a = Put(ekRect, {20, 20, 40, 40});
    TLabelElement* b = Put(ekEllipse, {100, 60, 40, 40});
    const QRect top(300, 180, 40, 40);
    Put(ekRect, top);
    ClickDot(Form(), {30, 30});
    ClickDotWith(Form(), {110, 70}, Qt::ShiftModifier);
    const QString before = Doc().ToJSONString();

    DragDots(Form(), {110, 70}, {130, 78});
    EXPECT_EQ(Bounds(a), QRect(40, 28, 40, 40));
    EXPECT_EQ(Bounds(b), QRect(120, 68, 40, 40));
    EXPECT_EQ(Form().UndoCount(), 1);
    EXPECT_EQ(Form().SelectedElements().size(), 2u);
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().ToJSONString(), before);
    EXPECT_EQ(Form().SelectedElements().size(), 2u);

    Key(Form(), Qt::Key_Right, Qt::ShiftModifier);
    Key(Form(), Qt::Key_Down);
    EXPECT_EQ(Bounds(Doc().Elements[0]), QRect(28, 21, 40, 40));
    EXPECT_EQ(Bounds(Doc().Elements[1]), QRect(108, 61, 40, 40));
    EXPECT_EQ(Form().UndoCount(), 1);  // one burst

    Form().BringForward();
    EXPECT_EQ(Bounds(Doc().Elements[0]), top);
    Form().BringForward();  // already on top as a group: nothing, no step
    EXPECT_EQ(Bounds(Doc().Elements[0]), top);
    EXPECT_EQ(Form().UndoCount(), 2);

    Key(Form(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(Doc().Elements.Count(), 5);
    EXPECT_EQ(Form().SelectedElements().size(), 2u);
    EXPECT_EQ(Bounds(Doc().Elements[3]), QRect(36, 29, 40, 40));
    Key(Form(), Qt::Key_Delete);
    EXPECT_EQ(Doc().Elements.Count(), 3);
    EXPECT_EQ(Form().UndoCount(), 4);
}

TEST_F(MultiEdit, ThePanelShowsWhatTheElementsShareAndSetsItForAll)
{
    TLabelElement* a = Put(ekRect, {20, 20, 40, 40});
    TLabelElement* b = Put(ekLine, {100, 20, 80, 8});
    a->LineWidth = b->LineWidth = 5;
    a->Filled = true;
    ClickDot(Form(), {30, 30});
    ClickDotWith(Form(), {120, 22}, Qt::ControlModifier);
    EXPECT_TRUE(Field("SeX")->IsEmpty());
    EXPECT_EQ(Field("SeY")->Value(), 20);
    EXPECT_EQ(Field("SeLineWidth")->Value(), 5);
    EXPECT_FALSE(Form().findChild<QCheckBox*>(QStringLiteral("ChkFilled"))->isVisibleTo(&Form()));

    Field("SeLineWidth")->setFocus();
    Field("SeLineWidth")->selectAll();
    QTest::keyClicks(Field("SeLineWidth"), QStringLiteral("12"));
    EXPECT_EQ(a->LineWidth, 12);
    EXPECT_EQ(b->LineWidth, 12);
    EXPECT_EQ(a->X, 20);  // the empty X field wrote nothing
    EXPECT_EQ(b->X, 100);
    EXPECT_EQ(Form().UndoCount(), 1);

    // Two rectangles that differ in "Gefüllt": the box shows neither, and a
    // click makes both filled.
    b->Kind = ekRect;
    Form().SetSelection({a, b}, a);
    auto* filled = Form().findChild<QCheckBox*>(QStringLiteral("ChkFilled"));
    EXPECT_EQ(filled->checkState(), Qt::PartiallyChecked);
    const QPoint box(8, filled->height() / 2);  // on the box itself
    QTest::mouseClick(filled, Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_TRUE(a->Filled);
    EXPECT_TRUE(b->Filled);
    QTest::mouseClick(filled, Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_FALSE(a->Filled);
    EXPECT_FALSE(b->Filled);
    // One element again: the box is an ordinary one.
    ClickDot(Form(), {30, 30});
    EXPECT_FALSE(filled->isTristate());
}

struct AlignCase {
    const char* Entry;
    std::vector<QRect> Expected;
};

TEST_F(MultiEdit, EveryAlignmentAndDistributionFromTheContextMenu)
{
    const std::vector<QRect> start = {{20, 30, 40, 20}, {100, 60, 60, 40}, {250, 10, 20, 100}};
    const AlignCase cases[] = {
        {"Aneinander ausrichten/Links", {{20, 30, 40, 20}, {20, 60, 60, 40}, {20, 10, 20, 100}}},
        {"Aneinander ausrichten/Zentriert", {{125, 30, 40, 20}, {115, 60, 60, 40}, {135, 10, 20, 100}}},
        {"Aneinander ausrichten/Rechts", {{230, 30, 40, 20}, {210, 60, 60, 40}, {250, 10, 20, 100}}},
        {"Aneinander ausrichten/Oben", {{20, 10, 40, 20}, {100, 10, 60, 40}, {250, 10, 20, 100}}},
        {"Aneinander ausrichten/Mittig", {{20, 50, 40, 20}, {100, 40, 60, 40}, {250, 10, 20, 100}}},
        {"Aneinander ausrichten/Unten", {{20, 90, 40, 20}, {100, 70, 60, 40}, {250, 10, 20, 100}}},
        {"Am Etikett ausrichten/Rechts", {{344, 30, 40, 20}, {324, 60, 60, 40}, {364, 10, 20, 100}}},
        {"Am Etikett ausrichten/Unten", {{20, 220, 40, 20}, {100, 200, 60, 40}, {250, 140, 20, 100}}},
        // Gaps of (270 - 20 - 120) / 2 = 65 between the neighbours.
        {"Horizontal verteilen", {{20, 30, 40, 20}, {125, 60, 60, 40}, {250, 10, 20, 100}}},
        // By their tops: third (10..110), first (30..50), second (60..100);
        // room 90 - 160 = -70, gaps of -35.
        {"Vertikal verteilen", {{20, 75, 40, 20}, {100, 60, 60, 40}, {250, 10, 20, 100}}},
        // The group (20, 10)–(270, 110) into the middle of 384 × 240.
        {"Auf dem Etikett zentrieren", {{67, 90, 40, 20}, {147, 120, 60, 40}, {297, 70, 20, 100}}},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.Entry);
        Doc().Elements.Clear();
        Form().ResetEditState();
        Form().RefreshAll();
        std::vector<TLabelElement*> els;
        for (const QRect& r : start)
            els.push_back(Put(ekRect, r));
        Key(Form(), Qt::Key_A, Qt::ControlModifier);
        Choose(Form(), {110, 70}, QString::fromUtf8(c.Entry));
        for (size_t i = 0; i < els.size(); ++i)
            EXPECT_EQ(Bounds(els[i]), c.Expected[i]) << i;
        EXPECT_EQ(Form().UndoCount(), 1);
    }

    // One element lines up with the label.
    Doc().Elements.Clear();
    TLabelElement* one = Put(ekRect, {20, 30, 40, 20});
    ClickDot(Form(), {30, 40});
    Choose(Form(), {30, 40}, QStringLiteral("Am Etikett ausrichten/Zentriert"));
    EXPECT_EQ(Bounds(one), QRect(172, 30, 40, 20));
    QMenu* menu = RightClick(Form(), {180, 40});
    EXPECT_FALSE(MenuEntry(menu, QStringLiteral("Horizontal verteilen"))->isEnabled());
    menu->close();
}

TEST_F(MultiEdit, SnapGuidesPullTheDragOntoEdgesAndCentresAndShow)
{
    Put(ekRect, {41, 20, 60, 40});                 // edges at 41 and 101, centre 71
    TLabelElement* moving = Put(ekRect, {200, 150, 50, 30});
    const QPoint grab(210, 160);
    PressPixel(Form(), DotPixel(Form(), grab.x(), grab.y()));
    // Raw left edge 43: the grid says 44, the other element's left edge 41 wins.
    MovePixel(Form(), DotPixel(Form(), grab.x() - 157, grab.y()));
    EXPECT_EQ(moving->X, 41);
    EXPECT_EQ(moving->Y, 152);  // no guide near: the grid
    ASSERT_EQ(Form().SnapGuides().size(), 1u);
    EXPECT_EQ(Form().SnapGuides()[0], QLine(41, 0, 41, 240));
    // The guide is painted: a thin line of its own colour at that x.
    const QImage shot = Form().Canvas()->grab().toImage();
    const QPoint gx = DotPixel(Form(), 41, 0);
    const QColor guide = shot.pixelColor(gx.x(), DotPixel(Form(), 0, 230).y());
    EXPECT_NE(guide, QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(gx.x() + 2, DotPixel(Form(), 0, 230).y()), QColor(Qt::white));

    // Centre of the moving box (width 50) near the label's centre line 192.
    MovePixel(Form(), DotPixel(Form(), grab.x() - 35, grab.y() - 2));
    EXPECT_EQ(moving->X + 25, 192);
    ASSERT_FALSE(Form().SnapGuides().empty());
    // Alt: neither grid nor guides.
    MovePixel(Form(), DotPixel(Form(), grab.x() - 35, grab.y()), Qt::AltModifier);
    EXPECT_EQ(moving->X, 165);
    EXPECT_TRUE(Form().SnapGuides().empty());
    ReleasePixel(Form(), DotPixel(Form(), grab.x() - 35, grab.y()));
    EXPECT_TRUE(Form().SnapGuides().empty());
    EXPECT_EQ(Form().UndoCount(), 1);
}

TEST_F(MultiEdit, RotationTurnsTextAndPicturesOnlyAndIsUndone)
{
    TLabelElement* text = Put(ekText, {40, 40, 120, 40});
    text->Text = QStringLiteral("Ab");
    TLabelElement* rect = Put(ekRect, {200, 40, 40, 60});
    Key(Form(), Qt::Key_A, Qt::ControlModifier);
    Choose(Form(), {60, 60}, QStringLiteral("Drehen/90° im Uhrzeigersinn"));
    EXPECT_EQ(text->Rotation, 90);
    // The box turns about its centre (100, 60).
    EXPECT_EQ(Bounds(text), QRect(80, 0, 40, 120));
    EXPECT_EQ(rect->Rotation, 0);
    EXPECT_EQ(Bounds(rect), QRect(200, 40, 40, 60));
    Choose(Form(), {100, 60}, QStringLiteral("Drehen/180°"));
    EXPECT_EQ(text->Rotation, 270);
    Choose(Form(), {100, 60}, QStringLiteral("Drehen/90° gegen den Uhrzeigersinn"));
    EXPECT_EQ(text->Rotation, 180);
    EXPECT_EQ(Bounds(text), QRect(40, 40, 120, 40));
    // What the canvas shows is the turned text.
    const QImage screen = Doc().RenderBitmap(false, 1);
    text->Rotation = 0;
    const QImage upright = Doc().RenderBitmap(false, 1);
    text->Rotation = 180;
    EXPECT_EQ(screen.copy(40, 40, 120, 40), upright.copy(40, 40, 120, 40).transformed(QTransform().rotate(180)));
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    Key(Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().Elements[0]->Rotation, 0);
    EXPECT_EQ(Bounds(Doc().Elements[0]), QRect(40, 40, 120, 40));
}

TEST_F(MultiEdit, TheContextMenuActsOnWhatIsUnderTheMouse)
{
    Put(ekRect, {20, 20, 40, 40});
    TLabelElement* b = Put(ekEllipse, {100, 20, 40, 40});
    ClickDot(Form(), {30, 30});
    QMenu* menu = RightClick(Form(), {110, 30});
    EXPECT_EQ(Form().SelectedElements(), (std::vector<TLabelElement*>{b}));
    for (const char* entry : {"Ausschneiden", "Kopieren", "Duplizieren", "Löschen", "Nach vorn", "Nach hinten",
                              "Alles auswählen"})
        EXPECT_TRUE(MenuEntry(menu, QString::fromUtf8(entry)) && MenuEntry(menu, QString::fromUtf8(entry))->isEnabled())
            << entry;
    EXPECT_FALSE(MenuEntry(menu, QStringLiteral("Einfügen"))->isEnabled());  // the clipboard is empty
    EXPECT_FALSE(MenuEntry(menu, QStringLiteral("Wiederholen"))->isEnabled());
    MenuEntry(menu, QStringLiteral("Duplizieren"))->trigger();
    menu->close();
    ASSERT_EQ(Doc().Elements.Count(), 3);
    EXPECT_EQ(Bounds(Doc().Elements[2]), QRect(108, 28, 40, 40));

    // On empty paper the selection stays, and it is what the menu acts on.
    Key(Form(), Qt::Key_A, Qt::ControlModifier);
    Choose(Form(), {300, 200}, QStringLiteral("Kopieren"));
    EXPECT_EQ(Form().SelectedElements().size(), 3u);
    EXPECT_EQ(clipboard::ElementsFromMime(*QGuiApplication::clipboard()->mimeData()).size(), 3u);
    Choose(Form(), {300, 200}, QStringLiteral("Löschen"));
    EXPECT_EQ(Doc().Elements.Count(), 0);
}

TEST_F(MultiEdit, TabWalksTheElementsAndEnterEditsTheText)
{
    TLabelElement* a = Put(ekRect, {20, 20, 40, 40});
    TLabelElement* t = Put(ekText, {100, 20, 100, 40});
    Form().RefreshAll();
    Key(Form(), Qt::Key_Tab);
    EXPECT_EQ(Form().Selected(), a);
    Key(Form(), Qt::Key_Tab);
    EXPECT_EQ(Form().Selected(), t);
    Key(Form(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Form().Selected(), a);
    Key(Form(), Qt::Key_Tab);
    Key(Form(), Qt::Key_Return);
    auto* memo = Form().findChild<QPlainTextEdit*>(QStringLiteral("MemoText"));
    EXPECT_TRUE(memo->hasFocus());
    // Past the last element Tab leaves the canvas.
    Key(Form(), Qt::Key_Tab);
    EXPECT_EQ(Form().Selected(), nullptr);
    EXPECT_FALSE(Form().ScrollBox()->hasFocus());
}

TEST_F(MultiEdit, ZoomKeysFitAndShowTheLabelAtFullSize)
{
    Key(Form(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 1.0);
    Key(Form(), Qt::Key_0, Qt::ControlModifier);
    const QSize v = Form().ScrollBox()->viewport()->size();
    EXPECT_NEAR(Form().Zoom(), std::min((v.width() - 48) / 384.0, (v.height() - 66) / 240.0), 1e-9);

    // Ctrl with the wheel zooms as the wheel alone does.
    Key(Form(), Qt::Key_1, Qt::ControlModifier);
    QWidget* port = Form().ScrollBox()->viewport();
    const QPointF at(port->width() / 2, port->height() / 2);
    QWheelEvent wheel(at, port->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(port, &wheel);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 1.25);
}

TEST(AlignOps, DistributingEqualisesTheGapsToTheDot)
{
    // Room 101 - 40 = 61 over three gaps: 21, 20, 20, in the order of the
    // left edges, the outermost staying.
    const std::vector<TDotRect> r = {{0, 0, 10, 5}, {60, 0, 70, 5}, {20, 0, 30, 5}, {91, 0, 101, 5}};
    const std::vector<TDotRect> d = alignops::Distribute(r, true);
    EXPECT_EQ(d[0].Left, 0);
    EXPECT_EQ(d[2].Left, 31);
    EXPECT_EQ(d[1].Left, 61);
    EXPECT_EQ(d[3].Left, 91);
    EXPECT_EQ(d[1].Width(), 10);
    EXPECT_EQ(alignops::Distribute({r[0], r[1]}, true)[1], r[1]);  // two stay as they are
}

} // namespace
