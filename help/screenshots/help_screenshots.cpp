// Writes help_page_<n>.png for every page of the help window, help_small.png
// (the window at its minimum size), buttons.png (flat buttons in every state)
// and buttons_no_icon_font.png (the same without an icon font) into the folder given as the first argument (default:
// build/screenshots). Run headless with QT_QPA_PLATFORM=offscreen.
#include "editor/controls/icon_font.h"
#include "editor/controls/modern_button.h"
#include "help/help_form.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTabWidget>
#include <cstdio>
#include <memory>

namespace {

bool Save(QWidget* w, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!w->grab().save(path, "PNG")) {
        std::fprintf(stderr, "Kann %s nicht schreiben\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

struct TButtonCase {
    const char* caption;
    char16_t glyph;
    TIconKind icon;
    bool compact, accent, checked, enabled, hover, down;
};

TModernButton* MakeButton(QWidget* parent, const TButtonCase& c)
{
    auto* b = new TModernButton(parent);
    b->SetCaption(QString::fromUtf8(c.caption));
    b->SetGlyph(c.glyph);
    b->SetIcon(c.icon);
    b->SetCompact(c.compact);
    b->AutoWidth();
    b->SetAccent(c.accent);
    b->SetChecked(c.checked);
    b->setEnabled(c.enabled);
    if (c.hover) {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(b, &e);
    }
    if (c.down) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(b, &e);
    }
    return b;
}

bool ButtonRow(const QDir& dir, const QString& fileName)
{
    const TButtonCase normal[] = {
        {"Neu", 0xE8A5, ikGlyph, false, false, false, true, false, false},
        {"Speichern", 0xE74E, ikGlyph, false, false, false, true, true, false},
        {"Speichern unter", 0xE792, ikGlyph, false, false, false, true, true, true},
        {"Text", 0xE8D2, ikGlyph, false, false, false, false, false, false},
        {"Bild", 0xE8B9, ikGlyph, false, false, false, true, false, false},
        {"Rechteck", 0, ikRect, false, false, false, true, false, false},
        {"Ellipse", 0, ikEllipse, false, false, false, true, false, false},
        {"Linie", 0, ikLine, false, false, false, true, false, false},
        {"Duplizieren", 0xE8C8, ikGlyph, false, false, false, true, false, false},
        {"Löschen", 0xE74D, ikGlyph, false, false, false, true, false, false},
        {"Nach vorn", 0xE74A, ikGlyph, false, false, false, true, false, false},
        {"Nach hinten", 0xE74B, ikGlyph, false, false, false, true, false, false},
        {"Rückgängig", 0xE7A7, ikGlyph, false, false, false, true, false, false},
        {"Hochformat", 0, ikPortrait, false, false, true, true, false, false},
        {"Querformat", 0, ikLandscape, false, false, false, true, false, false},
        {"Vorschau", 0xE890, ikGlyph, false, false, true, true, true, false},
    };
    const TButtonCase second[] = {
        {"", 0xE71F, ikGlyph, true, false, false, true, false, false},
        {"", 0xE8A3, ikGlyph, true, false, false, true, true, false},
        {"Einpassen", 0, ikFit, true, false, false, true, false, false},
        {"Drucken", 0xE749, ikGlyph, false, true, false, true, false, false},
        {"Drucken", 0xE749, ikGlyph, false, true, false, true, true, false},
        {"Drucken", 0xE749, ikGlyph, false, true, false, true, true, true},
        {"Drucken", 0xE749, ikGlyph, false, true, false, false, false, false},
        {"Drucker", 0xE713, ikGlyph, false, false, false, true, false, false},
        {"Hilfe", 0xE897, ikGlyph, false, false, false, true, false, false},
        {"Öffnen", 0xE8E5, ikGlyph, true, false, false, true, false, false},
        {"Kopie", 0xE8C8, ikGlyph, true, false, false, true, true, false},
        {"Umbenennen", 0xE8AC, ikGlyph, true, false, false, true, false, false},
        {"", 0xE74D, ikGlyph, true, false, false, true, false, false},
        {"", 0xE838, ikGlyph, true, false, false, true, false, false},
        {"Webseite öffnen", 0xE774, ikGlyph, true, false, false, true, false, false},
        {"Eine viel zu lange Beschriftung", 0xE8A5, ikGlyph, false, false, false, true, false, false},
    };
    QWidget host;
    host.setAutoFillBackground(true);
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, Qt::white);
    host.setPalette(pal);
    int y = 4;
    for (const auto* row : {normal, second}) {
        int x = 8;
        for (int i = 0; i < 16; ++i) {
            TModernButton* b = MakeButton(&host, row[i]);
            if (b->Caption().size() > 20)
                b->resize(60, b->height()); // too narrow on purpose: the caption is cut
            b->move(x, y + (b->height() < 56 ? 12 : 0));
            x += b->width() + 2;
        }
        host.resize(std::max(host.width(), x + 8), y + 64);
        y += 64;
    }
    host.resize(host.width(), y + 4);
    return Save(&host, dir, fileName);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots"));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "Kann den Ordner %s nicht anlegen\n", qPrintable(dir.path()));
        return 1;
    }
    bool ok = ButtonRow(dir, QStringLiteral("buttons.png"));
    OverrideIconFontName(QString()); // as on a system without any icon font
    ok = ButtonRow(dir, QStringLiteral("buttons_no_icon_font.png")) && ok;
    OverrideIconFontName(std::nullopt);

    std::unique_ptr<THelpForm> form(THelpForm::CreateHelp(nullptr, 0));
    form->show();
    auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("Pages"));
    for (int i = 0; tabs && i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        ok = Save(form.get(), dir, QStringLiteral("help_page_%1.png").arg(i + 1)) && ok;
    }
    if (tabs)
        tabs->setCurrentIndex(0);
    form->resize(form->minimumSize());
    QApplication::processEvents();
    ok = Save(form.get(), dir, QStringLiteral("help_small.png")) && ok;
    return ok ? 0 : 1;
}
