#include "editor/template_filter.h"

#include "editor/template_list_model.h"

QString SearchKey(const QString& Name)
{
    const QString Decomposed = Name.normalized(QString::NormalizationForm_KD);
    QString Key;
    Key.reserve(Decomposed.size());
    for (const QChar C : Decomposed) {
        const QChar::Category Cat = C.category();
        if (Cat == QChar::Mark_NonSpacing || Cat == QChar::Mark_SpacingCombining || Cat == QChar::Mark_Enclosing)
            continue;
        Key += C;
    }
    Key = Key.toCaseFolded();
    // Case folding leaves the sharp s alone; typed searches spell it "ss".
    Key.replace(QChar(0x00DF), QLatin1String("ss"));
    return Key;
}

TTemplateFilter::TTemplateFilter(QObject* Parent) : QSortFilterProxyModel(Parent)
{
    // Never sorted: the rows stay in the folder's order.
}

void TTemplateFilter::SetPattern(const QString& Text)
{
    const QString Key = SearchKey(Text.trimmed());
    if (Key == FKey)
        return;
    FKey = Key;
    invalidateRowsFilter();
}

bool TTemplateFilter::filterAcceptsRow(int SourceRow, const QModelIndex& SourceParent) const
{
    if (FKey.isEmpty())
        return true;
    const QModelIndex I = sourceModel()->index(SourceRow, 0, SourceParent);
    return I.data(TTemplateListModel::SearchKeyRole).toString().contains(FKey);
}
