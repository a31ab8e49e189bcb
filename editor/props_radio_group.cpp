#include "editor/props_radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

TRadioGroup::TRadioGroup(const QString& ATitle, const QStringList& AItems, int AColumns, QWidget* parent)
    : QGroupBox(ATitle, parent), FButtons(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 2, 8, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    const int columns = std::max(1, AColumns);
    for (int i = 0; i < AItems.size(); ++i) {
        auto* b = new QRadioButton(AItems[i], this);
        FButtons->addButton(b, i);
        grid->addWidget(b, i / columns, i % columns);
    }
    connect(FButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit Clicked();
    });
}

int TRadioGroup::ItemIndex() const
{
    return FButtons->checkedId();
}

int TRadioGroup::Count() const
{
    return static_cast<int>(FButtons->buttons().size());
}

void TRadioGroup::SetItemIndex(int AIndex)
{
    if (QAbstractButton* b = FButtons->button(AIndex)) {
        b->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last button.
    if (QAbstractButton* cur = FButtons->checkedButton()) {
        FButtons->setExclusive(false);
        cur->setChecked(false);
        FButtons->setExclusive(true);
    }
}
