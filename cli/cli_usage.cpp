#include "cli/cli_usage.h"

namespace {

const char* const kOverview =
    "pellwerk-cli – Etiketten drucken und Druckdaten erzeugen, ohne Fenster\n"
    "\n"
    "Aufruf: pellwerk-cli BEFEHL [OPTIONEN]\n"
    "\n"
    "Befehle:\n"
    "  render     Druckbild eines Etiketts als PNG schreiben\n"
    "  job        Bytes, die der Drucker erhielte, in eine Datei schreiben\n"
    "  scan       Drucker in Reichweite suchen\n"
    "  diagnose   Bericht über Bluetooth und den Drucker für eine Fehlermeldung\n"
    "  print      Etikett drucken\n"
    "  text       Text in der eingebauten Pixelschrift drucken\n"
    "  templates  Vorlagen des Vorlagenordners auflisten\n"
    "  thumbnail  Vorschaubild einer Etikettendatei für den Dateimanager schreiben\n"
    "\n"
    "\"pellwerk-cli BEFEHL --help\" zeigt die Optionen eines Befehls.\n"
    "ETIKETT ist eine .pellwerk-Datei, der Name einer Vorlage oder ein Bild\n"
    "(Foto, SVG, PDF), aus dem das Etikett entsteht.\n"
    "Druckwerte kommen aus den Einstellungen des Editors; Optionen ändern sie\n"
    "nur für diesen Aufruf.\n"
    "Rückgabewert: 0 erfolgreich, 1 Fehler (Datei, Etikett, Drucker), 2 falscher Aufruf.\n";

const char* const kNow =
    "  --now \"JJJJ-MM-TT HH:MM\"  Datum und Uhrzeit für {DATUM}, {ZEIT} und {JAHR}\n";

const char* const kCopies =
    "  --copies N           Anzahl Kopien, 1–999 (Standard 1); {NR} zählt 1, 2, 3 …\n"
    "  --gap-mm MM          Abstand zwischen den Kopien in mm, 0–60 (Einstellung \"AbstandMm\")\n";

const char* const kData =
    "  --data DATEI.csv     Serienetiketten: ein Etikett je Zeile der Tabelle (CSV/TSV mit\n"
    "                       Kopfzeile); {Spaltenname} im Text steht für den Wert der Zeile.\n"
    "                       Ohne --data gilt die Datendatei, die das Etikett sich merkt\n"
    "  --records 1-5,8      nur diese Datensätze (Standard: alle)\n";

const char* const kJobMm =
    "  --job-mm MM          Serien in Aufträge von höchstens so viel Papier teilen, 10–8191\n"
    "                       (Standard 1000)\n";

const char* const kV5GValues =
    "  --protocol v5g|v5x   Druckerprotokoll: V5G (MX-Serie) oder V5X (MXW01)\n"
    "  --energy N           Energie (Schwärzung) für V5G, 1000–65535\n"
    "  --density N          Dichte: bei V5G 0–200 (0 = aus), bei V5X in Prozent 0–100\n"
    "  --quality N          Qualität für V5G, 1–5\n"
    "  --speed N            Geschwindigkeit für V5G, 1–255\n"
    "  --feed-mm MM         Vorschub nach dem Druck (V5G) in mm, 0–60\n";

const char* const kLinkValues =
    "  --packet-size N      Paketgröße in Byte, 20–512\n"
    "  --pause-ms N         Pause je Paket in ms, 0–200\n";

const char* const kPrinter =
    "  --printer ADRESSE    Bluetooth-Adresse des Druckers (Standard: der zuletzt im Editor\n"
    "                       verbundene); \"virtual\" druckt auf einen simulierten MX10,\n"
    "                       \"virtual:MXW01\" auf einen simulierten V5X-Drucker\n"
    "  --virtual-out DATEI  PNG mit dem, was der virtuelle Drucker erhalten hat\n"
    "                       (Standard: virtueller-druck.png)\n";

const char* const kPicture =
    "  Für ein Bild, eine SVG- oder PDF-Datei statt ETIKETT:\n"
    "  --page N             Seite der PDF-Datei (Standard 1)\n"
    "  --fit width|length   über die ganze Breite (Standard; das Etikett wird so lang wie\n"
    "                       nötig) oder über die Länge des Etiketts\n"
    "  --dither, --no-dither  rastern (Standard bei Fotos) oder nicht (SVG, PDF)\n"
    "  --length-mm MM       Länge des Etiketts, 5–1000 mm (Standard: aus dem Bild)\n";

QString Join(std::initializer_list<const char*> Parts)
{
    QString s;
    for (const char* p : Parts)
        s += QString::fromUtf8(p);
    return s;
}

} // namespace

QString CliUsage(const QString& Command)
{
    if (Command == QStringLiteral("render"))
        return Join({"Aufruf: pellwerk-cli render ETIKETT [-o AUSGABE.png] [--copies N] [--gap-mm MM] [--screen]\n"
                     "\n"
                     "Schreibt das Druckbild (1 Bit, schwarz = Druck) aller Kopien untereinander,\n"
                     "genau wie es zum Drucker ginge.\n"
                     "\n"
                     "  -o, --output DATEI   Ausgabedatei (Standard: Name des Etiketts mit .png)\n",
                     kCopies,
                     "  --screen             stattdessen die Bildschirmansicht des Editors (eine Kopie)\n",
                     kData,
                     "  --each               mit --data: ein PNG je Datensatz, nummeriert (NAME-001.png …)\n",
                     kNow, kPicture});
    if (Command == QStringLiteral("job"))
        return Join({"Aufruf: pellwerk-cli job ETIKETT -o AUSGABE.bin [--protocol v5g|v5x] [--copies N]\n"
                     "\n"
                     "Schreibt die Bytes, die der Drucker erhielte: den V5G-Datenstrom oder bei V5X\n"
                     "Dichte-, Startbefehl, Bilddaten und Endbefehl in der Reihenfolge des Sendens.\n"
                     "Die Energie gilt wie bei kaltem Druckkopf.\n"
                     "\n"
                     "  -o, --output DATEI   Ausgabedatei (Pflicht)\n",
                     kCopies, kData, kJobMm, kV5GValues, kNow, kPicture});
    if (Command == QStringLiteral("scan"))
        return Join({"Aufruf: pellwerk-cli scan [--name PRÄFIX] [--seconds S]\n"
                     "\n"
                     "Listet die gefundenen Geräte: Name, Adresse, Signalstärke.\n"
                     "\n"
                     "  --name PRÄFIX        nur Geräte, deren Name so beginnt (ohne Rücksicht auf Groß-/Kleinschreibung)\n"
                     "  --seconds S          Suchdauer in Sekunden, 1–120 (Standard 10)\n"});
    if (Command == QStringLiteral("print"))
        return Join({"Aufruf: pellwerk-cli print ETIKETT [--printer ADRESSE|virtual] [--copies N] [--protocol v5g|v5x]\n"
                     "\n"
                     "Druckt alle Kopien als einen Auftrag; Fortschritt, Warnungen des Druckers und\n"
                     "die Kopftemperatur erscheinen auf der Standardfehlerausgabe.\n"
                     "Strg+C bricht den Druck vor dem nächsten Paket ab.\n"
                     "\n",
                     kPrinter, kCopies, kData, kJobMm, kV5GValues, kLinkValues, kNow, kPicture});
    if (Command == QStringLiteral("text"))
        return Join({"Aufruf: pellwerk-cli text TEXT|- [--chars-per-line N] [--printer ADRESSE|virtual]\n"
                     "\n"
                     "Druckt Text in der eingebauten Pixelschrift; \"-\" liest ihn von der Standardeingabe.\n"
                     "Strg+C bricht den Druck vor dem nächsten Paket ab.\n"
                     "\n"
                     "  --chars-per-line N   Zeichen je Zeile (Standard 32, mindestens 3 Punkte je Zeichen)\n",
                     kPrinter, kV5GValues, kLinkValues});
    if (Command == QStringLiteral("diagnose"))
        return Join({"Aufruf: pellwerk-cli diagnose [--printer ADRESSE] [-o BERICHT.txt] [--test-print]\n"
                     "\n"
                     "Schreibt einen Bericht für eine Fehlermeldung: Bluetooth-Adapter, Eigenschaften des\n"
                     "Druckers, alle Dienste und Merkmale mit UUID, Flags und MTU, die Antworten auf eine\n"
                     "Zustandsabfrage, Zeiten von Suche und Verbindung und die Versionen von Programm, Qt\n"
                     "und bluetoothd. Gedruckt wird nur mit --test-print.\n"
                     "\n"
                     "  --printer ADRESSE    der Drucker (Standard: der gespeicherte)\n"
                     "  -o, --output DATEI   Bericht in diese Datei statt auf die Standardausgabe\n"
                     "  --seconds S          Suchdauer in Sekunden, 1–120 (Standard 10)\n"
                     "  --test-print         zusätzlich eine kurze Testzeile drucken\n"});
    if (Command == QStringLiteral("templates"))
        return Join({"Aufruf: pellwerk-cli templates\n"
                     "\n"
                     "Listet die Vorlagen des Vorlagenordners: Name und Datei, durch Tabulator getrennt.\n"
                     "Ein leerer Vorlagenordner erhält zuerst die sechs mitgelieferten Vorlagen.\n"});
    if (Command == QStringLiteral("thumbnail"))
        return Join({"Aufruf: pellwerk-cli thumbnail EINGABE AUSGABE.png GRÖSSE\n"
                     "\n"
                     "Schreibt die Bildschirmansicht der Etikettendatei EINGABE als PNG, so verkleinert\n"
                     "oder vergrößert, dass die längere Seite GRÖSSE Pixel misst (1–4096).\n"
                     "Der Dateimanager ruft diesen Befehl für seine Vorschaubilder auf.\n"});
    return QString::fromUtf8(kOverview);
}
