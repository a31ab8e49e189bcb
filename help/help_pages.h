#pragma once
// The five pages of the help window, each an RTF document built by TRtf.
#include <QString>
#include <vector>

struct THelpPage {
    QString Title;
    QString Rtf;
};

// In tab order: "Erste Schritte", "Bedienung", "Tastenkürzel",
// "Drucker & Tipps", "Lizenz".
std::vector<THelpPage> BuildHelpPages();

// The version line of the help window's header.
QString HelpVersionLine();
