#pragma once
// Remembers what LoadTemplates made of each template file: its stored name
// and its thumbnail. The list is rebuilt after every save; an entry is reused
// only while the file's size and modification time are those it was made
// from, so the list always shows what the folder holds.

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <optional>

struct TTemplateThumb {
    QString Name;
    QImage Thumbnail;
};

class TTemplateThumbCache {
public:
    // The entry for the file as it is now, or nothing.
    std::optional<TTemplateThumb> Find(const QString& path) const;
    void Store(const QString& path, const TTemplateThumb& thumb);
    // Forgets every file not in `keep`.
    void Retain(const QStringList& keep);

private:
    struct TEntry {
        qint64 Size = -1;
        QDateTime Modified;
        TTemplateThumb Thumb;
    };
    QHash<QString, TEntry> FEntries;
};
