#pragma once
// Thumbnails of template files kept in the user's cache folder between runs,
// so that a second start shows every thumbnail at once.
//
// An entry is found by the file's content hash, the drawing's version, the
// picture size and the background colour; a template whose text shows the
// date or time is kept only for the day (or minute) it was drawn for. A
// file in the folder that does not carry its own key (left over, foreign,
// cut short) counts as missing and is written anew. When the folder cannot
// be written, nothing is kept and every thumbnail is drawn again: that costs
// only time.
//
// Safe to use from several threads at once: every entry is a file of its
// own, replaced whole.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class TLabelDoc;

// The hash a template file is known by in the cache: 128 bits of its
// content, as 32 hex digits.
QByteArray TemplateContentHash(const QByteArray& FileBytes);

class TThumbnailCache {
public:
    // Folder: where the entries live; empty = the user's cache folder.
    explicit TThumbnailCache(QString Folder = {});

    static QString DefaultFolder();
    const QString& Folder() const { return FFolder; }

    std::optional<QImage> Find(const QByteArray& ContentHash, QSize Size, QColor Background) const;
    // Doc is the label the thumbnail was drawn from: it tells whether the
    // picture depends on the clock.
    void Store(const QByteArray& ContentHash, const TLabelDoc& Doc, const QImage& Thumb, QColor Background) const;

    // The file an entry is kept in.
    QString EntryPath(const QByteArray& ContentHash, QSize Size, QColor Background) const;

private:
    QString FFolder;
};
