#include "editor/thumbnail_cache.h"

#include "model/label_doc.h"
#include "model/placeholders.h"
#include "model/thumbnail.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

const QString kKeyText = QStringLiteral("PellwerkKey");
const QString kClockText = QStringLiteral("PellwerkClock");

QString EntryKey(const QByteArray& ContentHash, QSize Size, QColor Background)
{
    return QStringLiteral("%1-v%2-%3x%4-%5")
        .arg(QString::fromLatin1(ContentHash))
        .arg(kThumbnailVersion)
        .arg(Size.width())
        .arg(Size.height())
        .arg(Background.rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// The moment a thumbnail of a clock-dependent label shows, at the grain the
// label uses; empty for labels without such placeholders.
QString ClockStamp(char Use)
{
    if (!Use)
        return {};
    const QDateTime Now = PlaceholderNow();
    if (Use == 'T')
        return Now.toString(QStringLiteral("'T' yyyy-MM-dd HH:mm"));
    return Now.toString(QStringLiteral("'D' yyyy-MM-dd"));
}

char ClockUse(const TLabelDoc& Doc)
{
    char Use = 0;
    for (const auto& E : Doc.Elements) {
        if (E->Kind != ekText)
            continue;
        const char U = ClockPlaceholderUse(E->Text);
        if (U == 'T')
            return 'T';
        if (U)
            Use = U;
    }
    return Use;
}

} // namespace

QByteArray TemplateContentHash(const QByteArray& FileBytes)
{
    const XXH128_hash_t H = XXH3_128bits(FileBytes.constData(), static_cast<size_t>(FileBytes.size()));
    return QByteArray::number(static_cast<qulonglong>(H.high64), 16).rightJustified(16, '0')
           + QByteArray::number(static_cast<qulonglong>(H.low64), 16).rightJustified(16, '0');
}

TThumbnailCache::TThumbnailCache(QString Folder) : FFolder(Folder.isEmpty() ? DefaultFolder() : std::move(Folder))
{
}

QString TThumbnailCache::DefaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("Vorschaubilder"));
}

QString TThumbnailCache::EntryPath(const QByteArray& ContentHash, QSize Size, QColor Background) const
{
    return QDir(FFolder).filePath(EntryKey(ContentHash, Size, Background) + QStringLiteral(".png"));
}

std::optional<QImage> TThumbnailCache::Find(const QByteArray& ContentHash, QSize Size, QColor Background) const
{
    QImageReader Reader(EntryPath(ContentHash, Size, Background), "png");
    Reader.setDecideFormatFromContent(false);
    if (!Reader.canRead() || Reader.size() != Size)
        return std::nullopt;
    if (Reader.text(kKeyText) != EntryKey(ContentHash, Size, Background))
        return std::nullopt;
    const QString Stamp = Reader.text(kClockText);
    if (!Stamp.isEmpty() && Stamp != ClockStamp(Stamp.front().toLatin1()))
        return std::nullopt;
    QImage Img = Reader.read();
    if (Img.isNull() || Img.size() != Size)
        return std::nullopt;
    return Img.convertToFormat(QImage::Format_RGB32);
}

void TThumbnailCache::Store(const QByteArray& ContentHash, const TLabelDoc& Doc, const QImage& Thumb,
                            QColor Background) const
{
    if (Thumb.isNull() || !QDir().mkpath(FFolder))
        return;
    QImage Tagged = Thumb;
    Tagged.setText(kKeyText, EntryKey(ContentHash, Thumb.size(), Background));
    const QString Stamp = ClockStamp(ClockUse(Doc));
    if (!Stamp.isEmpty())
        Tagged.setText(kClockText, Stamp);
    // Whole or not at all: a reader on another thread, or the next start
    // after a crash, never sees half an entry.
    QSaveFile F(EntryPath(ContentHash, Thumb.size(), Background));
    if (!F.open(QIODevice::WriteOnly))
        return;
    QImageWriter W(&F, "png");
    W.setCompression(1);
    if (!W.write(Tagged)) {
        F.cancelWriting();
        return;
    }
    F.commit();
}
