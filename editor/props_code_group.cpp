#include "editor/props_code_group.h"

#include "editor/controls/group_panel.h"
#include "editor/props_updating.h"
#include "model/code_layout.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

namespace {

const QColor TextColour(32, 32, 32);
const QColor SecondaryColour(112, 112, 112);
const QColor ErrorColour(196, 43, 28);

void SetTextColour(QWidget* W, const QColor& C)
{
    QPalette Pal = W->palette();
    Pal.setColor(QPalette::WindowText, C);
    W->setPalette(Pal);
}

QLabel* AddCaption(QWidget* Parent, const QString& Caption, int Left, int Top)
{
    auto* L = new QLabel(Caption, Parent);
    L->move(Left, Top + 3);
    SetTextColour(L, TextColour);
    L->adjustSize();
    return L;
}

// Millimetres with a German decimal comma, one place.
QString Mm(int32_t Dots) { return QString::number(Dots / 8.0, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')); }

}  // namespace

TPropsCodeGroup::TPropsCodeGroup(QWidget* Owner, QWidget* Parent) : QObject(Owner)
{
    QWidget* G = FPanel = CreateGroupPanel(Owner, Parent, QStringLiteral("Code"), 262);
    G->setObjectName(QStringLiteral("GbCode"));

    AddCaption(G, QStringLiteral("Art"), 14, 40);
    CbType = new QComboBox(G);
    CbType->setObjectName(QStringLiteral("CbCodeType"));
    for (int T = 0; T < kCodeTypeCount; ++T)
        CbType->addItem(CodeTypeName(static_cast<TCodeType>(T)));
    CbType->setGeometry(96, 40, 168, 24);
    connect(CbType, &QComboBox::currentIndexChanged, this, [this](int) { Changed(); });

    AddCaption(G, QStringLiteral("Daten"), 14, 72);
    EdData = new QLineEdit(G);
    EdData->setObjectName(QStringLiteral("EdCodeData"));
    EdData->setGeometry(96, 72, 168, 24);
    connect(EdData, &QLineEdit::textChanged, this, [this](const QString&) { Changed(); });
    SetTextColour(AddCaption(G, QStringLiteral("Platzhalter: {DATUM} {ZEIT} {JAHR} {NR}"), 14, 98),
                  SecondaryColour);

    AddCaption(G, QStringLiteral("Fehlerkorrektur"), 14, 126);
    CbEcc = new QComboBox(G);
    CbEcc->setObjectName(QStringLiteral("CbCodeEcc"));
    CbEcc->addItems({QStringLiteral("L (7 %)"), QStringLiteral("M (15 %)"), QStringLiteral("Q (25 %)"),
                     QStringLiteral("H (30 %)")});
    CbEcc->setGeometry(134, 126, 130, 24);
    connect(CbEcc, &QComboBox::currentIndexChanged, this, [this](int) { Changed(); });

    AddCaption(G, QStringLiteral("Modulgröße"), 14, 158);
    CbModule = new QComboBox(G);
    CbModule->setObjectName(QStringLiteral("CbCodeModule"));
    CbModule->addItem(QStringLiteral("Automatisch"));
    CbModule->addItem(QStringLiteral("1 Punkt"));
    for (int M = 2; M <= kCodeModuleMax; ++M)
        CbModule->addItem(QStringLiteral("%1 Punkte").arg(M));
    CbModule->setMaxVisibleItems(21);
    CbModule->setGeometry(134, 158, 130, 24);
    connect(CbModule, &QComboBox::currentIndexChanged, this, [this](int) { Changed(); });

    LblSize = new QLabel(G);
    LblSize->setObjectName(QStringLiteral("LblCodeSize"));
    LblSize->setGeometry(14, 186, 250, 36);
    LblSize->setWordWrap(true);
    LblSize->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ChkShowText = new QCheckBox(QStringLiteral("Klartext anzeigen"), G);
    ChkShowText->setObjectName(QStringLiteral("ChkCodeShowText"));
    ChkShowText->setGeometry(14, 226, 250, 20);
    // Dark while it applies; the style's gray once a matrix code makes it moot.
    QPalette Pal = ChkShowText->palette();
    Pal.setColor(QPalette::Active, QPalette::WindowText, TextColour);
    Pal.setColor(QPalette::Inactive, QPalette::WindowText, TextColour);
    ChkShowText->setPalette(Pal);
    connect(ChkShowText, &QCheckBox::toggled, this, [this](bool) { Changed(); });
}

void TPropsCodeGroup::ShowElement(const TLabelElement& E)
{
    TUpdatingScope Filling(FFilling);
    CbType->setCurrentIndex(static_cast<int>(E.CodeType));
    // Rewriting an unchanged text would throw the caret to the end.
    if (EdData->text() != E.Text)
        EdData->setText(E.Text);
    CbEcc->setCurrentIndex(static_cast<int>(E.CodeEcc));
    CbModule->setCurrentIndex(std::clamp(E.CodeModule, 0, kCodeModuleMax));
    ChkShowText->setChecked(E.CodeShowText);
    EnableForType();
    ShowSize(E);
}

void TPropsCodeGroup::ApplyTo(TLabelElement& E)
{
    if (CbType->currentIndex() >= 0)
        E.CodeType = static_cast<TCodeType>(CbType->currentIndex());
    E.Text = EdData->text();
    if (CbEcc->currentIndex() >= 0)
        E.CodeEcc = static_cast<TCodeEcc>(CbEcc->currentIndex());
    E.CodeModule = std::max(CbModule->currentIndex(), 0);
    E.CodeShowText = ChkShowText->isChecked();
    ShowSize(E);
}

void TPropsCodeGroup::FocusData()
{
    EdData->setFocus(Qt::OtherFocusReason);
    EdData->selectAll();
}

void TPropsCodeGroup::ShowSize(const TLabelElement& E)
{
    try {
        const TCodePlan P = PlanCode(E, 1);
        const QString Module = P.Module == 1 ? QStringLiteral("1 Punkt") : QStringLiteral("%1 Punkte").arg(P.Module);
        LblSize->setText(QStringLiteral("%1 pro Modul · %2 × %3 mm")
                             .arg(Module, Mm(P.Area.Width()), Mm(P.Area.Height())));
        SetTextColour(LblSize, SecondaryColour);
    } catch (const EModelError& Err) {
        LblSize->setText(QStringLiteral("Code ungültig: ") + Err.Message());
        SetTextColour(LblSize, ErrorColour);
    }
}

void TPropsCodeGroup::EnableForType()
{
    const auto T = static_cast<TCodeType>(std::max(CbType->currentIndex(), 0));
    CbEcc->setEnabled(T == ctQr);
    ChkShowText->setEnabled(IsLinearCode(T));
}

void TPropsCodeGroup::Changed()
{
    if (FFilling)
        return;
    EnableForType();
    emit Edited();
}
