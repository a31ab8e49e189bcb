// The main window as the user meets it: first start, placement, closing,
// the key table, the help window, the status line and the templates panel.
#include "editor_fixture.h"

#include "editor/controls/modern_button.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

// The program links the logo resources itself; a test program finds them in
// the editor library only when it asks for them, as the program's window
// should look here too.
static void InitLogoResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString Suffix = QStringLiteral(" – MIRVO Pellwerk");

QString TemplateFile(const QString& stem)
{
    return QDir(TAppSettings::TemplateDir()).filePath(stem + QStringLiteral(".pellwerk"));
}

void WriteTemplate(const QString& stem, const QString& name)
{
    TLabelDoc d;
    d.Name = name;
    d.SaveToFile(TemplateFile(stem));
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void StoreSettings(const std::function<void(TAppSettings&)>& change)
{
    TAppSettings s;
    s.Load();
    change(s);
    s.Save();
}

TAppSettings StoredSettings()
{
    TAppSettings s;
    s.Load();
    return s;
}

// Answers the next modal window (the help) from inside its own event loop:
// records its title and page, then closes it.
class TModalCloser {
public:
    TModalCloser()
    {
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m)
                return;
            Title = m->windowTitle();
            if (auto* tabs = m->findChild<QTabWidget*>())
                Page = tabs->currentIndex();
            ++Count;
            m->close();
        });
        FTimer.start();
    }
    QString Title;
    int Page = -1;
    int Count = 0;

private:
    QTimer FTimer;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitLogoResources();
        ResetDataFolder();
    }

    TLabelMainForm& Start()
    {
        TLabelMainForm& f = F.Create();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
    QListView* List() { return F.Form->findChild<QListView*>(QStringLiteral("LvTemplates")); }
    QStringList Captions()
    {
        EXPECT_TRUE(WaitForTemplates(*F.Form));
        return ListCaptions(List());
    }
    void SelectTemplate(const QString& caption)
    {
        const QModelIndexList items = List()->model()->match(List()->model()->index(0, 0), Qt::DisplayRole, caption,
                                                             -1, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << caption.toStdString();
        List()->setCurrentIndex(items.first());
        ASSERT_TRUE(List()->selectionModel()->isSelected(items.first()));
    }
    void SetCurrentRow(int row) { List()->setCurrentIndex(List()->model()->index(row, 0)); }
    QModelIndexList SelectedItems() { return List()->selectionModel()->selectedIndexes(); }
    QString Status3() { return F.Form->StatusBar()->Text(3); }
    TLabelElement* AddSelectedRect()
    {
        auto e = std::make_unique<TLabelElement>(ekRect);
        e->X = 40;
        e->Y = 40;
        TLabelElement* p = F.Form->Doc().Elements.Add(std::move(e));
        F.Form->SelectElement(p);
        return p;
    }
    // Sends a key to the widget that has the focus, as the keyboard would.
    void Key(QWidget* focus, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        F.Form->activateWindow();  // back from a closed dialog
        ASSERT_TRUE(QTest::qWaitForWindowActive(F.Form.get()));
        if (focus) {
            focus->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), focus);
        } else if (QWidget* had = QApplication::focusWidget()) {
            had->clearFocus();  // the key goes to the window itself
        }
        QTest::keyClick(focus ? focus : F.Form.get(), Qt::Key(key), mods);
    }

    TEditorFixture F;
};

// --- start-up -------------------------------------------------------------

TEST_F(MainWindow, FirstStartCreatesTheTemplatesAndANewLabel)
{
    TLabelMainForm& f = Start();
    EXPECT_EQ(f.size(), QSize(1400, 860));
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(f.pos(), QPoint(avail.x() + (avail.width() - 1400) / 2, avail.y() + (avail.height() - 860) / 2));
    EXPECT_DOUBLE_EQ(f.Zoom(), 2.0);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Neues Etikett – MIRVO Pellwerk"));
    EXPECT_EQ(f.Doc().LengthMm, 30);
    EXPECT_FALSE(f.Preview());

    const QStringList files = QDir(TAppSettings::TemplateDir()).entryList({QStringLiteral("*.pellwerk")}, QDir::Files);
    EXPECT_EQ(files.size(), 6);
    EXPECT_EQ(Captions().size(), 6);
    EXPECT_TRUE(Captions().contains(QStringLiteral("Preisschild")));
    EXPECT_TRUE(SelectedItems().isEmpty());
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
    EXPECT_EQ(f.StatusBar()->Text(2), QStringLiteral("Zoom 200 %"));
}

TEST_F(MainWindow, OpensTheLastLabelAndIgnoresABrokenOne)
{
    WriteTemplate(QStringLiteral("Mein"), QStringLiteral("Mein Etikett"));
    QFile bad(TemplateFile(QStringLiteral("kaputt")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("kein JSON");
    bad.close();

    StoreSettings([](TAppSettings& s) { s.LastTemplate = TemplateFile(QStringLiteral("Mein")); });
    {
        TEditorFixture g;
        g.Create();
        EXPECT_EQ(g.Form->Doc().Name, QStringLiteral("Mein Etikett"));
        EXPECT_EQ(g.Form->windowTitle(), QStringLiteral("Mein Etikett") + Suffix);
        // The list is filled before the label is opened: nothing selected.
        EXPECT_TRUE(g.Form->findChild<QListView*>(QStringLiteral("LvTemplates"))->selectionModel()->selectedIndexes().isEmpty());
    }
    StoreSettings([](TAppSettings& s) { s.LastTemplate = TemplateFile(QStringLiteral("kaputt")); });
    TLabelMainForm& f = Start();
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Neues Etikett"));
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
    // The folder was not empty, so no built-in template joined it.
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Mein Etikett")});
}

TEST_F(MainWindow, StoredPlacementAndZoom)
{
    struct TCase {
        int left, top;
        bool centred;
    };
    const TCase cases[] = {{100, -5, true}, {-1, 40, true}, {100, 50, false}, {0, 0, false}};
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top);
        ResetDataFolder();
        StoreSettings([&](TAppSettings& s) {
            s.WinLeft = c.left;
            s.WinTop = c.top;
            s.WinWidth = 900;
            s.WinHeight = 700;
        });
        TEditorFixture g;
        g.Create();
        EXPECT_EQ(g.Form->size(), QSize(900, 700));
        const QPoint want = c.centred
            ? QPoint(avail.x() + (avail.width() - 900) / 2, avail.y() + (avail.height() - 700) / 2)
            : QPoint(c.left, c.top);
        EXPECT_EQ(g.Form->pos(), want);
    }
    const std::pair<int, double> zooms[] = {{5, 0.25}, {5000, 8.0}, {150, 1.5}, {25, 0.25}, {800, 8.0}};
    for (const auto& [pct, zoom] : zooms) {
        StoreSettings([&](TAppSettings& s) { s.ZoomPct = pct; });
        TEditorFixture g;
        g.Create(false);
        EXPECT_DOUBLE_EQ(g.Form->Zoom(), zoom) << pct;
    }
}

TEST_F(MainWindow, MaximisedWindowKeepsItsNormalBoundsAtClose)
{
    StoreSettings([](TAppSettings& s) {
        s.WinLeft = 100;
        s.WinTop = 50;
        s.WinWidth = 900;
        s.WinHeight = 700;
        s.WinMaximized = true;
    });
    TLabelMainForm& f = Start();
    EXPECT_TRUE(f.isMaximized());
    f.SetZoom(3.0);
    ASSERT_TRUE(f.close());
    const TAppSettings s = StoredSettings();
    EXPECT_TRUE(s.WinMaximized);
    EXPECT_EQ(QRect(s.WinLeft, s.WinTop, s.WinWidth, s.WinHeight), QRect(100, 50, 900, 700));
    EXPECT_EQ(s.ZoomPct, 300);
}

// --- closing --------------------------------------------------------------

TEST_F(MainWindow, CloseAsksAboutUnsavedChanges)
{
    StoreSettings([](TAppSettings& s) { s.ZoomPct = 150; });
    TLabelMainForm& f = Start();
    f.move(120, 80);
    f.resize(1000, 750);
    f.SetZoom(1.25);
    f.Doc().Name = QStringLiteral("Zettel");
    f.DocChanged();
    const QString question = QStringLiteral("yesnocancel: Änderungen an \"Zettel\" speichern?");

    // Cancel: the window stays and nothing is stored.
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::Cancel};
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(F.Dialogs.Shown, QStringList{question});
    EXPECT_EQ(StoredSettings().ZoomPct, 150);

    // Yes, but the name prompt of the first save is cancelled: still open.
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::Yes};
    F.Dialogs.Inputs = {{false, QString()}};
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.Doc().Modified);
    EXPECT_EQ(StoredSettings().ZoomPct, 150);

    // No: closes without the label, but with placement and zoom.
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::No};
    EXPECT_TRUE(f.close());
    const TAppSettings s = StoredSettings();
    EXPECT_EQ(s.ZoomPct, 125);
    EXPECT_EQ(QRect(s.WinLeft, s.WinTop, s.WinWidth, s.WinHeight), QRect(120, 80, 1000, 750));
    EXPECT_FALSE(s.WinMaximized);
    EXPECT_TRUE(s.LastTemplate.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(TemplateFile(QStringLiteral("Zettel"))));
}

TEST_F(MainWindow, CloseWithYesSavesTheLabelAndTheNextStartOpensIt)
{
    TLabelMainForm& f = Start();
    f.Doc().LengthMm = 55;
    f.DocChanged();
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::Yes};
    F.Dialogs.Inputs = {{true, QStringLiteral("Zu")}};
    EXPECT_TRUE(f.close());
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("input: Als Vorlage speichern | Name der Vorlage: | Neues Etikett"));
    const QString file = TemplateFile(QStringLiteral("Zu"));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(StoredSettings().LastTemplate, file);

    TEditorFixture g;
    g.Create();
    EXPECT_EQ(g.Form->Doc().Name, QStringLiteral("Zu"));
    EXPECT_EQ(g.Form->Doc().LengthMm, 55);
    EXPECT_FALSE(g.Form->Doc().Modified);
}

TEST_F(MainWindow, CloseWithYesAndAFailedSaveKeepsTheWindowAndTheLabel)
{
    TLabelMainForm& f = Start();
    f.Doc().Name = QStringLiteral("Zettel");
    f.Doc().LengthMm = 66;
    // Its file lies in a folder that cannot be created: the save fails as on
    // a full disk or a read-only file.
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath(QStringLiteral("kein Ordner")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.Doc().FileName = tmp.filePath(QStringLiteral("kein Ordner/Zettel.pellwerk"));
    f.DocChanged();
    StoreSettings([](TAppSettings& s) { s.ZoomPct = 150; });

    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::Yes};
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(F.Dialogs.Shown.size(), 2);
    EXPECT_TRUE(F.Dialogs.Shown[1].startsWith(QStringLiteral("error: "))) << F.Dialogs.Shown[1].toStdString();
    EXPECT_TRUE(F.Dialogs.Shown[1].contains(QStringLiteral("konnte nicht gespeichert werden")))
        << F.Dialogs.Shown[1].toStdString();
    EXPECT_TRUE(f.Doc().Modified);
    EXPECT_EQ(f.Doc().LengthMm, 66);
    EXPECT_EQ(StoredSettings().ZoomPct, 150);  // nothing of the close went through

    // The user can still decide otherwise.
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::No};
    EXPECT_TRUE(f.close());
}

TEST_F(MainWindow, StartsWithAMessageWhenTheDataFolderCannotBeCreated)
{
    // A plain file where the data folder belongs: no folder can be made
    // there, whoever runs the program.
    TBlockedFolder blocked(TAppSettings::AppDir());

    TLabelMainForm& f = F.Create();
    QApplication::processEvents();
    ASSERT_EQ(F.Dialogs.Shown.size(), 1);
    EXPECT_TRUE(F.Dialogs.Shown[0].startsWith(QStringLiteral("error: Der Vorlagenordner \"")))
        << F.Dialogs.Shown[0].toStdString();
    EXPECT_TRUE(Captions().isEmpty());
    // The editor works.
    f.InsertRect();
    EXPECT_EQ(f.Doc().Elements.Count(), 1);
    EXPECT_TRUE(f.Doc().Modified);
    F.Dialogs.YesNoCancel = {TDialogs::TAnswer::No};
    EXPECT_TRUE(f.close());
}

// --- keys -----------------------------------------------------------------

TEST_F(MainWindow, F1OpensTheHelpOnItsFirstPageFromAnywhere)
{
    TLabelMainForm& f = Start();
    const struct {
        QWidget* focus;
        Qt::KeyboardModifiers mods;
    } cases[] = {{nullptr, Qt::NoModifier}, {f.ZoomBox(), Qt::ShiftModifier}, {List(), Qt::ControlModifier}};
    for (const auto& c : cases) {
        TModalCloser closer;
        Key(c.focus, Qt::Key_F1, c.mods);
        EXPECT_EQ(closer.Count, 1);
        EXPECT_EQ(closer.Title, QStringLiteral("Hilfe – MIRVO Pellwerk"));
        EXPECT_EQ(closer.Page, 0);
    }
}

TEST_F(MainWindow, HelpButtonAndLogoOpenTheHelpToo)
{
    TLabelMainForm& f = Start();
    TModernButton* help = nullptr;
    for (TModernButton* b : f.findChildren<TModernButton*>())
        if (b->Caption() == QStringLiteral("Hilfe"))
            help = b;
    ASSERT_TRUE(help);
    EXPECT_EQ(help->Hint(), QStringLiteral("Hilfe und Info (F1) – ") + TLabelMainForm::MakerWebAddress());
    QLabel* logo = nullptr;
    for (QLabel* l : f.findChildren<QLabel*>())
        if (l->toolTip() == QStringLiteral("MIRVO Pellwerk – Info und Hilfe"))
            logo = l;
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->geometry(), QRect(10, 8, 48, 48));
    for (QWidget* w : {static_cast<QWidget*>(help), static_cast<QWidget*>(logo)}) {
        TModalCloser closer;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        EXPECT_EQ(closer.Count, 1);
        EXPECT_EQ(closer.Page, 0);
    }
}

// A narrow window lets the right part of the toolbar cover the end of the
// left part: what is covered goes whole, nothing shows cut in half.
TEST_F(MainWindow, ToolbarShowsOnlyWholeButtonsAndOffersTheRestInAMenu)
{
    TLabelMainForm& f = Start();
    auto* left = f.findChild<QWidget*>(QStringLiteral("PnlTopLeft"));
    ASSERT_TRUE(left);
    auto* more = left->findChild<TModernButton*>(QStringLiteral("BtnToolbarMore"));
    ASSERT_TRUE(more);
    for (int width : {2400, 1400, 1000}) {
        SCOPED_TRACE(width);
        f.resize(width, 860);
        QApplication::processEvents();
        QStringList shown, hidden;
        QList<TModernButton*> buttons = left->findChildren<TModernButton*>();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (TModernButton* b : buttons) {
            if (b == more)
                continue;
            if (b->isVisible())
                EXPECT_LE(b->x() + b->width(), more->isVisible() ? more->x() : left->width()) << b->Caption().toStdString();
            (b->isVisible() ? shown : hidden) << b->Caption();
        }
        EXPECT_GT(shown.size(), 0);
        EXPECT_EQ(more->isVisible(), !hidden.isEmpty());
        if (width == 2400) {
            EXPECT_TRUE(hidden.isEmpty());
            continue;
        }
        // At the default width and below, the hidden commands are one click
        // away, in toolbar order.
        ASSERT_FALSE(hidden.isEmpty());
        EXPECT_LE(more->x() + more->width(), left->width());
        if (width == 1400) {
            for (const char* c : {"Rückgängig", "Nach hinten", "Hochformat", "Querformat"})
                EXPECT_TRUE(shown.contains(QString::fromUtf8(c)) || hidden.contains(QString::fromUtf8(c))) << c;
        }
        QTest::mouseClick(more, Qt::LeftButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        QStringList offered;
        for (QAction* a : menu->actions())
            offered << a->text();
        EXPECT_EQ(offered, hidden);
        menu->close();
    }
    // A command from the menu does what its button does.
    f.resize(1000, 860);
    QApplication::processEvents();
    f.Doc().LengthMm = 30;
    f.PushUndo();
    f.Doc().LengthMm = 70;
    f.DocChanged();
    QTest::mouseClick(more, Qt::LeftButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QAction* undo = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("Rückgängig"))
            undo = a;
    ASSERT_TRUE(undo);
    undo->trigger();
    EXPECT_EQ(f.Doc().LengthMm, 30);
}

TEST_F(MainWindow, CtrlKeysRunTheirCommandsEvenInTextFields)
{
    TLabelMainForm& f = Start();
    auto* copies = f.findChild<QSpinBox*>(QStringLiteral("SeCopies"));
    ASSERT_TRUE(copies);

    // Ctrl+N from the zoom box: a new label.
    f.Doc().Name = QStringLiteral("Alt");
    f.Doc().LengthMm = 50;
    f.ZoomBox()->setEditText(QStringLiteral("200 %"));
    Key(f.ZoomBox(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Neues Etikett"));
    EXPECT_EQ(f.Doc().LengthMm, 30);
    EXPECT_EQ(Status3(), QStringLiteral("Neues Etikett – Elemente über die Werkzeugleiste einfügen"));
    EXPECT_EQ(f.ZoomBox()->currentText(), QStringLiteral("200 %"));

    // Ctrl+S while typing the number of copies: the label is saved.
    F.Dialogs.Inputs = {{true, QStringLiteral("Gesichert")}};
    Key(copies, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFileInfo::exists(TemplateFile(QStringLiteral("Gesichert"))));
    EXPECT_EQ(copies->value(), 1);

    // Ctrl+P reaches the print command from a text field.
    const QString before = Status3();
    const qsizetype boxes = F.Dialogs.Shown.size();
    F.Dialogs.YesNo = {false};  // no printer: the print command asks whether to search for one
    Key(copies, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(Status3() != before || F.Dialogs.Shown.size() != boxes);

    // Ctrl with any other key is the focused control's own: Ctrl+A selects.
    Key(f.ZoomBox(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.ZoomBox()->lineEdit()->selectedText(), f.ZoomBox()->currentText());
}

TEST_F(MainWindow, CtrlZInATextFieldUndoesTheTyping)
{
    TLabelMainForm& f = Start();
    AddSelectedRect();
    const QString status = QStringLiteral("vorher");
    f.SetStatus(3, status);
    f.ZoomBox()->setEditText(QStringLiteral("200 %"));
    f.ZoomBox()->setFocus();
    f.ZoomBox()->lineEdit()->end(false);
    QTest::keyClicks(f.ZoomBox(), QStringLiteral("9"));
    ASSERT_EQ(f.ZoomBox()->currentText(), QStringLiteral("200 %9"));
    Key(f.ZoomBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.ZoomBox()->currentText(), QStringLiteral("200 %"));
    EXPECT_EQ(Status3(), status);  // the label's undo did not run
    EXPECT_EQ(f.Doc().Elements.Count(), 1);
}

TEST_F(MainWindow, ArrowsInTheZoomBoxMoveThroughItsSteps)
{
    TLabelMainForm& f = Start();
    TLabelElement* e = AddSelectedRect();
    Key(f.ZoomBox(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(f.Zoom(), 2.5);
    Key(f.ZoomBox(), Qt::Key_Up);
    Key(f.ZoomBox(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(f.Zoom(), 1.5);
    EXPECT_EQ(QPoint(e->X, e->Y), QPoint(40, 40));
    // Delete edits the text of the box.
    f.ZoomBox()->lineEdit()->end(false);
    f.ZoomBox()->lineEdit()->home(false);
    Key(f.ZoomBox(), Qt::Key_Delete);
    EXPECT_EQ(f.ZoomBox()->currentText(), QStringLiteral("50 %"));
    EXPECT_EQ(f.Doc().Elements.Count(), 1);
}

TEST_F(MainWindow, WithoutASelectionArrowsBelongToTheFocusedControl)
{
    Start();
    SetCurrentRow(0);
    Key(List(), Qt::Key_Down);
    EXPECT_GT(List()->currentIndex().row(), 0);
    Key(List(), Qt::Key_Delete);
    EXPECT_EQ(Captions().size(), 6);
    EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
}

// Check box, templates list or no focus at all: arrows and Delete act on
// the selected element, and never on the control.
TEST_F(MainWindow, ArrowsAndDeleteOutsideTextFieldsActOnTheSelection)
{
    TLabelMainForm& f = Start();
    auto* check = new QCheckBox(QStringLiteral("Probe"), &f);
    check->show();
    QWidget* focuses[] = {nullptr, check, List()};
    for (QWidget* focus : focuses) {
        SCOPED_TRACE(focus ? focus->metaObject()->className() : "window");
        f.Doc().Elements.Clear();
        TLabelElement* e = AddSelectedRect();
        SetCurrentRow(0);

        Key(focus, Qt::Key_Right);
        Key(focus, Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(List()->currentIndex().row(), 0);  // the list did not move
        EXPECT_EQ(QPoint(e->X, e->Y), QPoint(41, 48));
        Key(focus, Qt::Key_Left);
        Key(focus, Qt::Key_Up);
        EXPECT_EQ(QPoint(e->X, e->Y), QPoint(40, 47));
        Key(focus, Qt::Key_Delete);
        EXPECT_EQ(Captions().size(), 6);  // the selected template stays
        EXPECT_TRUE(F.Dialogs.Shown.isEmpty());
        EXPECT_EQ(f.Doc().Elements.Count(), 0);
        EXPECT_FALSE(check->isChecked());
    }
}

TEST_F(MainWindow, CtrlDAndCtrlZOutsideTextFieldsEditTheLabel)
{
    TLabelMainForm& f = Start();
    AddSelectedRect();
    Key(List(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(f.Doc().Elements.Count(), 2);
    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.Doc().Elements.Count(), 1);
}

// --- status line ----------------------------------------------------------

TEST_F(MainWindow, StatusLineHasFourPanels)
{
    TLabelMainForm& f = Start();
    const int widths[] = {380, 140, 90, 600};
    for (int i = 0; i < 4; ++i) {
        auto* panel = f.StatusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        ASSERT_TRUE(panel);
        EXPECT_EQ(panel->width(), widths[i]);
        f.SetStatus(i, QStringLiteral("Text %1").arg(i));
        EXPECT_EQ(f.StatusBar()->Text(i), QStringLiteral("Text %1").arg(i));
    }
    EXPECT_EQ(f.StatusBar()->toolTip(), QStringLiteral("Klick: Drucker & Druckeinstellungen"));
    EXPECT_THROW(f.SetStatus(4, QStringLiteral("x")), std::out_of_range);
    EXPECT_THROW(f.SetStatus(-1, QStringLiteral("x")), std::out_of_range);
}

// --- templates panel ------------------------------------------------------

TEST_F(MainWindow, TemplatesAreListedByFileNameAndBrokenFilesLeftOut)
{
    WriteTemplate(QStringLiteral("b"), QStringLiteral("Bert"));
    WriteTemplate(QStringLiteral("A"), QStringLiteral("Anna"));
    WriteTemplate(QStringLiteral("ä"), QStringLiteral("Ärger"));
    QFile bad(TemplateFile(QStringLiteral("B")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\xEF\xBB\xBF[1, 2]");
    bad.close();
    Start();
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Bert"), QStringLiteral("Ärger")}));

    ResetDataFolder();
    WriteTemplate(QStringLiteral("gut1"), QStringLiteral("Gut 1"));
    WriteTemplate(QStringLiteral("gut2"), QStringLiteral("Gut 2"));
    QFile bad2(TemplateFile(QStringLiteral("gut15")));
    ASSERT_TRUE(bad2.open(QIODevice::WriteOnly));
    bad2.write("{kaputt");
    bad2.close();
    F.Form->LoadTemplates();
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Gut 1"), QStringLiteral("Gut 2")}));
}

TEST_F(MainWindow, OpenTemplateByDoubleClickAndABrokenOne)
{
    WriteTemplate(QStringLiteral("Anna"), QStringLiteral("Anna"));
    WriteTemplate(QStringLiteral("Bert"), QStringLiteral("Bert"));
    TLabelMainForm& f = Start();
    const QPoint at = List()->visualRect(List()->model()->index(0, 0)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Anna"));
    EXPECT_EQ(Status3(), QStringLiteral("Vorlage geladen: Anna"));
    EXPECT_EQ(f.Settings().LastTemplate, TemplateFile(QStringLiteral("Anna")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Anna") + Suffix);

    // The file of "Bert" breaks after it was listed.
    QFile bad(TemplateFile(QStringLiteral("Bert")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("Unsinn");
    bad.close();
    SelectTemplate(QStringLiteral("Bert"));
    f.OpenTemplate(f.SelectedTemplate());
    EXPECT_EQ(F.Dialogs.Shown,
              QStringList{QStringLiteral("error: Vorlage konnte nicht geladen werden:\r\nKeine gültige Etikettendatei")});
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Anna"));
    EXPECT_EQ(f.Settings().LastTemplate, TemplateFile(QStringLiteral("Anna")));
    EXPECT_EQ(Status3(), QStringLiteral("Vorlage geladen: Anna"));
}

TEST_F(MainWindow, CopiesGetNumberedNames)
{
    WriteTemplate(QStringLiteral("Adresse"), QStringLiteral("Adresse"));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("Adresse"));
    f.CopyTemplate();
    SelectTemplate(QStringLiteral("Adresse"));
    f.CopyTemplate();
    SelectTemplate(QStringLiteral("Adresse (Kopie)"));
    f.CopyTemplate();
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Adresse (Kopie 2)"), QStringLiteral("Adresse (Kopie) (Kopie)"),
                                       QStringLiteral("Adresse (Kopie)"), QStringLiteral("Adresse")}));
    for (const char* stem : {"Adresse (Kopie)", "Adresse (Kopie 2)", "Adresse (Kopie) (Kopie)"})
        EXPECT_TRUE(QFileInfo::exists(TemplateFile(QString::fromUtf8(stem)))) << stem;
    // The editor's own label is not touched and no copy is opened.
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Neues Etikett"));
    EXPECT_FALSE(f.Doc().Modified);
    // Nothing selected: nothing happens.
    List()->clearSelection();
    f.CopyTemplate();
    EXPECT_EQ(Captions().size(), 4);
}

TEST_F(MainWindow, CopyNumberingLeavesPercentSignsOfTheNameAlone)
{
    // A name may hold what looks like a format marker; it is copied as typed.
    WriteTemplate(QStringLiteral("Preis"), QStringLiteral("Preis %2 %1"));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("Preis %2 %1"));
    f.CopyTemplate();
    SelectTemplate(QStringLiteral("Preis %2 %1"));
    f.CopyTemplate();
    EXPECT_TRUE(Captions().contains(QStringLiteral("Preis %2 %1 (Kopie)"))) << Captions().join(u'|').toStdString();
    EXPECT_TRUE(Captions().contains(QStringLiteral("Preis %2 %1 (Kopie 2)"))) << Captions().join(u'|').toStdString();
    EXPECT_EQ(Captions().size(), 3);
}

TEST_F(MainWindow, SaveAsAsksBeforeOverwritingAnotherTemplate)
{
    WriteTemplate(QStringLiteral("Anna"), QStringLiteral("Anna"));
    const QByteArray annaBefore = FileBytes(TemplateFile(QStringLiteral("Anna")));
    TLabelMainForm& f = Start();
    f.Doc().Name = QStringLiteral("X");
    f.Doc().LengthMm = 44;
    f.DocChanged();

    // No: nothing is written and the label is as it was.
    F.Dialogs.Inputs = {{true, QStringLiteral(" Anna\t")}};
    F.Dialogs.YesNo = {false};
    f.SaveLabelAs();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("yesno: Die Vorlage \"Anna\" gibt es schon. Überschreiben?"));
    EXPECT_EQ(FileBytes(TemplateFile(QStringLiteral("Anna"))), annaBefore);
    EXPECT_EQ(f.Doc().Name, QStringLiteral("X"));
    EXPECT_TRUE(f.Doc().FileName.isEmpty());
    EXPECT_TRUE(f.Doc().Modified);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("X *") + Suffix);

    // Spaces only: nothing at all.
    F.Dialogs.Inputs = {{true, QStringLiteral("   ")}};
    const qsizetype before = F.Dialogs.Shown.size();
    f.SaveLabelAs();
    EXPECT_EQ(F.Dialogs.Shown.size(), before + 1);
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Anna")});

    // Yes overwrites; the title loses its marker.
    F.Dialogs.Inputs = {{true, QStringLiteral("Anna")}};
    F.Dialogs.YesNo = {true};
    f.SaveLabelAs();
    EXPECT_EQ(f.Doc().FileName, TemplateFile(QStringLiteral("Anna")));
    EXPECT_FALSE(f.Doc().Modified);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Anna") + Suffix);
    TLabelDoc reread;
    reread.LoadFromFile(TemplateFile(QStringLiteral("Anna")));
    EXPECT_EQ(reread.LengthMm, 44);
    EXPECT_EQ(Status3(), QStringLiteral("Gespeichert: Anna"));
    EXPECT_EQ(SelectedItems().size(), 1);

    // Its own name again: no question.
    f.Doc().LengthMm = 45;
    f.DocChanged();
    F.Dialogs.Inputs = {{true, QStringLiteral("Anna")}};
    const qsizetype boxes = F.Dialogs.Shown.size();
    f.SaveLabelAs();
    EXPECT_EQ(F.Dialogs.Shown.size(), boxes + 1);  // only the input box
    EXPECT_FALSE(f.Doc().Modified);
}

TEST_F(MainWindow, SaveAsWithALeadingDotIsListed)
{
    TLabelMainForm& f = Start();
    const int before = List()->model()->rowCount();
    F.Dialogs.Inputs = {{true, QStringLiteral(".Regal")}};
    f.SaveLabelAs();
    ASSERT_FALSE(f.Doc().Modified);
    EXPECT_TRUE(QFileInfo(f.Doc().FileName).isHidden());
    EXPECT_EQ(List()->model()->rowCount(), before + 1);
    EXPECT_TRUE(Captions().contains(QStringLiteral(".Regal")));
    ASSERT_EQ(SelectedItems().size(), 1);
    EXPECT_EQ(SelectedItems().first().data().toString(), QStringLiteral(".Regal"));
}

TEST_F(MainWindow, SaveKeepsTheFileAndNewClearsTheTitle)
{
    TLabelMainForm& f = Start();
    f.Doc().Name = QStringLiteral("Preis/Schild");
    f.DocChanged();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Preis/Schild *") + Suffix);
    F.Dialogs.Inputs = {{true, QStringLiteral("Preis/Schild")}};
    f.SaveLabel();
    const QString file = TemplateFile(QStringLiteral("Preis_Schild"));
    EXPECT_EQ(f.Doc().FileName, file);
    EXPECT_TRUE(Captions().contains(QStringLiteral("Preis/Schild")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Preis/Schild") + Suffix);
    EXPECT_EQ(f.Settings().LastTemplate, file);

    // Saving again writes the same file, even under a changed name.
    f.Doc().Name = QStringLiteral("Preisschild neu");
    f.DocChanged();
    f.SaveLabel();
    EXPECT_EQ(f.Doc().FileName, file);
    EXPECT_TRUE(Captions().contains(QStringLiteral("Preisschild neu")));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Preisschild neu") + Suffix);
    EXPECT_EQ(Status3(), QStringLiteral("Gespeichert: Preisschild neu"));

    f.NewLabel();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Neues Etikett") + Suffix);
    EXPECT_EQ(f.Settings().LastTemplate, file);  // New leaves it
}

TEST_F(MainWindow, RenameTemplate)
{
    WriteTemplate(QStringLiteral("Anna"), QStringLiteral("Anna"));
    WriteTemplate(QStringLiteral("Bert"), QStringLiteral("Bert"));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("Anna"));
    f.OpenTemplate(f.SelectedTemplate());
    f.Doc().LengthMm = 70;
    f.DocChanged();

    // Onto another template's name: a warning and no change.
    const QByteArray bert = FileBytes(TemplateFile(QStringLiteral("Bert")));
    F.Dialogs.Inputs = {{true, QStringLiteral("Bert")}};
    f.RenameTemplate();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("warning: Eine Vorlage mit diesem Namen gibt es schon."));
    EXPECT_EQ(FileBytes(TemplateFile(QStringLiteral("Bert"))), bert);
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Anna"), QStringLiteral("Bert")}));

    // The open label follows its file; the unsaved edit is not written.
    SelectTemplate(QStringLiteral("Anna"));
    F.Dialogs.Inputs = {{true, QStringLiteral("Clara")}};
    f.RenameTemplate();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("input: Vorlage umbenennen | Neuer Name: | Anna"));
    EXPECT_FALSE(QFileInfo::exists(TemplateFile(QStringLiteral("Anna"))));
    EXPECT_EQ(f.Doc().FileName, TemplateFile(QStringLiteral("Clara")));
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Clara"));
    EXPECT_TRUE(f.Doc().Modified);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Clara *") + Suffix);
    TLabelDoc onDisk;
    onDisk.LoadFromFile(TemplateFile(QStringLiteral("Clara")));
    EXPECT_EQ(onDisk.LengthMm, 30);
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Bert"), QStringLiteral("Clara")}));
}

// On a file system that tells cases apart, a new spelling of the same name is
// a new file: the old one must go, or the template would be listed twice.
TEST_F(MainWindow, RenameThatOnlyChangesTheCaseLeavesOneFile)
{
    WriteTemplate(QStringLiteral("adresse"), QStringLiteral("adresse"));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("adresse"));
    f.OpenTemplate(f.SelectedTemplate());
    SelectTemplate(QStringLiteral("adresse"));
    F.Dialogs.Inputs = {{true, QStringLiteral("Adresse")}};
    f.RenameTemplate();
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Adresse")});
    EXPECT_EQ(QDir(TAppSettings::TemplateDir()).entryList({QStringLiteral("*.pellwerk")}, QDir::Files).size(), 1);
    EXPECT_TRUE(QFileInfo::exists(f.Doc().FileName));
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Adresse"));
}

// Two templates whose file names differ only in case are two templates;
// saving one under the other's name must ask first.
TEST_F(MainWindow, SaveAsDoesNotTakeAFileOfOtherCaseForItsOwn)
{
    WriteTemplate(QStringLiteral("Anna"), QStringLiteral("Anna"));
    WriteTemplate(QStringLiteral("anna"), QStringLiteral("anna"));
    const QByteArray upper = FileBytes(TemplateFile(QStringLiteral("Anna")));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("anna"));
    f.OpenTemplate(f.SelectedTemplate());
    F.Dialogs.Inputs = {{true, QStringLiteral("Anna")}};
    F.Dialogs.YesNo = {false};
    f.SaveLabelAs();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("yesno: Die Vorlage \"Anna\" gibt es schon. Überschreiben?"));
    EXPECT_EQ(FileBytes(TemplateFile(QStringLiteral("Anna"))), upper);
}

TEST_F(MainWindow, DeletingTheOpenTemplateKeepsTheLabelUnsaved)
{
    WriteTemplate(QStringLiteral("Anna"), QStringLiteral("Anna"));
    WriteTemplate(QStringLiteral("Bert"), QStringLiteral("Bert"));
    TLabelMainForm& f = Start();
    SelectTemplate(QStringLiteral("Anna"));
    f.OpenTemplate(f.SelectedTemplate());

    SelectTemplate(QStringLiteral("Bert"));
    F.Dialogs.YesNo = {false};
    f.DeleteTemplate();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("yesno: Vorlage \"Bert\" wirklich löschen?"));
    EXPECT_TRUE(QFileInfo::exists(TemplateFile(QStringLiteral("Bert"))));

    SelectTemplate(QStringLiteral("Anna"));
    F.Dialogs.YesNo = {true};
    f.DeleteTemplate();
    EXPECT_FALSE(QFileInfo::exists(TemplateFile(QStringLiteral("Anna"))));
    EXPECT_EQ(Captions(), QStringList{QStringLiteral("Bert")});
    EXPECT_EQ(f.Doc().Name, QStringLiteral("Anna"));
    EXPECT_TRUE(f.Doc().FileName.isEmpty());
    EXPECT_TRUE(f.Doc().Modified);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Anna *") + Suffix);

    // The next Save asks for a name.
    F.Dialogs.Inputs = {{false, QString()}};
    f.SaveLabel();
    EXPECT_EQ(F.Dialogs.Shown.last(), QStringLiteral("input: Als Vorlage speichern | Name der Vorlage: | Anna"));
}

} // namespace
