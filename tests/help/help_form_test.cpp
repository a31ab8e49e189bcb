#include "editor/controls/modern_button.h"
#include "help/help_form.h"
#include "help/maker_website.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Records every web address the window asks to open instead of starting a browser.
struct UrlRecorder {
    std::vector<QUrl> opened;
    UrlRecorder()
    {
        SetUrlOpener([this](const QUrl& u) {
            opened.push_back(u);
            return true;
        });
    }
    ~UrlRecorder() { SetUrlOpener({}); }
};

std::unique_ptr<THelpForm> Create(int startPage = 0, QWidget* owner = nullptr)
{
    return std::unique_ptr<THelpForm>(THelpForm::CreateHelp(owner, startPage));
}

QTabWidget* Tabs(QWidget* form) { return form->findChild<QTabWidget*>(u"Pages"_s); }

QTextBrowser* View(QWidget* form, int page)
{
    return Tabs(form)->widget(page)->findChild<QTextBrowser*>();
}

template <class T>
T* Child(QWidget* form, const QString& name)
{
    T* w = form->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

int BoldBlueBlocks(QTextDocument* doc)
{
    int n = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QTextCharFormat f = b.begin().fragment().charFormat();
        n += (f.fontWeight() >= QFont::Bold && f.foreground().color() == QColor(0, 120, 215)) ? 1 : 0;
    }
    return n;
}

} // namespace

TEST(HelpForm, PagesShowTheirTextsWithHeadingsInBlue)
{
    struct Page {
        QString title;
        int headings;
        std::vector<QString> texts;
    } pages[] = {
        {u"Erste Schritte"_s, 3,
         {u"Willkommen bei MIRVO Pellwerk"_s,
          u"Drucken: Anzahl der Kopien wählen und auf den blauen Knopf \"Drucken\" klicken."_s,
          u"Tipp: Die Handy-App des Druckers vorher schließen – Bluetooth LE erlaubt nur eine Verbindung."_s,
          u"Ordner-Symbol: öffnet den Vorlagenordner im Explorer"_s}},
        {u"Bedienung"_s, 4,
         {u"Elemente bearbeiten"_s, u"{DATUM}\theutiges Datum, z. B. 30.11.2026"_s,
          u"{NR}\tlaufende Nummer bei mehreren Kopien (1, 2, 3 …)"_s,
          u"Rechts unter \"Position & Größe\" lassen sich alle Werte pixelgenau eingeben (8 px = 1 mm)."_s,
          u"\"Vorschau\" zeigt genau die Punkte, die der Drucker setzen wird."_s}},
        {u"Tastenkürzel"_s, 2,
         {u"F1\tdiese Hilfe"_s, u"Umschalt + Pfeil\tAuswahl um 8 px (1 mm) verschieben"_s,
          u"Doppelklick\tText bearbeiten bzw. Bild ersetzen"_s}},
        {u"Drucker & Tipps"_s, 3,
         {u"Drucker & Druckqualität"_s,
          u"Paketgröße 180 Byte ist unter Windows schnell; bei Abbrüchen auf 20 senken."_s,
          u"\"Überhitzt\": kurz abkühlen lassen, dann weiterdrucken."_s, u"Mehr Informationen"_s,
          MakerWebsite()}},
        {u"Lizenz"_s, 0, {u"privaten Gebrauch"_s, u"sendet keine Daten"_s}},
    };
    auto form = Create();
    QTabWidget* tabs = Tabs(form.get());
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) {
        const Page& p = pages[i];
        EXPECT_EQ(tabs->tabText(i).replace(u"&&"_s, u"&"_s), p.title) << "a doubled & shows as one";
        QTextBrowser* view = View(form.get(), i);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isReadOnly());
        EXPECT_EQ(view->frameShape(), QFrame::NoFrame);
        const QString text = view->document()->toPlainText();
        for (const QString& t : p.texts)
            EXPECT_TRUE(text.contains(t)) << p.title.toStdString() << ": " << t.toStdString();
        if (p.headings > 0) {
            EXPECT_EQ(BoldBlueBlocks(view->document()), p.headings) << p.title.toStdString();
        } else {
            EXPECT_GE(BoldBlueBlocks(view->document()), 2) << "the licence page has headings too";
        }
        EXPECT_EQ(view->textCursor().position(), 0) << "pages open at their top";
    }
}

TEST(HelpForm, WindowHeaderAndFooterAreLaidOut)
{
    QWidget owner;
    owner.setGeometry(100, 100, 1400, 860);
    auto form = Create(0, &owner);
    EXPECT_EQ(form->windowTitle(), u"Hilfe – MIRVO Pellwerk"_s);
    EXPECT_EQ(form->size(), QSize(760, 620));
    EXPECT_EQ(form->minimumSize(), QSize(560, 420));
    EXPECT_TRUE(form->isModal());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(243, 243, 243));
    EXPECT_FALSE(form->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->geometry().center(), owner.geometry().center()) << "centred on the owner";

    auto* header = Child<QWidget>(form.get(), u"Header"_s);
    auto* footer = Child<QWidget>(form.get(), u"Footer"_s);
    ASSERT_TRUE(header && footer);
    EXPECT_EQ(header->height(), 124);
    EXPECT_EQ(footer->height(), 52);
    EXPECT_EQ(header->palette().color(QPalette::Window), QColor(Qt::white));

    struct LabelCase {
        const char* name;
        QRect geometry;
        QString text;
        QColor colour;
    } labels[] = {
        {"Title", QRect(136, 14, 400, 36), u"MIRVO Pellwerk"_s, QColor(32, 32, 32)},
        {"Tagline", QRect(138, 54, 400, 20), u"Aufkleber-Editor für Thermo-Minidrucker"_s, QColor(112, 112, 112)},
        {"Version", QRect(138, 76, 560, 18), QString(), QColor(112, 112, 112)},
    };
    for (const LabelCase& l : labels) {
        auto* label = Child<QLabel>(form.get(), QString::fromLatin1(l.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry(), l.geometry) << l.name;
        if (!l.text.isEmpty()) {
            EXPECT_EQ(label->text(), l.text) << l.name;
        }
        EXPECT_EQ(label->palette().color(QPalette::WindowText), l.colour) << l.name;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), l.geometry.width()) << l.name << " fits";
    }
    EXPECT_TRUE(Child<QLabel>(form.get(), u"Version"_s)->text().contains(u"1.0"_s));

    auto* logo = Child<QLabel>(form.get(), u"Logo"_s);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->geometry(), QRect(18, 12, 100, 100));
    ASSERT_FALSE(logo->pixmap().isNull()) << "the logo resource is linked in";
    EXPECT_LE(logo->pixmap().deviceIndependentSize().width(), 100);
    EXPECT_LE(logo->pixmap().deviceIndependentSize().height(), 100);

    auto* web = Child<TModernButton>(form.get(), u"WebsiteButton"_s);
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->Compact());
    EXPECT_EQ(web->Glyph(), 0xE774);
    EXPECT_EQ(web->Caption(), u"Webseite öffnen"_s);
    EXPECT_EQ(web->toolTip(), MakerWebsite());
    EXPECT_EQ(web->pos(), QPoint(12, 10));
    EXPECT_EQ(web->height(), 32);

    auto* close = Child<QPushButton>(form.get(), u"CloseButton"_s);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), u"Schließen"_s);
    EXPECT_EQ(close->size(), QSize(110, 30));
    EXPECT_TRUE(close->isDefault());
    for (int width : {760, 1000, 560}) {
        form->resize(width, 620);
        form->show();
        QApplication::processEvents();
        EXPECT_EQ(close->pos(), QPoint(footer->width() - 124, 11)) << "anchored to the right at width " << width;
    }
}

TEST(HelpForm, StartPageSelectsAValidPageOnly)
{
    struct Case {
        int start;
        int shown;
    } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {3, 3}, {4, 4}, {5, 0}, {INT_MIN, 0}, {INT_MAX, 0}};
    for (const Case& c : cases) {
        auto form = Create(c.start);
        EXPECT_EQ(Tabs(form.get())->currentIndex(), c.shown) << c.start;
    }
    auto form = Create(3);
    EXPECT_EQ(Tabs(form.get())->tabText(3), u"Drucker && Tipps"_s);
}

TEST(HelpForm, EscAndEnterCloseWithOk)
{
    struct Case {
        const char* name;
        Qt::Key key;
        bool focusOnTabs;
    } cases[] = {
        {"Esc in the text", Qt::Key_Escape, false},
        {"Enter in the text", Qt::Key_Enter, false},
        {"Return in the text", Qt::Key_Return, false},
        {"Esc on the tabs", Qt::Key_Escape, true},
        {"Return on the tabs", Qt::Key_Return, true},
    };
    for (const Case& c : cases) {
        auto form = Create();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QWidget* target = c.focusOnTabs ? static_cast<QWidget*>(Tabs(form.get())->tabBar()) : View(form.get(), 0);
        target->setFocus();
        QApplication::processEvents();
        form->setResult(-1);
        QTest::keyClick(target, c.key);
        EXPECT_FALSE(form->isVisible()) << c.name;
        EXPECT_EQ(form->result(), QDialog::Accepted) << c.name;
    }
}

TEST(HelpForm, ShowHelpWindowRunsModallyAndFreesTheWindow)
{
    QWidget owner;
    bool sawModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        sawModal = modal && modal->objectName() == u"HelpForm"_s;
        if (modal)
            QTest::keyClick(modal, Qt::Key_Escape);
    });
    ShowHelpWindow(&owner, 2);
    EXPECT_TRUE(sawModal);
    EXPECT_EQ(owner.findChild<THelpForm*>(), nullptr) << "freed when the modal loop ends";
}

TEST(HelpForm, WebLinksOpenTheMakersSite)
{
    UrlRecorder urls;
    auto form = Create(3);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));

    auto* web = Child<TModernButton>(form.get(), u"WebsiteButton"_s);
    ASSERT_NE(web, nullptr);
    QTest::mouseClick(web, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));

    auto* link = Child<QLabel>(form.get(), u"WebLink"_s);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->geometry(), QRect(138, 96, 200, 20));
    emit link->linkActivated(MakerWebsite());

    // The address in the "Mehr Informationen" paragraph is a link as well.
    QTextBrowser* view = View(form.get(), 3);
    QTextCursor found = view->document()->find(MakerWebsite());
    ASSERT_FALSE(found.isNull());
    EXPECT_EQ(found.charFormat().anchorHref(), MakerWebsite());
    emit view->anchorClicked(QUrl(found.charFormat().anchorHref()));

    ASSERT_EQ(urls.opened.size(), 3u);
    for (const QUrl& u : urls.opened)
        EXPECT_EQ(u, QUrl(MakerWebsite()));
    EXPECT_TRUE(form->isVisible()) << "opening the site leaves the help open";
}

TEST(HelpForm, LogoPictureIsOptional)
{
    const std::optional<QImage> logo = LoadLogoPng();
    ASSERT_TRUE(logo.has_value());
    EXPECT_FALSE(logo->isNull());
    EXPECT_EQ(LoadLogoPng(u":/NO_SUCH_LOGO"_s), std::nullopt) << "missing resource";
    EXPECT_EQ(LoadLogoPng(u":/MIRVO_LOGO"_s), std::nullopt) << "a resource that is no PNG picture";
}
