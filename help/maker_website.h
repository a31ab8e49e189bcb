#pragma once
#include <QString>

// The maker's web site: shown and opened by the help window, named in the
// hint of the main window's help button.
inline QString MakerWebsite()
{
    return QStringLiteral("https://www.mirvo.de/pellwerk");
}
