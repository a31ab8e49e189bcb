#include "app/start_args.h"

#include <QFileInfo>
#include <QUrl>

TStartArgs ParseStartArgs(const QStringList& Args)
{
    TStartArgs a;
    QStringList files;
    bool optionsEnded = false;
    for (const QString& arg : Args) {
        if (!optionsEnded && arg == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))) {
            a.Help = true;
        } else if (!optionsEnded && arg == QStringLiteral("--version")) {
            a.Version = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-')) && arg != QStringLiteral("-")) {
            a.Error = QStringLiteral("Unbekannte Option \"%1\"").arg(arg);
            return a;
        } else if (arg.isEmpty()) {
            a.Error = QStringLiteral("Leerer Dateiname");
            return a;
        } else {
            files << arg;
        }
    }
    if (files.size() > 1) {
        a.Error = QStringLiteral("Pellwerk öffnet ein Etikett auf einmal, nicht %1").arg(files.size());
        return a;
    }
    if (files.isEmpty())
        return a;
    QString path = files.front();
    if (path.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        const QUrl url(path);
        // A file on another machine ("file://host/…") cannot be opened here.
        const bool local = url.host().isEmpty() || url.host() == QStringLiteral("localhost");
        if (!url.isLocalFile() || !local) {
            a.Error = QStringLiteral("\"%1\" ist keine lokale Datei").arg(path);
            return a;
        }
        path = url.toLocalFile();
    }
    a.File = QFileInfo(path).absoluteFilePath();
    return a;
}

QString StartUsage()
{
    return QStringLiteral(
        "Aufruf: pellwerk [DATEI.pellwerk]\n"
        "\n"
        "MIRVO Pellwerk – Etiketten und Aufkleber für Bluetooth-Thermo-Minidrucker.\n"
        "Ohne DATEI öffnet der Editor das zuletzt offene Etikett. Läuft er bereits,\n"
        "erhält das offene Fenster die Datei.\n"
        "\n"
        "  -h, --help   diesen Text zeigen\n"
        "  --version    Version zeigen\n");
}
