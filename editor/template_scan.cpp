#include "editor/template_scan.h"

#include "model/template_name.h"

#include <QDir>

#include <algorithm>

std::vector<TTemplateEntry> ScanTemplateFolder(const QString& Dir)
{
    const QDir D(Dir);
    QStringList Files;
    for (const QString& Name : D.entryList({QStringLiteral("*.pellwerk")}, QDir::Files | QDir::Hidden))
        Files << D.filePath(Name);
    std::sort(Files.begin(), Files.end(),
              [](const QString& A, const QString& B) { return QString::compare(A, B, Qt::CaseSensitive) < 0; });
    std::vector<TTemplateEntry> Entries;
    Entries.reserve(static_cast<size_t>(Files.size()));
    for (const QString& Path : Files) {
        try {
            Entries.push_back(TTemplateEntry{Path, ReadTemplateName(Path)});
        } catch (...) {
            // not a label file: not listed
        }
    }
    return Entries;
}
