#include "editor/controls/ui_font.h"

#include <QApplication>
#include <QFontDatabase>
#include <cmath>

QString UiFontFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"Segoe UI", "Liberation Sans"}) {
            if (installed.contains(QLatin1String(name), Qt::CaseInsensitive))
                return QString::fromLatin1(name);
        }
        return QApplication::font().family();
    }();
    return family;
}

int PtToPx(double pt)
{
    return static_cast<int>(std::nearbyint(pt * 96.0 / 72.0));
}

QFont UiFont(double pt, TUiWeight weight)
{
    QFont f(UiFontFamily());
    f.setPixelSize(PtToPx(pt));
    switch (weight) {
    case TUiWeight::Regular: f.setWeight(QFont::Normal); break;
    case TUiWeight::Semibold: f.setWeight(QFont::DemiBold); break;
    case TUiWeight::Bold: f.setWeight(QFont::Bold); break;
    }
    return f;
}
