// Editing on the canvas with real mouse and key events: inserting, selecting,
// dragging on the grid, resizing without flipping, nudging and the element
// commands.
#include "edit_mouse.h"
#include "editor_fixture.h"

#include "editor/dialogs.h"
#include "editor/paint_box.h"
#include "editor/props_spin_edit.h"
#include "model/label_doc.h"
#include "model/picture_source.h"

#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CanvasEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
        Form().SetZoom(2.0);
        ASSERT_DOUBLE_EQ(Form().Zoom(), 2.0);
    }

    TLabelMainForm& Form() { return *F.Form; }
    TLabelDoc& Doc() { return F.Form->Doc(); }

    // An element of the label, not selected, without touching the history.
    // The position fields of the properties panel.
    QRect Fields()
    {
        auto v = [&](const char* name) { return Form().findChild<TSpinEdit*>(QLatin1String(name))->Value(); };
        return QRect(v("SeX"), v("SeY"), v("SeW"), v("SeH"));
    }

    TLabelElement* Put(TElemKind Kind, int x, int y, int w, int h)
    {
        auto E = std::make_unique<TLabelElement>(Kind);
        E->X = x;
        E->Y = y;
        E->W = w;
        E->H = h;
        return Doc().Elements.Add(std::move(E));
    }

    static QRect Bounds(const TLabelElement* E) { return QRect(E->X, E->Y, E->W, E->H); }

    TEditorFixture F;
};

// The element the last command added: on top of the list, and selected.
void ExpectAddedOnTop(TLabelMainForm& Form)
{
    ASSERT_GT(Form.Doc().Elements.Count(), 0);
    EXPECT_EQ(Form.Selected(), Form.Doc().Elements[Form.Doc().Elements.Count() - 1]);
}

struct InsertCase {
    const char* Name;
    int LengthMm;
    void (TLabelMainForm::*Command)();
    TElemKind Kind;
    QRect Geometry;
};

TEST_F(CanvasEditing, InsertCommandsPlaceTheirElementOnNewAndShortLabels)
{
    const InsertCase cases[] = {
        {"text, 30 mm", 30, &TLabelMainForm::InsertText, ekText, QRect(8, 88, 368, 64)},
        {"rectangle, 30 mm", 30, &TLabelMainForm::InsertRect, ekRect, QRect(112, 70, 160, 100)},
        {"ellipse, 30 mm", 30, &TLabelMainForm::InsertEllipse, ekEllipse, QRect(132, 60, 120, 120)},
        {"line, 30 mm", 30, &TLabelMainForm::InsertLine, ekLine, QRect(16, 116, 352, 8)},
        {"text, 5 mm", 5, &TLabelMainForm::InsertText, ekText, QRect(8, 8, 368, 24)},
        {"rectangle, 5 mm", 5, &TLabelMainForm::InsertRect, ekRect, QRect(112, 8, 160, 24)},
        {"ellipse, 5 mm", 5, &TLabelMainForm::InsertEllipse, ekEllipse, QRect(132, 8, 120, 24)},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Doc().Modified = false;
        Form().NewLabel();
        Doc().LengthMm = c.LengthMm;
        Form().RefreshAll();
        (Form().*c.Command)();

        ASSERT_EQ(Doc().Elements.Count(), 1);
        const TLabelElement* E = Doc().Elements[0];
        EXPECT_EQ(E->Kind, c.Kind);
        EXPECT_EQ(Bounds(E), c.Geometry);
        ExpectAddedOnTop(Form());
        EXPECT_EQ(Form().UndoCount(), 1);
        EXPECT_TRUE(Doc().Modified);
        if (c.Kind == ekText) {
            EXPECT_EQ(E->Text, QStringLiteral("Text"));
            EXPECT_TRUE(E->Bold);
            EXPECT_EQ(E->FontSize, c.LengthMm == 30 ? 40 : 16);
        } else {
            EXPECT_EQ(E->LineWidth, 3);
            EXPECT_FALSE(E->Bold);
        }
    }
}

TEST_F(CanvasEditing, ANewOrDoubleClickedTextIsReadyToBeTypedOver)
{
    auto* memo = Form().findChild<QPlainTextEdit*>(QStringLiteral("MemoText"));
    ASSERT_NE(memo, nullptr);
    auto expectReady = [&](const QString& text) {
        EXPECT_EQ(Form().focusWidget(), memo);
        EXPECT_EQ(memo->textCursor().selectedText(), text);
    };
    Form().InsertText();
    expectReady(QStringLiteral("Text"));
    QTest::keyClicks(memo, QStringLiteral("Hallo"));
    TLabelElement* E = Form().Selected();
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->Text, QStringLiteral("Hallo"));

    ClickDot(Form(), {300, 20});  // empty space: nothing selected, the canvas has the focus
    ASSERT_EQ(Form().Selected(), nullptr);
    DoubleClickPixel(Form(), Form().DesignToScreen(Bounds(E)).center());
    EXPECT_EQ(Form().Selected(), E);
    expectReady(QStringLiteral("Hallo"));
}

TEST_F(CanvasEditing, InsertImageFitsEightyPercentAndReportsBadFiles)
{
    QTemporaryDir dir;
    const QString wide = dir.filePath(QStringLiteral("breit.png"));
    QImage pic(1200, 600, QImage::Format_RGB32);
    pic.fill(Qt::gray);
    ASSERT_TRUE(pic.save(wide));
    const QString broken = dir.filePath(QStringLiteral("kaputt.png"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kein Bild");
    f.close();

    // A broken file and a cancelled dialog leave the label as it was.
    F.Dialogs.Files = {broken, QString()};
    Form().InsertImage();
    Form().InsertImage();
    ASSERT_EQ(F.Dialogs.Shown.size(), 3);
    const QString filter = PictureFileFilter();
    EXPECT_EQ(F.Dialogs.Shown[0], QStringLiteral("open: Bild einfügen | ") + filter);
    EXPECT_TRUE(F.Dialogs.Shown[1].startsWith(QStringLiteral("error: Bild konnte nicht geladen werden:\r\n")))
        << F.Dialogs.Shown[1].toStdString();
    EXPECT_GT(F.Dialogs.Shown[1].size(), QStringLiteral("error: Bild konnte nicht geladen werden:\r\n").size());
    EXPECT_EQ(F.Dialogs.Shown[2], QStringLiteral("open: Bild einfügen | ") + filter);
    EXPECT_EQ(Doc().Elements.Count(), 0);
    EXPECT_EQ(Form().UndoCount(), 0);
    EXPECT_FALSE(Doc().Modified);

    F.Dialogs.Files = {wide};
    Form().InsertImage();
    ASSERT_EQ(Doc().Elements.Count(), 1);
    const TLabelElement* E = Doc().Elements[0];
    EXPECT_EQ(E->Kind, ekImage);
    // s = min(307.2 / 1200, 192 / 600) = 0.256
    EXPECT_EQ(Bounds(E), QRect(38, 43, 307, 154));
    EXPECT_EQ(E->Image().size(), QSize(1200, 600));
    ExpectAddedOnTop(Form());
    EXPECT_EQ(Form().UndoCount(), 1);
}

TEST_F(CanvasEditing, DraggingSnapsTheCornerToTheGridUnlessAltIsHeld)
{
    struct {
        Qt::KeyboardModifiers Mods;
        int ExpectedX;
    } cases[] = {{Qt::NoModifier, 16}, {Qt::AltModifier, 14}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ExpectedX);
        Doc().Modified = false;
        Form().NewLabel();
        TLabelElement* E = Put(ekRect, 13, 21, 40, 30);
        // Pressed inside the element, moved 1 dot to the right (2 pixels at 200 %).
        DragDots(Form(), {30, 30}, {31, 30}, c.Mods);
        EXPECT_EQ(Form().Selected(), E);
        EXPECT_EQ(E->X, c.ExpectedX);
        EXPECT_EQ(E->Y, c.Mods == Qt::AltModifier ? 21 : 20);  // 21 -> 20 on the grid
        EXPECT_EQ(E->W, 40);
        EXPECT_EQ(E->H, 30);
        EXPECT_EQ(Fields(), Bounds(E));
        EXPECT_EQ(Form().UndoCount(), 1);
        EXPECT_TRUE(Doc().Modified);
        EXPECT_EQ(Form().DragState(), edNone);
    }
}

TEST_F(CanvasEditing, EveryDragStepIsMeasuredFromThePress)
{
    TLabelElement* wandering = Put(ekRect, 40, 40, 40, 40);
    TLabelElement* direct = Put(ekRect, 200, 40, 40, 40);
    // Far away and back, ending 6 dots right and 10 down of the press: the
    // same place a single step gives, and one undo step in all.
    DragPath(Form(), {DotPixel(Form(), 50, 50), DotPixel(Form(), 300, 150), DotPixel(Form(), -30, 10),
                      DotPixel(Form(), 51, 50), DotPixel(Form(), 56, 60)});
    DragDots(Form(), {210, 50}, {216, 60});
    EXPECT_EQ(Bounds(wandering), QRect(48, 48, 40, 40));  // 46 -> 48, 50 -> 48 (halves to even)
    EXPECT_EQ(Bounds(direct), QRect(208, 48, 40, 40));
    EXPECT_EQ(Form().UndoCount(), 2);

    // Dragged off the label is allowed.
    DragDots(Form(), {50, 50}, {-200, -100});
    EXPECT_EQ(QPoint(wandering->X, wandering->Y), QPoint(-200, -104));  // -202 -> -200, -102 -> -104
}

TEST_F(CanvasEditing, ResizingStopsAtTheMinimumSizeAndNeverFlips)
{
    struct {
        const char* Name;
        TElemKind Kind;
        QRect Start;
        int Corner;
        QPoint Move;  // in dots
        QRect Expected;
    } cases[] = {
        // Top-left handle of a 4 × 4 rectangle dragged 20 dots right: L = R - 4.
        {"rect top-left past the right edge", ekRect, QRect(40, 40, 4, 4), 0, {20, 0}, QRect(40, 40, 4, 4)},
        // Bottom-right handle of a line dragged up past its top: H = 1.
        {"line bottom-right past the top", ekLine, QRect(16, 100, 200, 8), 2, {0, -30}, QRect(16, 100, 200, 1)},
        {"rect bottom-right past the top-left", ekRect, QRect(40, 40, 60, 40), 2, {-100, -100}, QRect(40, 40, 4, 4)},
        {"rect top-right past the bottom-left", ekRect, QRect(40, 40, 60, 40), 1, {-100, 100}, QRect(40, 76, 4, 4)},
        {"ellipse bottom-left grows on the grid", ekEllipse, QRect(40, 40, 60, 40), 3, {-7, 9}, QRect(32, 40, 68, 48)},
        {"line keeps one dot of width", ekLine, QRect(40, 40, 60, 8), 3, {100, 0}, QRect(99, 40, 1, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Doc().Modified = false;
        Form().NewLabel();
        TLabelElement* E = Put(c.Kind, c.Start.x(), c.Start.y(), c.Start.width(), c.Start.height());
        Form().SelectElement(E);
        const QRect screen = Form().DesignToScreen(c.Start);
        const QPoint corners[] = {screen.topLeft(), QPoint(screen.left() + screen.width(), screen.top()),
                                  QPoint(screen.left() + screen.width(), screen.top() + screen.height()),
                                  QPoint(screen.left(), screen.top() + screen.height())};
        const QPoint press = corners[c.Corner];
        ASSERT_EQ(Form().HandleAt(press.x(), press.y()), c.Corner);
        DragPixels(Form(), press, press + c.Move * 2, Qt::NoModifier, 3);
        EXPECT_EQ(Bounds(E), c.Expected);
        EXPECT_EQ(Fields(), c.Expected);
        EXPECT_EQ(Form().Selected(), E);
        EXPECT_EQ(Form().UndoCount(), 1);
    }
}

TEST_F(CanvasEditing, KeysThatChangeTheSelectionEndADrag)
{
    TLabelElement* doomed = Put(ekRect, 40, 40, 60, 30);
    TLabelElement* kept = Put(ekEllipse, 200, 40, 60, 60);

    // Deleted under the held button: the rest of the drag does nothing.
    PressPixel(Form(), DotPixel(Form(), 50, 50));
    MovePixel(Form(), DotPixel(Form(), 54, 50));
    QTest::keyClick(Form().ScrollBox(), Qt::Key_Delete);
    MovePixel(Form(), DotPixel(Form(), 90, 90));
    ReleasePixel(Form(), DotPixel(Form(), 90, 90));
    EXPECT_EQ(Doc().Elements.IndexOf(doomed), -1);
    EXPECT_EQ(Form().Selected(), nullptr);

    // Duplicated under the held button: neither the copy nor the original
    // follows the mouse any more.
    PressPixel(Form(), DotPixel(Form(), 210, 50));
    QTest::keyClick(Form().ScrollBox(), Qt::Key_D, Qt::ControlModifier);
    MovePixel(Form(), DotPixel(Form(), 250, 90));
    ReleasePixel(Form(), DotPixel(Form(), 250, 90));
    ASSERT_EQ(Doc().Elements.Count(), 2);
    EXPECT_EQ(Bounds(kept), QRect(200, 40, 60, 60));
    EXPECT_EQ(Bounds(Doc().Elements[1]), QRect(208, 48, 60, 60));
    EXPECT_EQ(Form().DragState(), edNone);
}

TEST_F(CanvasEditing, AHandleOfTheSelectionWinsOverAnElementAboveIt)
{
    TLabelElement* below = Put(ekRect, 40, 40, 100, 60);
    TLabelElement* above = Put(ekEllipse, 120, 80, 100, 100);  // covers below's bottom-right corner
    ClickDot(Form(), {50, 50});
    ASSERT_EQ(Form().Selected(), below);
    const QPoint corner = Form().DesignToScreen(QRect(40, 40, 100, 60)).bottomRight() + QPoint(1, 1);
    ASSERT_EQ(Form().Doc().HitTest(Form().ScreenToDesign(corner.x(), corner.y())), above);

    DragPixels(Form(), corner, corner + QPoint(-40, -20));
    EXPECT_EQ(Form().Selected(), below);
    EXPECT_EQ(Bounds(below), QRect(40, 40, 80, 48));  // right 140 - 20 = 120; bottom 100 - 10 = 90 -> 88
    EXPECT_EQ(Bounds(above), QRect(120, 80, 100, 100));
}

TEST_F(CanvasEditing, AClickWithoutMovingOnlySelects)
{
    TLabelElement* E = Put(ekRect, 40, 40, 100, 60);
    const QString title = Form().windowTitle();
    ClickDot(Form(), {60, 60});
    EXPECT_EQ(Form().Selected(), E);
    EXPECT_EQ(Form().focusWidget(), Form().ScrollBox());
    // A wiggle inside the same dot (one pixel at 200 %) is no move either.
    const QPoint p = DotPixel(Form(), 60, 60);
    DragPixels(Form(), p, p + QPoint(1, 1));
    EXPECT_EQ(Bounds(E), QRect(40, 40, 100, 60));
    EXPECT_EQ(Form().UndoCount(), 0);
    EXPECT_FALSE(Doc().Modified);
    EXPECT_EQ(Form().windowTitle(), title);

    // Empty space clears the selection; other buttons do nothing.
    QTest::mouseClick(Form().Canvas(), Qt::RightButton, Qt::NoModifier, DotPixel(Form(), 300, 200));
    EXPECT_EQ(Form().Selected(), E);
    ClickDot(Form(), {300, 200});
    EXPECT_EQ(Form().Selected(), nullptr);
    EXPECT_EQ(Form().UndoCount(), 0);
}

TEST_F(CanvasEditing, TheCursorShowsWhatAPressWouldDo)
{
    TLabelElement* E = Put(ekRect, 40, 40, 100, 60);
    Form().SelectElement(E);
    const QRect r = Form().DesignToScreen(Bounds(E));
    const int R = r.left() + r.width(), B = r.top() + r.height();
    struct {
        QPoint At;
        Qt::CursorShape Shape;
    } cases[] = {
        {r.topLeft(), Qt::SizeFDiagCursor},      {QPoint(R, r.top()), Qt::SizeBDiagCursor},
        {QPoint(R, B), Qt::SizeFDiagCursor},     {QPoint(r.left(), B), Qt::SizeBDiagCursor},
        {r.center(), Qt::SizeAllCursor},         {DotPixel(Form(), 300, 200), Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        HoverPixel(Form(), c.At);
        EXPECT_EQ(Form().Canvas()->cursor().shape(), c.Shape) << c.At.x() << "," << c.At.y();
    }
}

TEST_F(CanvasEditing, ArrowKeysNudgeByOneOrEightDotsWithoutSnapping)
{
    TLabelElement* E = Put(ekRect, 13, 21, 40, 30);
    ClickDot(Form(), {20, 30});
    ASSERT_EQ(Form().Selected(), E);
    struct {
        int Key;
        Qt::KeyboardModifiers Mods;
        QPoint Expected;
    } steps[] = {
        {Qt::Key_Right, Qt::NoModifier, {14, 21}},    {Qt::Key_Right, Qt::ShiftModifier, {22, 21}},
        {Qt::Key_Down, Qt::ShiftModifier, {22, 29}},  {Qt::Key_Up, Qt::NoModifier, {22, 28}},
        {Qt::Key_Left, Qt::ShiftModifier, {14, 28}},
    };
    for (const auto& s : steps) {
        QTest::keyClick(Form().ScrollBox(), Qt::Key(s.Key), s.Mods);
        EXPECT_EQ(QPoint(E->X, E->Y), s.Expected);
    }
    EXPECT_EQ(QSize(E->W, E->H), QSize(40, 30));
    // A quick run of nudges on one element is one undo step.
    EXPECT_EQ(Form().UndoCount(), 1);
    EXPECT_TRUE(Doc().Modified);
}

TEST_F(CanvasEditing, DuplicateDeleteAndRestack)
{
    TLabelElement* first = Put(ekRect, 40, 40, 60, 30);
    first->Filled = true;
    ClickDot(Form(), {50, 50});
    QTest::keyClick(Form().ScrollBox(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(Form().ScrollBox(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(Doc().Elements.Count(), 3);
    EXPECT_EQ(Bounds(Doc().Elements[1]), QRect(48, 48, 60, 30));
    EXPECT_EQ(Bounds(Doc().Elements[2]), QRect(56, 56, 60, 30));
    EXPECT_TRUE(Doc().Elements[2]->Filled);
    ExpectAddedOnTop(Form());
    EXPECT_EQ(Form().UndoCount(), 2);

    // The topmost cannot go further up, the bottom one not further down:
    // nothing changes and nothing is recorded.
    TLabelElement* top = Form().Selected();
    Form().BringForward();
    Form().SelectElement(first);
    Form().SendBackward();
    EXPECT_EQ(Doc().Elements.IndexOf(top), 2);
    EXPECT_EQ(Doc().Elements.IndexOf(first), 0);
    EXPECT_EQ(Form().UndoCount(), 2);

    Form().BringForward();
    EXPECT_EQ(Doc().Elements.IndexOf(first), 1);
    EXPECT_EQ(Form().Selected(), first);
    Form().BringForward();
    EXPECT_EQ(Doc().Elements.IndexOf(first), 2);
    Form().SendBackward();
    EXPECT_EQ(Doc().Elements.IndexOf(first), 1);
    EXPECT_EQ(Form().UndoCount(), 5);

    ClickDot(Form(), {50, 50});  // the first one is now the topmost element there
    const TLabelElement* hit = Form().Selected();
    ASSERT_NE(hit, nullptr);
    QTest::keyClick(Form().ScrollBox(), Qt::Key_Delete);
    EXPECT_EQ(Doc().Elements.Count(), 2);
    EXPECT_EQ(Doc().Elements.IndexOf(hit), -1);
    EXPECT_EQ(Form().Selected(), nullptr);
    EXPECT_EQ(Form().UndoCount(), 6);

    // Without a selection the commands do nothing.
    Form().DuplicateSelected();
    Form().DeleteSelected();
    Form().BringForward();
    Form().SendBackward();
    EXPECT_EQ(Doc().Elements.Count(), 2);
    EXPECT_EQ(Form().UndoCount(), 6);
}

TEST_F(CanvasEditing, DoubleClickOnAPictureReplacesItInPlace)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("a.png"));
    const QString second = dir.filePath(QStringLiteral("b.png"));
    const QString missing = dir.filePath(QStringLiteral("fehlt.png"));
    QImage a(40, 20, QImage::Format_RGB32), b(30, 30, QImage::Format_RGB32);
    a.fill(Qt::black);
    b.fill(Qt::white);
    ASSERT_TRUE(a.save(first));
    ASSERT_TRUE(b.save(second));
    F.Dialogs.Files = {first};
    Form().InsertImage();
    TLabelElement* E = Form().Selected();
    ASSERT_NE(E, nullptr);
    const QRect placed = Bounds(E);
    const QByteArray oldPng = E->ImagePng();
    F.Dialogs.Shown.clear();

    // A file that does not load: an error box, and the element, the history
    // and the modified flag stay as they were.
    const int undoBefore = Form().UndoCount();
    Doc().Modified = false;
    F.Dialogs.Files = {missing};
    DoubleClickPixel(Form(), Form().DesignToScreen(placed).center());
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_EQ(F.Dialogs.Shown[0], QStringLiteral("open:  | ") + PictureFileFilter());
    EXPECT_TRUE(F.Dialogs.Shown[1].startsWith(QStringLiteral("error: Bild konnte nicht geladen werden:\r\n")));
    EXPECT_EQ(E->ImagePng(), oldPng);
    EXPECT_EQ(Form().UndoCount(), undoBefore);
    EXPECT_FALSE(Doc().Modified);

    F.Dialogs.Files = {second};
    DoubleClickPixel(Form(), Form().DesignToScreen(placed).center());
    EXPECT_EQ(Form().Selected(), E);
    EXPECT_EQ(E->Image().size(), QSize(30, 30));
    EXPECT_EQ(Bounds(E), placed);
    EXPECT_EQ(Form().UndoCount(), undoBefore + 1);
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(Form().DragState(), edNone);
}

} // namespace

namespace {

// The picture commands write their filter as "Name|patterns|..."; Qt's
// dialogs would read that as one pattern matching no file at all.
TEST(PictureDialogFilter, ReachesTheDesktopDialogInItsOwnForm)
{
    struct {
        const char* Filter;
        const char* Expected;
    } cases[] = {
        {"Bilder|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff|Alle Dateien|*.*",
         "Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff);;Alle Dateien (*)"},
        {"Bilder|*.png;*.jpg;*.jpeg;*.bmp;*.gif|Alle Dateien|*.*",
         "Bilder (*.png *.jpg *.jpeg *.bmp *.gif);;Alle Dateien (*)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtFileFilter(QString::fromUtf8(c.Filter)), QString::fromUtf8(c.Expected)) << c.Filter;
}

} // namespace
