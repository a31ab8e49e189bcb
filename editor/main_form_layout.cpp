// The window's controls: toolbar, panels, canvas viewport and status line.
#include "editor/canvas_geometry.h"
#include "editor/controls/modern_button.h"
#include "editor/controls/ui_font.h"
#include "editor/data_panel.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "editor/status_bar.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor SeparatorColour(229, 229, 229);

QWidget* ColouredPanel(QWidget* parent, const QColor& colour, const QString& name)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    return w;
}

// The left part of the toolbar. When the window is too narrow for the whole
// toolbar, the right part covers its right end; a button cut in half there
// would show a stray letter or a piece of an icon, so whatever does not fit
// whole is hidden, and a "»" button at the end offers the hidden commands in
// a menu, in their toolbar order: every command stays one click away at any
// width.
class TToolbarLeft : public QWidget {
public:
    using QWidget::QWidget;

    void SetOverflowButton(TModernButton* Button)
    {
        FMore = Button;
        connect(FMore, &TModernButton::clicked, this, [this] { ShowOverflowMenu(); });
        Arrange();
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        Arrange();
    }

private:
    QList<QWidget*> Items() const
    {
        QList<QWidget*> items;
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != FMore)
                items << w;
        std::sort(items.begin(), items.end(), [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        return items;
    }

    void Arrange()
    {
        const QList<QWidget*> items = Items();
        const auto fits = [](const QWidget* w, int right) { return w->x() + w->width() <= right; };
        const bool all = std::all_of(items.begin(), items.end(), [&](const QWidget* w) { return fits(w, width()); });
        const int right = (all || !FMore) ? width() : width() - FMore->width() - 4;
        int lastShown = -1;
        for (int i = 0; i < items.size(); ++i) {
            items[i]->setVisible(fits(items[i], right));
            if (items[i]->isVisibleTo(this) && qobject_cast<TModernButton*>(items[i]))
                lastShown = i;
        }
        // A separator after the last button shown would lead nowhere.
        for (int i = lastShown + 1; i < items.size(); ++i)
            items[i]->setVisible(false);
        if (FMore) {
            FMore->move(std::max(0, right + 2), 4);
            FMore->setVisible(!all);
        }
    }

    void ShowOverflowMenu()
    {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (QWidget* w : Items()) {
            auto* b = qobject_cast<TModernButton*>(w);
            if (!b || b->isVisibleTo(this))
                continue;
            const QString text = b->Caption().isEmpty() ? b->Hint() : b->Caption();
            menu->addAction(text, b, [b] { emit b->clicked(); });
        }
        menu->popup(FMore->mapToGlobal(QPoint(0, FMore->height())));
    }

    TModernButton* FMore = nullptr;
};

// The logo in the toolbar: a picture that opens the help on a click.
class TLogoImage : public QLabel {
public:
    TLogoImage(QWidget* parent, std::function<void()> onClick)
        : QLabel(parent), FOnClick(std::move(onClick))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && FOnClick)
            FOnClick();
    }

private:
    std::function<void()> FOnClick;
};

} // namespace

TModernButton* TLabelMainForm::AddButton(QWidget* Parent, const QString& Caption, bool Compact, const QString& Hint,
                                         std::function<void()> OnClick, int& X, int Icon, char16_t Glyph)
{
    auto* b = new TModernButton(Parent);
    b->SetCaption(Caption);
    b->SetGlyph(Glyph);
    b->SetIcon(static_cast<TIconKind>(Icon));
    b->SetCompact(Compact);
    if (OnClick)
        connect(b, &TModernButton::clicked, this, std::move(OnClick));
    b->SetHint(Hint);
    b->SetShowHint(!Hint.isEmpty());
    b->AutoWidth();
    if (Compact)
        b->move(X, b->y());
    else
        b->setGeometry(X, 4, b->width(), 56);
    X += b->width() + 2;
    return b;
}

QLabel* TLabelMainForm::AddLabel(QWidget* Parent, const QString& Caption, int Top, int Left)
{
    auto* l = new QLabel(Caption, Parent);
    l->move(Left, Top + 3);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(32, 32, 32));
    l->setPalette(pal);
    l->adjustSize();
    return l;
}

QSpinBox* TLabelMainForm::AddSpin(QWidget* Parent, int Left, int Top, int Width, int MinValue, int MaxValue,
                                  std::function<void()> OnChange)
{
    auto* s = new QSpinBox(Parent);
    s->setGeometry(Left, Top, Width, 24);
    s->setRange(MinValue, MaxValue);
    if (OnChange)
        connect(s, &QSpinBox::valueChanged, this, [OnChange = std::move(OnChange)](int) { OnChange(); });
    return s;
}

void TLabelMainForm::AddSeparator(QWidget* Parent, int& X)
{
    QWidget* line = ColouredPanel(Parent, SeparatorColour, QStringLiteral("Separator"));
    line->setGeometry(X + 4, 12, 1, 40);
    X += 10;
}

void TLabelMainForm::BuildLayout()
{
    setFont(UiFont(9));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    BuildToolbar();
    root->addWidget(PnlTop);
    QWidget* line = ColouredPanel(this, SeparatorColour, QStringLiteral("ToolbarLine"));
    line->setFixedHeight(1);
    root->addWidget(line);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    root->addLayout(middle, 1);

    Status = new TStatusBar(this);
    Status->OnClick = [this] { StatusBarClick(); };

    PnlLeft = ColouredPanel(this, Qt::white, QStringLiteral("PnlLeft"));
    PnlLeft->setFixedWidth(244);
    BuildTemplatesPanel();
    PnlRight = ColouredPanel(this, QColor(243, 243, 243), QStringLiteral("PnlRight"));
    PnlRight->setFixedWidth(310);
    BuildPropertiesPanel();

    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidgetResizable(false);
    Scroll->setAlignment(Qt::AlignCenter);
    QPalette pal = Scroll->palette();
    pal.setColor(QPalette::Window, QColor(232, 232, 232));
    Scroll->setPalette(pal);
    Scroll->viewport()->setAutoFillBackground(true);
    Scroll->viewport()->setPalette(pal);
    PaintBox = new TPaintBox(Scroll);
    PaintBox->OnPaint = [this](QPainter& p, const QRect& r) { PaintBoxPaint(p, r); };
    BindCanvasMouse();
    Scroll->setWidget(PaintBox);

    // The canvas above the data panel of a merge.
    auto* centre = new QVBoxLayout;
    centre->setContentsMargins(0, 0, 0, 0);
    centre->setSpacing(0);
    centre->addWidget(Scroll, 1);
    BuildDataPanel();
    centre->addWidget(PnlData);
    middle->addWidget(PnlLeft);
    middle->addLayout(centre, 1);
    middle->addWidget(PnlRight);
    root->addWidget(Status);
}

void TLabelMainForm::BuildToolbar()
{
    PnlTop = ColouredPanel(this, Qt::white, QStringLiteral("PnlTop"));
    PnlTop->setFixedHeight(64);
    auto* topLayout = new QHBoxLayout(PnlTop);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    QWidget* left = new TToolbarLeft(PnlTop);
    left->setObjectName(QStringLiteral("PnlTopLeft"));
    left->setMinimumWidth(0);
    topLayout->addWidget(left, 1);

    int X = 8;
    if (!FLogo.isNull()) {
        auto* logo = new TLogoImage(left, [this] { OpenHelp(0); });
        logo->setGeometry(X + 2, 8, 48, 48);
        logo->setPixmap(QPixmap::fromImage(FLogo));
        logo->setToolTip(QStringLiteral("MIRVO Pellwerk – Info und Hilfe"));
        logo->setCursor(Qt::PointingHandCursor);
        X += 58;
        AddSeparator(left, X);
    }
    AddButton(left, QStringLiteral("Neu"), false, QStringLiteral("Neues, leeres Etikett (Strg+N)"),
              [this] { NewLabel(); }, X, ikGlyph, 0xE8A5);
    AddButton(left, QStringLiteral("Speichern"), false, QStringLiteral("Als Vorlage speichern (Strg+S)"),
              [this] { SaveLabel(); }, X, ikGlyph, 0xE74E);
    AddButton(left, QStringLiteral("Speichern unter"), false, QStringLiteral("Unter neuem Namen als Vorlage speichern"),
              [this] { SaveLabelAs(); }, X, ikGlyph, 0xE792);
    AddSeparator(left, X);
    AddButton(left, QStringLiteral("Text"), false, QStringLiteral("Textfeld einfügen"), [this] { InsertText(); }, X,
              ikGlyph, 0xE8D2);
    AddButton(left, QStringLiteral("Bild"), false, QStringLiteral("Bild (PNG, JPG, BMP …) einfügen"),
              [this] { InsertImage(); }, X, ikGlyph, 0xE8B9);
    AddButton(left, QStringLiteral("Rechteck"), false, QStringLiteral("Rechteck einfügen"), [this] { InsertRect(); },
              X, ikRect, 0);
    AddButton(left, QStringLiteral("Ellipse"), false, QStringLiteral("Ellipse / Kreis einfügen"),
              [this] { InsertEllipse(); }, X, ikEllipse, 0);
    AddButton(left, QStringLiteral("Linie"), false, QStringLiteral("Linie einfügen"), [this] { InsertLine(); }, X,
              ikLine, 0);
    AddButton(left, QStringLiteral("Code"), false, QStringLiteral("QR-Code oder Strichcode einfügen"),
              [this] { InsertCode(); }, X, ikGlyph, 0xED14);
    AddSeparator(left, X);
    AddButton(left, QStringLiteral("Duplizieren"), false, QStringLiteral("Auswahl kopieren (Strg+D)"),
              [this] { DuplicateSelected(); }, X, ikGlyph, 0xE8C8);
    AddButton(left, QStringLiteral("Löschen"), false, QStringLiteral("Auswahl löschen (Entf)"),
              [this] { DeleteSelected(); }, X, ikGlyph, 0xE74D);
    AddButton(left, QStringLiteral("Nach vorn"), false, QStringLiteral("Eine Ebene nach vorn"),
              [this] { BringForward(); }, X, ikGlyph, 0xE74A);
    AddButton(left, QStringLiteral("Nach hinten"), false, QStringLiteral("Eine Ebene nach hinten"),
              [this] { SendBackward(); }, X, ikGlyph, 0xE74B);
    AddButton(left, QStringLiteral("Rückgängig"), false, QStringLiteral("Letzte Änderung rückgängig (Strg+Z)"),
              [this] { Undo(); }, X, ikGlyph, 0xE7A7);
    AddButton(left, QStringLiteral("Wiederholen"), false,
              QStringLiteral("Rückgängig gemachte Änderung wiederholen (Strg+Y)"), [this] { Redo(); }, X, ikGlyph,
              0xE7A6);
    AddButton(left, QStringLiteral("Anordnen"), false,
              QStringLiteral("Auswahl ausrichten, verteilen oder drehen"), [this] { ShowArrangeMenu(); }, X,
              ikGlyph, 0xE8E4);
    AddSeparator(left, X);
    BtnPortrait = AddButton(left, QStringLiteral("Hochformat"), false,
                            QStringLiteral("Hochformat: Inhalt quer über den 48-mm-Streifen"),
                            [this] { SetOrientation(true); }, X, ikPortrait, 0);
    BtnLandscape = AddButton(left, QStringLiteral("Querformat"), false,
                             QStringLiteral("Querformat: Inhalt läuft entlang des Streifens (Schilder, Banner)"),
                             [this] { SetOrientation(false); }, X, ikLandscape, 0);
    int moreX = 0;
    TModernButton* more = AddButton(left, QStringLiteral("»"), false, QStringLiteral("Weitere Befehle"), nullptr,
                                    moreX, ikGlyph, 0xE712);
    more->setObjectName(QStringLiteral("BtnToolbarMore"));
    static_cast<TToolbarLeft*>(left)->SetOverflowButton(more);

    PnlTopRight = ColouredPanel(PnlTop, Qt::white, QStringLiteral("PnlTopRight"));
    topLayout->addWidget(PnlTopRight);
    QWidget* R = PnlTopRight;
    X = 4;
    TModernButton* b = AddButton(R, QString(), true, QStringLiteral("Verkleinern (Mausrad zurück)"),
                                 [this] { ZoomOut(); }, X, ikGlyph, 0xE71F);
    b->move(b->x(), 16);
    CbZoom = new QComboBox(R);
    CbZoom->setObjectName(QStringLiteral("CbZoom"));
    CbZoom->setEditable(true);
    CbZoom->setInsertPolicy(QComboBox::NoInsert);
    // No completion from the list: a typed "5" means 5 %, not "50 %".
    CbZoom->setCompleter(nullptr);
    for (double z : canvas::ZoomSteps)
        CbZoom->addItem(canvas::ZoomText(z));
    CbZoom->setGeometry(X, 20, 70, 24);
    connect(CbZoom, &QComboBox::activated, this, [this](int i) { CbZoomSelect(i); });
    X += 74;
    b = AddButton(R, QString(), true, QStringLiteral("Vergrößern (Mausrad vor)"), [this] { ZoomIn(); }, X, ikGlyph,
                  0xE8A3);
    b->move(b->x(), 16);
    b = AddButton(R, QStringLiteral("Einpassen"), true, QStringLiteral("Etikett ins Fenster einpassen"),
                  [this] { ZoomFit(); }, X, ikFit, 0);
    b->move(b->x(), 16);
    AddSeparator(R, X);
    BtnPreview = AddButton(R, QStringLiteral("Vorschau"), false,
                           QStringLiteral("Druckvorschau: so setzt der Drucker die Punkte"),
                           [this] { TogglePreview(); }, X, ikGlyph, 0xE890);
    QLabel* copies = AddLabel(R, QStringLiteral("Kopien"), 9 - 3, X + 4);
    QPalette pal = copies->palette();
    pal.setColor(QPalette::WindowText, QColor(112, 112, 112));
    copies->setPalette(pal);
    SeCopies = AddSpin(R, X + 2, 26, 52, 1, 99, nullptr);
    SeCopies->setObjectName(QStringLiteral("SeCopies"));
    SeCopies->setValue(1);
    SeCopies->setToolTip(QStringLiteral("Anzahl; {NR} im Text zählt hoch"));
    X += 60;
    BtnPrint = AddButton(R, QStringLiteral("Drucken"), false, QStringLiteral("Etikett drucken (Strg+P)"),
                         [this] { PrintLabel(); }, X, ikGlyph, 0xE749);
    BtnPrint->SetAccent(true);
    X += 10;
    AddButton(R, QStringLiteral("Drucker"), false,
              QStringLiteral("Drucker suchen, verbinden und Druckwerte einstellen"), [this] { ShowPrinterDialog(); },
              X, ikGlyph, 0xE713);
    AddButton(R, QStringLiteral("Hilfe"), false, QStringLiteral("Hilfe und Info (F1) – ") + MakerWebAddress(),
              [this] { OpenHelp(0); }, X, ikGlyph, 0xE897);
    PnlTopRight->setFixedWidth(X + 8);
}
