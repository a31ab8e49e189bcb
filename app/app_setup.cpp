#include "app/app_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyleFactory>
#include <QTranslator>

void SetupApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("MIRVO Pellwerk"));
    QApplication::setApplicationDisplayName(QStringLiteral("MIRVO Pellwerk"));
    QApplication::setOrganizationName(QStringLiteral("MIRVO"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // A fixed light palette: the window colours are part of the design and
    // must not follow a dark desktop theme.
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(243, 243, 243));
    pal.setColor(QPalette::WindowText, QColor(32, 32, 32));
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, QColor(246, 246, 246));
    pal.setColor(QPalette::Text, QColor(32, 32, 32));
    pal.setColor(QPalette::Button, QColor(251, 251, 251));
    pal.setColor(QPalette::ButtonText, QColor(32, 32, 32));
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    pal.setColor(QPalette::ToolTipText, QColor(32, 32, 32));
    pal.setColor(QPalette::Highlight, QColor(0, 95, 184));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::PlaceholderText, QColor(112, 112, 112));
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(160, 160, 160));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(160, 160, 160));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(160, 160, 160));
    QApplication::setPalette(pal);

    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_de"}) {
        auto* tr = new QTranslator(&app);
        if (tr->load(QString::fromLatin1(name), dir))
            QApplication::installTranslator(tr);
        else
            delete tr;
    }
}
