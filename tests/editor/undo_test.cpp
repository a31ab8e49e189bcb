// The undo history: steps recorded by the canvas commands and the mouse,
// bursts merged on the injected clock, the limit of 50 and what Undo restores.
#include "edit_mouse.h"
#include "editor_fixture.h"

#include "editor/status_bar.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QDir>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString NothingLeft = QStringLiteral("Nichts mehr rückgängig zu machen");

class UndoHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
        Form().SetZoom(2.0);
    }

    TLabelMainForm& Form() { return *F.Form; }
    TLabelDoc& Doc() { return F.Form->Doc(); }
    QString Message() const { return F.Form->StatusBar()->Text(3); }

    // A rectangle inserted and selected through the toolbar command.
    TLabelElement* InsertedRect()
    {
        Form().InsertRect();
        return Form().Selected();
    }

    // One edit of a burst as the property fields make it: record (merged),
    // change, mark modified.
    void MergedEdit(const std::function<void()>& Change)
    {
        Form().PushUndoMerged();
        Change();
        Form().DocChanged();
    }

    // A key pressed on the canvas, where the label's keys act.
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        Form().ScrollBox()->setFocus();
        QTest::keyClick(Form().ScrollBox(), Qt::Key(K), Mods);
    }

    TEditorFixture F;
};

TEST_F(UndoHistory, ABurstOfTypingIsOneStepAndAPauseStartsAnother)
{
    Form().InsertText();
    TLabelElement* E = Form().Selected();
    ASSERT_NE(E, nullptr);
    const int base = Form().UndoCount();

    // "Hallo" with 1.4 s between the keys, then "!" after a pause of 2 s.
    QString typed = E->Text;
    for (QChar c : QStringLiteral("Hallo")) {
        typed += c;
        MergedEdit([&] { E->Text = typed; });
        F.Now += 1400;
    }
    F.Now += 600;  // 2 s after the last letter
    MergedEdit([&] { E->Text += QLatin1Char('!'); });
    EXPECT_EQ(Form().UndoCount(), base + 2);

    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(Form().Selected(), nullptr);
    EXPECT_EQ(Form().Selected()->Text, QStringLiteral("TextHallo"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Selected()->Text, QStringLiteral("Text"));
    EXPECT_EQ(Form().UndoCount(), base);
}

TEST_F(UndoHistory, MergingIsKeyedByTimeAndSelection)
{
    struct {
        const char* Name;
        uint64_t Gap;
        bool OtherSelection;
        bool PushBetween;
        int Steps;
    } cases[] = {
        {"just inside the window", 1499, false, false, 1},
        {"window over", 1500, false, false, 2},
        {"another element", 10, true, false, 2},
        {"a plain step in between", 10, false, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Doc().Modified = false;
        Form().NewLabel();
        TLabelElement* a = InsertedRect();
        TLabelElement* b = InsertedRect();
        Form().SelectElement(a);
        const int base = Form().UndoCount();
        MergedEdit([&] { a->X += 1; });
        F.Now += c.Gap;
        if (c.OtherSelection)
            Form().SelectElement(b);
        if (c.PushBetween) {
            Form().PushUndo();
            Form().Selected()->Filled = !Form().Selected()->Filled;
        }
        MergedEdit([&] { Form().Selected()->Y += 1; });
        EXPECT_EQ(Form().UndoCount() - base, c.Steps);
    }
}

TEST_F(UndoHistory, NudgesMergeUntilAPause)
{
    TLabelElement* E = InsertedRect();
    const int x0 = E->X;
    const int base = Form().UndoCount();
    for (int i = 0; i < 5; ++i) {
        Key(Qt::Key_Right);
        F.Now += 200;
    }
    F.Now += 2000;
    Key(Qt::Key_Right);
    EXPECT_EQ(Form().Selected()->X, x0 + 6);
    EXPECT_EQ(Form().UndoCount(), base + 2);

    Form().Undo();
    EXPECT_EQ(Form().Selected()->X, x0 + 5);
    Form().Undo();
    EXPECT_EQ(Form().Selected()->X, x0);
}

TEST_F(UndoHistory, UndoRestoresADragAndKeepsTheListPosition)
{
    Form().InsertRect();  // 112, 70, 160 x 100
    Form().InsertEllipse();
    TLabelElement* rect = Doc().Elements[0];
    ClickDot(Form(), {115, 75});
    ASSERT_EQ(Form().Selected(), rect);
    DragDots(Form(), {115, 75}, {135, 95});
    EXPECT_EQ(QPoint(rect->X, rect->Y), QPoint(132, 88));  // 132, 90 -> 88

    Form().Undo();
    ASSERT_EQ(Doc().Elements.Count(), 2);
    TLabelElement* restored = Doc().Elements[0];
    EXPECT_EQ(QRect(restored->X, restored->Y, restored->W, restored->H), QRect(112, 70, 160, 100));
    EXPECT_EQ(Form().Selected(), restored);
    EXPECT_EQ(Form().DragState(), edNone);

    // Undoing the insert of the ellipse: it is gone and its list position
    // with it, so nothing is selected.
    ClickDot(Form(), {192, 120});
    ASSERT_EQ(Doc().Elements.IndexOf(Form().Selected()), 1);
    Form().Undo();
    EXPECT_EQ(Doc().Elements.Count(), 1);
    EXPECT_EQ(Form().Selected(), nullptr);
}

TEST_F(UndoHistory, OnlyTheLastFiftyStepsAreKept)
{
    TLabelElement* E = InsertedRect();
    for (int i = 0; i < 60; ++i) {
        const QPoint at(E->X + 10, E->Y + 10);
        DragDots(Form(), at, at + QPoint(4, 0));
        E = Form().Selected();
    }
    EXPECT_EQ(E->X, 112 + 60 * 4);
    EXPECT_EQ(Form().UndoCount(), 50);
    for (int i = 0; i < 50; ++i)
        Form().Undo();
    // The insert and the first ten drags are out of reach.
    ASSERT_EQ(Doc().Elements.Count(), 1);
    EXPECT_EQ(Doc().Elements[0]->X, 112 + 10 * 4);
    EXPECT_NE(Message(), NothingLeft);
    Form().Undo();
    EXPECT_EQ(Message(), NothingLeft);
    EXPECT_EQ(Doc().Elements[0]->X, 112 + 10 * 4);

    // An unchanged document is never recorded twice.
    Form().PushUndo();
    Form().PushUndo();
    EXPECT_EQ(Form().UndoCount(), 1);
}

TEST_F(UndoHistory, UndoAfterOpeningATemplateAndWhatItRestores)
{
    const QStringList files = QDir(TAppSettings::TemplateDir()).entryList({QStringLiteral("*.pellwerk")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    const QString file = QDir(TAppSettings::TemplateDir()).filePath(files.first());
    Form().InsertRect();
    F.Dialogs.YesNoCancel.push_back(TDialogs::TAnswer::No);
    Form().OpenTemplate(file);
    ASSERT_EQ(Doc().FileName, file);
    const QString name = Doc().Name;

    Form().Undo();
    EXPECT_EQ(Message(), NothingLeft);
    EXPECT_FALSE(Doc().Modified);
    EXPECT_FALSE(Form().windowTitle().contains(QStringLiteral(" *")));

    // A rename as the name field makes it, saved; Undo brings the old name
    // back, keeps the file name and marks the label modified although it
    // now differs from the file on disk only by what was saved.
    MergedEdit([&] { Doc().Name = QStringLiteral("Umbenannt"); });
    Form().SaveLabel();
    ASSERT_FALSE(Doc().Modified);
    Form().Undo();
    EXPECT_EQ(Doc().Name, name);
    EXPECT_EQ(Doc().FileName, file);
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(Form().windowTitle(), name + QStringLiteral(" * – MIRVO Pellwerk"));
}

TEST_F(UndoHistory, ANewLabelClosesTheMergeWindow)
{
    // A rename, then a new label at once, then a rename of the new label:
    // that second rename has a step of its own although the clock hardly moved.
    MergedEdit([&] { Doc().Name = QStringLiteral("Erstes"); });
    F.Dialogs.YesNoCancel.push_back(TDialogs::TAnswer::No);
    Form().NewLabel();
    F.Now += 100;
    MergedEdit([&] { Doc().Name = QStringLiteral("Zweites"); });
    ASSERT_EQ(Form().UndoCount(), 1);
    Form().Undo();
    EXPECT_EQ(Doc().Name, QStringLiteral("Neues Etikett"));
}

} // namespace
