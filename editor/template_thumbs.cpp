#include "editor/template_thumbs.h"

#include <QFileInfo>
#include <QSet>

std::optional<TTemplateThumb> TTemplateThumbCache::Find(const QString& path) const
{
    auto it = FEntries.constFind(path);
    if (it == FEntries.constEnd())
        return std::nullopt;
    const QFileInfo fi(path);
    if (!fi.exists() || fi.size() != it->Size || fi.lastModified() != it->Modified)
        return std::nullopt;
    return it->Thumb;
}

void TTemplateThumbCache::Store(const QString& path, const TTemplateThumb& thumb)
{
    const QFileInfo fi(path);
    FEntries.insert(path, TEntry{fi.size(), fi.lastModified(), thumb});
}

void TTemplateThumbCache::Retain(const QStringList& keep)
{
    const QSet<QString> wanted(keep.begin(), keep.end());
    for (auto it = FEntries.begin(); it != FEntries.end();) {
        if (wanted.contains(it.key()))
            ++it;
        else
            it = FEntries.erase(it);
    }
}
