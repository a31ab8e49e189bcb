#include "help/help_pages.h"

#include "help/maker_website.h"
#include "help/rtf_builder.h"

using namespace Qt::StringLiterals;

namespace {

// "Erste Schritte"
QString FirstStepsPage()
{
    TRtf r;
    r.H(u"Willkommen bei MIRVO Pellwerk"_s);
    r.P(u"Mit MIRVO Pellwerk gestaltest du Aufkleber und Etiketten am PC und druckst sie per Bluetooth auf einem Thermo-Minidrucker (z. B. MX10, 58-mm-Papier, 203 dpi)."_s);
    r.H(u"In drei Schritten zum ersten Aufkleber"_s);
    r.B(u"Drucker einrichten: Auf \"Drucker\" klicken (oder unten links in die Statusleiste), \"Suchen\" und dann \"Verbinden\". Der Drucker wird gemerkt und beim nächsten Start automatisch verbunden."_s);
    r.B(u"Etikett gestalten: Links eine Vorlage doppelt anklicken oder mit \"Neu\" beginnen. Über die Werkzeugleiste Text, Bilder, Rechtecke, Ellipsen und Linien einfügen."_s);
    r.B(u"Drucken: Anzahl der Kopien wählen und auf den blauen Knopf \"Drucken\" klicken."_s);
    r.Tip(u"Tipp: Die Handy-App des Druckers vorher schließen – Bluetooth LE erlaubt nur eine Verbindung."_s);
    r.H(u"Vorlagen"_s);
    r.P(u"Gespeicherte Etiketten erscheinen links als Vorlagen mit Vorschaubild. Bilder und Hintergründe sind in der Vorlage enthalten; eine *.pellwerk-Datei lässt sich also einfach weitergeben."_s);
    r.B(u"Öffnen: Doppelklick auf die Vorlage"_s);
    r.B(u"Kopie, Umbenennen, Löschen: Knöpfe unter der Vorlagenliste"_s);
    r.B(u"Ordner-Symbol: öffnet den Vorlagenordner im Explorer"_s);
    return r.Text();
}

// "Bedienung"
QString OperationPage()
{
    TRtf r;
    r.H(u"Elemente bearbeiten"_s);
    r.B(u"Anklicken wählt ein Element aus, Ziehen verschiebt es (Raster 0,5 mm)."_s);
    r.B(u"An den runden Ecken ziehen ändert die Größe."_s);
    r.B(u"Alt beim Ziehen gedrückt halten schaltet das Raster ab."_s);
    r.B(u"Doppelklick auf einen Text springt ins Textfeld, auf ein Bild öffnet \"Bild ersetzen\"."_s);
    r.B(u"Rechts unter \"Position & Größe\" lassen sich alle Werte pixelgenau eingeben (8 px = 1 mm)."_s);
    r.H(u"Text"_s);
    r.P(u"Jede installierte Windows-Schrift ist möglich, dazu fett, kursiv, unterstrichen, links/mittig/rechts und \"weiß auf schwarz\"."_s);
    r.P(u"Platzhalter werden beim Drucken ersetzt:"_s);
    r.K(u"{DATUM}"_s, u"heutiges Datum, z. B. 30.11.2026"_s);
    r.K(u"{ZEIT}"_s, u"aktuelle Uhrzeit"_s);
    r.K(u"{JAHR}"_s, u"aktuelles Jahr"_s);
    r.K(u"{NR}"_s, u"laufende Nummer bei mehreren Kopien (1, 2, 3 …)"_s);
    r.H(u"Bilder und Hintergründe"_s);
    r.B(u"Bilder: PNG, JPG, BMP, GIF, TIFF. \"Rastern\" für Fotos, aus für Logos und Grafiken."_s);
    r.B(u"Hintergrund: eingebaute Rahmen, Zierecken, Streifen oder ein eigenes Bild."_s);
    r.B(u"\"Aufhellen\" macht ein Hintergrundbild blasser, damit Text darauf lesbar bleibt."_s);
    r.B(u"Eigene Bilder in den Hintergrund-Ordner legen – sie erscheinen dann in der Auswahlliste."_s);
    r.H(u"Format und Ansicht"_s);
    r.B(u"Länge des Etiketts frei wählbar, die Breite ist immer 48 mm."_s);
    r.B(u"Hochformat: Inhalt quer über den Streifen. Querformat: Inhalt läuft entlang des Streifens und wird beim Drucken automatisch gedreht – ideal für Schilder und Banner."_s);
    r.B(u"Mausrad zoomt um den Mauszeiger, Umschalt + Mausrad scrollt, \"Einpassen\" zeigt das ganze Etikett."_s);
    r.B(u"\"Vorschau\" zeigt genau die Punkte, die der Drucker setzen wird."_s);
    return r.Text();
}

// "Tastenkürzel"
QString ShortcutsPage()
{
    TRtf r;
    r.H(u"Tastenkürzel"_s);
    r.K(u"F1"_s, u"diese Hilfe"_s);
    r.K(u"Strg + N"_s, u"neues Etikett"_s);
    r.K(u"Strg + S"_s, u"speichern"_s);
    r.K(u"Strg + Z"_s, u"rückgängig"_s);
    r.K(u"Strg + D"_s, u"Auswahl duplizieren"_s);
    r.K(u"Strg + P"_s, u"drucken"_s);
    r.K(u"Entf"_s, u"Auswahl löschen"_s);
    r.K(u"Pfeiltasten"_s, u"Auswahl um 1 px verschieben"_s);
    r.K(u"Umschalt + Pfeil"_s, u"Auswahl um 8 px (1 mm) verschieben"_s);
    r.H(u"Maus"_s);
    r.K(u"Mausrad"_s, u"zoomen (um den Mauszeiger)"_s);
    r.K(u"Umschalt + Mausrad"_s, u"senkrecht scrollen"_s);
    r.K(u"Alt + Ziehen"_s, u"ohne Raster verschieben / skalieren"_s);
    r.K(u"Doppelklick"_s, u"Text bearbeiten bzw. Bild ersetzen"_s);
    return r.Text();
}

// "Drucker & Tipps"
QString PrinterTipsPage()
{
    TRtf r;
    r.H(u"Drucker & Druckqualität"_s);
    r.P(u"Unter \"Drucker\" findest du Suche, Verbindung und alle Druckwerte. Sie werden dauerhaft gespeichert."_s);
    r.B(u"Zu blass: Energie erhöhen (MX10: 30000, für Fotos bis 40000)."_s);
    r.B(u"Zu dunkel oder verlaufen: Energie oder Dichte verringern."_s);
    r.B(u"\"Werte für MX10\" setzt die bewährten Einstellungen."_s);
    r.B(u"\"Energie an Kopftemperatur anpassen\" schont den Druckkopf bei vielen Drucken hintereinander."_s);
    r.B(u"Paketgröße 180 Byte ist unter Windows schnell; bei Abbrüchen auf 20 senken."_s);
    r.H(u"Wenn etwas nicht klappt"_s);
    r.B(u"Drucker wird nicht gefunden: einschalten, Handy-App schließen, Bluetooth am PC prüfen."_s);
    r.B(u"\"Kein Papier\": Papierrolle einlegen bzw. Deckel richtig schließen."_s);
    r.B(u"\"Überhitzt\": kurz abkühlen lassen, dann weiterdrucken."_s);
    r.B(u"Druck bricht ab: Pause je Paket erhöhen (z. B. 40 ms) und Abstand zum Drucker verringern."_s);
    r.H(u"Mehr Informationen"_s);
    r.P(u"Neuigkeiten, Antworten auf häufige Fragen und die jeweils neueste Version zum Herunterladen findest du auf der Webseite von MIRVO: "_s + MakerWebsite());
    return r.Text();
}
// "Lizenz": the terms of use of the program as free software for private use.
QString LicencePage()
{
    TRtf r;
    r.H(u"Nutzungsbedingungen"_s);
    r.P(u"MIRVO Pellwerk ist freie Software für den privaten Gebrauch. Du darfst das Programm kostenlos nutzen, solange du die folgenden Bedingungen einhältst."_s);
    r.H(u"Erlaubt"_s);
    r.B(u"Das Programm privat und ohne Gewinnabsicht auf beliebig vielen eigenen Rechnern nutzen."_s);
    r.B(u"Das Programm unverändert und vollständig an andere weitergeben, solange dafür kein Geld verlangt wird."_s);
    r.B(u"Mit dem Programm gestaltete Etiketten und Vorlagen frei verwenden, drucken und weitergeben – sie gehören dir."_s);
    r.H(u"Nur mit Zustimmung von MIRVO"_s);
    r.B(u"Gewerbliche Nutzung, z. B. in einem Betrieb, einem Laden oder für Aufträge von Kunden."_s);
    r.B(u"Verkauf des Programms oder Weitergabe gegen Entgelt, auch als Teil anderer Produkte."_s);
    r.B(u"Verbreiten veränderter Fassungen des Programms."_s);
    r.Tip(u"Frag einfach über die Webseite nach – für Vereine und Schulen gibt es meist eine unkomplizierte Lösung."_s);
    r.H(u"Haftungsausschluss"_s);
    r.P(u"Das Programm wird so bereitgestellt, wie es ist, ohne Gewähr für Fehlerfreiheit oder Eignung für einen bestimmten Zweck. Soweit gesetzlich zulässig, haftet MIRVO nicht für Schäden an Geräten, Daten oder Verbrauchsmaterial, die aus der Nutzung entstehen."_s);
    r.H(u"Datenschutz"_s);
    r.P(u"MIRVO Pellwerk sendet keine Daten ins Internet. Es verbindet sich nur per Bluetooth mit deinem Drucker und speichert Einstellungen, Vorlagen und Hintergründe ausschließlich auf deinem Rechner."_s);
    r.Tip(u"Der Knopf \"Webseite öffnen\" startet nur deinen Browser; das Programm selbst überträgt dabei nichts."_s);
    return r.Text();
}

} // namespace

std::vector<THelpPage> BuildHelpPages()
{
    return {
        {u"Erste Schritte"_s, FirstStepsPage()},
        {u"Bedienung"_s, OperationPage()},
        {u"Tastenkürzel"_s, ShortcutsPage()},
        {u"Drucker & Tipps"_s, PrinterTipsPage()},
        {u"Lizenz"_s, LicencePage()},
    };
}

QString HelpVersionLine()
{
    return u"Version 1.0 · © 2026 MIRVO · frei für den privaten Gebrauch"_s;
}
