#pragma once
// A titled frame of radio buttons laid out in columns, with one index for
// the checked item (-1 for none).
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& ATitle, const QStringList& AItems, int AColumns, QWidget* parent = nullptr);

    int ItemIndex() const;
    // Checks item AIndex; an index outside the items unchecks them all.
    void SetItemIndex(int AIndex);
    int Count() const;

signals:
    // An item became checked, by the user or by SetItemIndex.
    void Clicked();

private:
    QButtonGroup* FButtons;
};
