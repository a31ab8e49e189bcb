#pragma once
// The rows of the templates list: file, stored name and thumbnail of each
// template, in the folder's order. A row is there as soon as its name is
// known; its thumbnail follows when it has been drawn. Until then the view
// shows a blank of the list's colour, and asking for that blank is what
// marks a row as wanted first (the view asks only for the rows it shows).

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct TTemplateEntry {
    QString Path;
    QString Name;
};

class TTemplateListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum TRole { PathRole = Qt::UserRole + 1, SearchKeyRole, HasThumbRole };

    explicit TTemplateListModel(QSize ThumbSize, QColor Blank, QObject* Parent = nullptr);

    int rowCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;

    // The folder as it is now; thumbnails of files still listed stay until
    // their new ones arrive.
    void SetEntries(const std::vector<TTemplateEntry>& Entries);
    // A result of the loader; ignored for files no longer listed.
    void SetThumb(const QString& Path, const QImage& Thumb, const QString& Name);
    void RemovePath(const QString& Path);

    int RowOf(const QString& Path) const;  // -1 when not listed
    QString PathAt(int Row) const;
    QString NameAt(int Row) const;
    QStringList Paths() const;
    int MissingThumbs() const;

    // Called (at most once per row and fill) with the files the view asked a
    // thumbnail for before it was there.
    std::function<void(const QString&)> OnWanted;

private:
    struct TRow {
        QString Path;
        QString Name;
        QString SearchKey;
        QPixmap Thumb;
        bool HasThumb = false;
        mutable bool Wanted = false;
    };
    void Reindex();
    std::vector<TRow> FRows;
    QHash<QString, int> FIndex;
    int FMissing = 0;  // rows without their thumbnail yet
    QPixmap FBlank;
};
