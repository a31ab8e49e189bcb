#pragma once
// Finding a template by name as one types: blind to case and to accents
// ("uber" finds "Über", "STRASSE" finds "Straße"), the list's order kept.

#include <QSortFilterProxyModel>
#include <QString>

// Name in the form the search compares: accents dropped, case folded.
QString SearchKey(const QString& Name);

class TTemplateFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TTemplateFilter(QObject* Parent = nullptr);
    void SetPattern(const QString& Text);
    const QString& Pattern() const { return FKey; }

protected:
    bool filterAcceptsRow(int SourceRow, const QModelIndex& SourceParent) const override;

private:
    QString FKey;
};
