#include "editor/template_list_model.h"

#include "editor/template_filter.h"

#include <QIcon>

TTemplateListModel::TTemplateListModel(QSize ThumbSize, QColor Blank, QObject* Parent)
    : QAbstractListModel(Parent), FBlank(ThumbSize)
{
    FBlank.fill(Blank);
}

int TTemplateListModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

QVariant TTemplateListModel::data(const QModelIndex& Index, int Role) const
{
    if (!Index.isValid() || Index.row() < 0 || Index.row() >= rowCount())
        return {};
    const TRow& R = FRows[static_cast<size_t>(Index.row())];
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return R.Name;
    case Qt::DecorationRole:
        if (!R.HasThumb && !R.Wanted) {
            R.Wanted = true;
            if (OnWanted)
                OnWanted(R.Path);
        }
        return R.Thumb.isNull() ? FBlank : R.Thumb;  // an older picture until the new one comes
    case PathRole:
        return R.Path;
    case SearchKeyRole:
        return R.SearchKey;
    case HasThumbRole:
        return R.HasThumb;
    default:
        return {};
    }
}

void TTemplateListModel::SetEntries(const std::vector<TTemplateEntry>& Entries)
{
    std::vector<TRow> Rows;
    Rows.reserve(Entries.size());
    for (const TTemplateEntry& E : Entries) {
        TRow R;
        R.Path = E.Path;
        R.Name = E.Name;
        R.SearchKey = SearchKey(E.Name);
        const int Old = RowOf(E.Path);
        if (Old >= 0)
            R.Thumb = FRows[static_cast<size_t>(Old)].Thumb;
        Rows.push_back(std::move(R));
    }
    beginResetModel();
    FRows = std::move(Rows);
    FMissing = rowCount();
    Reindex();
    endResetModel();
}

void TTemplateListModel::SetThumb(const QString& Path, const QImage& Thumb, const QString& Name)
{
    const int Row = RowOf(Path);
    if (Row < 0)
        return;
    TRow& R = FRows[static_cast<size_t>(Row)];
    R.Thumb = QPixmap::fromImage(Thumb);
    if (!R.HasThumb)
        --FMissing;
    R.HasThumb = true;
    if (!Name.isEmpty() && Name != R.Name) {
        R.Name = Name;
        R.SearchKey = SearchKey(Name);
    }
    const QModelIndex I = index(Row);
    emit dataChanged(I, I);
}

void TTemplateListModel::RemovePath(const QString& Path)
{
    const int Row = RowOf(Path);
    if (Row < 0)
        return;
    beginRemoveRows({}, Row, Row);
    if (!FRows[static_cast<size_t>(Row)].HasThumb)
        --FMissing;
    FRows.erase(FRows.begin() + Row);
    Reindex();
    endRemoveRows();
}

int TTemplateListModel::RowOf(const QString& Path) const
{
    return FIndex.value(Path, -1);
}

QString TTemplateListModel::PathAt(int Row) const
{
    return Row >= 0 && Row < rowCount() ? FRows[static_cast<size_t>(Row)].Path : QString();
}

QString TTemplateListModel::NameAt(int Row) const
{
    return Row >= 0 && Row < rowCount() ? FRows[static_cast<size_t>(Row)].Name : QString();
}

QStringList TTemplateListModel::Paths() const
{
    QStringList P;
    P.reserve(rowCount());
    for (const TRow& R : FRows)
        P << R.Path;
    return P;
}

int TTemplateListModel::MissingThumbs() const
{
    return FMissing;
}

void TTemplateListModel::Reindex()
{
    FIndex.clear();
    FIndex.reserve(static_cast<qsizetype>(FRows.size()));
    for (size_t I = 0; I < FRows.size(); ++I)
        FIndex.insert(FRows[I].Path, static_cast<int>(I));
}
