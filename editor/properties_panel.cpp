// The properties panel on the right: the label's group and the groups of the
// selected element, and the two-way binding between them and the document.
#include "editor/controls/group_panel.h"
#include "editor/controls/ui_font.h"
#include "editor/label_main_form.h"
#include "editor/props_code_group.h"
#include "editor/props_radio_group.h"
#include "editor/props_spin_edit.h"
#include "editor/props_text.h"
#include "editor/props_updating.h"
#include "editor/dialogs.h"
#include "model/dot_math.h"
#include "model/label_doc.h"
#include "model/model_error.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>

namespace {

const QColor PanelColour(243, 243, 243);
const QColor SecondaryColour(112, 112, 112);
const QColor TitleColour(0, 120, 215);
constexpr int GroupLeft = 8;
constexpr int GroupWidth = 278;
constexpr int GroupGap = 8;

void SetTextColour(QWidget* w, const QColor& c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

// Lists, number fields and the slider change their value under a turning
// wheel. While the user scrolls the panel past them they must not: the wheel
// only reaches the one that has the focus, and otherwise scrolls the panel.
class TPanelWheelGuard : public QObject {
public:
    explicit TPanelWheelGuard(QScrollArea* AScroll)
        : QObject(AScroll), FScroll(AScroll)
    {
    }

    void Guard(QWidget* w)
    {
        w->setFocusPolicy(Qt::StrongFocus);
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w->hasFocus())
            return false;
        QCoreApplication::sendEvent(FScroll->verticalScrollBar(), event);
        return true;
    }

private:
    QScrollArea* FScroll;
};

// Installed families as the font list offers them: without the vertical
// variants ("@" names), each once, sorted without regard to case.
QStringList FontFamilies()
{
    QStringList families;
    for (const QString& f : QFontDatabase::families()) {
        if (!f.startsWith(u'@') && !families.contains(f, Qt::CaseInsensitive))
            families << f;
    }
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    return families;
}

bool IsShape(TElemKind k)
{
    return k == ekRect || k == ekEllipse || k == ekLine;
}

} // namespace

QCheckBox* TLabelMainForm::AddCheck(QWidget* Parent, const QString& Caption, int Left, int Top, int Width,
                                    std::function<void()> OnClick)
{
    auto* c = new QCheckBox(Caption, Parent);
    c->setGeometry(Left, Top, Width, 20);
    SetTextColour(c, QColor(32, 32, 32));
    if (OnClick)
        connect(c, &QCheckBox::toggled, this, [OnClick = std::move(OnClick)](bool) { OnClick(); });
    return c;
}

TSpinEdit* TLabelMainForm::AddSpinEdit(QWidget* Parent, int Left, int Top, int Width, int MinValue, int MaxValue)
{
    auto* s = new TSpinEdit(Parent);
    s->setGeometry(Left, Top, Width, 24);
    s->SetRange(MinValue, MaxValue);
    s->SetValue(MinValue);
    return s;
}

void TLabelMainForm::BuildPropertiesPanel()
{
    auto* lay = new QVBoxLayout(PnlRight);
    lay->setContentsMargins(0, 0, 0, 0);
    PropScroll = new QScrollArea(PnlRight);
    PropScroll->setObjectName(QStringLiteral("PropScroll"));
    PropScroll->setFrameShape(QFrame::NoFrame);
    PropScroll->setWidgetResizable(false);
    PropScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PropScroll->verticalScrollBar()->setTracking(true);
    QPalette pal = PropScroll->palette();
    pal.setColor(QPalette::Window, PanelColour);
    PropScroll->setPalette(pal);
    PropScroll->viewport()->setAutoFillBackground(true);
    PropScroll->viewport()->setPalette(pal);
    PropContent = new QWidget;
    PropContent->setObjectName(QStringLiteral("PropContent"));
    PropContent->setAutoFillBackground(true);
    PropContent->setPalette(pal);
    PropContent->resize(GroupLeft + GroupWidth + GroupGap, GroupGap);
    PropScroll->setWidget(PropContent);
    lay->addWidget(PropScroll);

    BuildLabelGroup();
    BuildElemGroups();

    auto* guard = new TPanelWheelGuard(PropScroll);
    for (QWidget* w : PropContent->findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QSlider*>(w))
            guard->Guard(w);
    }
    LayoutGroups();
}

void TLabelMainForm::BuildLabelGroup()
{
    QWidget* g = GbLabel = CreateGroupPanel(this, PropContent, QStringLiteral("Etikett"), 330);
    g->setObjectName(QStringLiteral("GbLabel"));
    const auto L = [this](QObject* sender) { return [this, sender] { LabelPropsChanged(sender); }; };

    AddLabel(g, QStringLiteral("Name"), 40, 14);
    EdDocName = new QLineEdit(g);
    EdDocName->setObjectName(QStringLiteral("EdDocName"));
    EdDocName->setGeometry(96, 40, 168, 24);
    connect(EdDocName, &QLineEdit::textChanged, this, L(EdDocName));

    AddLabel(g, QStringLiteral("Länge (mm)"), 72, 14);
    CbLength = new QComboBox(g);
    CbLength->setObjectName(QStringLiteral("CbLength"));
    CbLength->setEditable(true);
    // Completing "1" to "15" would apply a length nobody typed, and Enter
    // must not grow the list.
    CbLength->setCompleter(nullptr);
    CbLength->setInsertPolicy(QComboBox::NoInsert);
    CbLength->addItems({QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30"),
                        QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("60"), QStringLiteral("80"),
                        QStringLiteral("100"), QStringLiteral("150")});
    CbLength->setGeometry(96, 72, 80, 24);
    connect(CbLength, &QComboBox::editTextChanged, this, L(CbLength));
    SetTextColour(AddLabel(g, QStringLiteral("Breite 48 mm"), 72, 184), SecondaryColour);

    RgOrient = new TRadioGroup(QStringLiteral(" Druckausrichtung "),
                               {QStringLiteral("Hochformat"), QStringLiteral("Querformat")}, 2, g);
    RgOrient->setObjectName(QStringLiteral("RgOrient"));
    RgOrient->setGeometry(14, 102, 250, 44);
    connect(RgOrient, &TRadioGroup::Clicked, this, L(RgOrient));

    AddLabel(g, QStringLiteral("Hintergrund"), 156, 14);
    CbBg = new QComboBox(g);
    CbBg->setObjectName(QStringLiteral("CbBg"));
    CbBg->setGeometry(96, 156, 168, 24);
    CbBg->setMaxVisibleItems(20);
    connect(CbBg, &QComboBox::currentIndexChanged, this, [this](int) { CbBgChange(); });

    AddLabel(g, QStringLiteral("Bild-Modus"), 186, 14);
    CbBgMode = new QComboBox(g);
    CbBgMode->setObjectName(QStringLiteral("CbBgMode"));
    CbBgMode->addItems({QStringLiteral("Einpassen"), QStringLiteral("Ausfüllen"), QStringLiteral("Strecken")});
    CbBgMode->setGeometry(96, 186, 168, 24);
    connect(CbBgMode, &QComboBox::currentIndexChanged, this, [this](int) { LabelPropsChanged(CbBgMode); });

    LblLighten = AddLabel(g, QStringLiteral("Aufhellen: 0 %"), 218, 14);
    LblLighten->setObjectName(QStringLiteral("LblLighten"));
    TbLighten = new QSlider(Qt::Horizontal, g);
    TbLighten->setObjectName(QStringLiteral("TbLighten"));
    TbLighten->setRange(0, 90);
    TbLighten->setTickPosition(QSlider::NoTicks);
    TbLighten->setTickInterval(10);
    TbLighten->setGeometry(104, 214, 164, 30);
    connect(TbLighten, &QSlider::valueChanged, this, [this](int) { LabelPropsChanged(TbLighten); });

    ChkBgDither = AddCheck(g, QStringLiteral("Bild rastern (für Fotos)"), 14, 250, 250,
                           [this] { LabelPropsChanged(ChkBgDither); });
    ChkBgDither->setObjectName(QStringLiteral("ChkBgDither"));

    auto* folder = new QPushButton(QStringLiteral("Hintergrund-Ordner öffnen"), g);
    folder->setObjectName(QStringLiteral("BtnBgFolder"));
    folder->setToolTip(QStringLiteral("Eigene Bilder dort ablegen – sie erscheinen in der Hintergrundliste"));
    folder->setGeometry(14, 284, 250, 30);
    connect(folder, &QPushButton::clicked, this, [this] { OpenBackgroundFolder(); });
}

void TLabelMainForm::BuildElemGroups()
{
    const auto E = [this](QObject* sender) { return [this, sender] { ElemPropsChanged(sender); }; };
    const auto Spin = [&](QWidget* g, const char* name, int left, int top, int width, int lo, int hi) {
        TSpinEdit* s = AddSpinEdit(g, left, top, width, lo, hi);
        s->setObjectName(QLatin1String(name));
        connect(s, &TSpinEdit::Changed, this, E(s));
        return s;
    };
    const auto Check = [&](QWidget* g, const QString& caption, const char* name, int left, int top, int width) {
        QCheckBox* c = AddCheck(g, caption, left, top, width, nullptr);
        c->setObjectName(QLatin1String(name));
        // The state, not just on/off: a box showing mixed values of several
        // elements becomes a choice when it is clicked.
        connect(c, &QCheckBox::stateChanged, this, E(c));
        return c;
    };

    QWidget* g = GbElem = CreateGroupPanel(this, PropContent, QStringLiteral("Position & Größe"), 122);
    g->setObjectName(QStringLiteral("GbElem"));
    LblElemTitle = new QLabel(g);
    LblElemTitle->setObjectName(QStringLiteral("LblElemTitle"));
    LblElemTitle->setFont(UiFont(9, TUiWeight::Bold));
    SetTextColour(LblElemTitle, TitleColour);
    LblElemTitle->move(170, 12);
    AddLabel(g, QStringLiteral("X"), 46, 14);
    SeX = Spin(g, "SeX", 30, 46, 92, -2000, 4000);
    AddLabel(g, QStringLiteral("Y"), 46, 146);
    SeY = Spin(g, "SeY", 162, 46, 92, -2000, 4000);
    AddLabel(g, QStringLiteral("B"), 80, 14);
    SeW = Spin(g, "SeW", 30, 80, 92, 1, 4000);
    AddLabel(g, QStringLiteral("H"), 80, 146);
    SeH = Spin(g, "SeH", 162, 80, 92, 1, 4000);

    g = GbText = CreateGroupPanel(this, PropContent, QStringLiteral("Text"), 330);
    g->setObjectName(QStringLiteral("GbText"));
    MemoText = new QPlainTextEdit(g);
    MemoText->setObjectName(QStringLiteral("MemoText"));
    MemoText->setGeometry(14, 38, 250, 74);
    MemoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(MemoText, &QPlainTextEdit::textChanged, this, E(MemoText));
    SetTextColour(AddLabel(g, QStringLiteral("Platzhalter: {DATUM} {ZEIT} {JAHR} {NR}"), 114, 14), SecondaryColour);
    AddLabel(g, QStringLiteral("Schrift"), 142, 14);
    CbFont = new QComboBox(g);
    CbFont->setObjectName(QStringLiteral("CbFont"));
    CbFont->addItems(FontFamilies());
    CbFont->setGeometry(76, 142, 188, 24);
    CbFont->setMaxVisibleItems(25);
    connect(CbFont, &QComboBox::currentIndexChanged, this, [this](int) { ElemPropsChanged(CbFont); });
    AddLabel(g, QStringLiteral("Größe (px)"), 174, 14);
    SeFontSize = Spin(g, "SeFontSize", 96, 174, 70, 6, 400);
    SetTextColour(AddLabel(g, QStringLiteral("8 px = 1 mm"), 174, 174), SecondaryColour);
    ChkBold = Check(g, QStringLiteral("Fett"), "ChkBold", 14, 206, 60);
    ChkItalic = Check(g, QStringLiteral("Kursiv"), "ChkItalic", 78, 206, 70);
    ChkUnderline = Check(g, QStringLiteral("Unterstr."), "ChkUnderline", 154, 206, 100);
    RgAlign = new TRadioGroup(QStringLiteral(" Ausrichtung "),
                              {QStringLiteral("Links"), QStringLiteral("Mitte"), QStringLiteral("Rechts")}, 3, g);
    RgAlign->setObjectName(QStringLiteral("RgAlign"));
    RgAlign->setGeometry(14, 232, 250, 44);
    connect(RgAlign, &TRadioGroup::Clicked, this, E(RgAlign));
    ChkInvert = Check(g, QStringLiteral("Weiß auf Schwarz (invertiert)"), "ChkInvert", 14, 290, 250);

    g = GbImage = CreateGroupPanel(this, PropContent, QStringLiteral("Bild"), 140);
    g->setObjectName(QStringLiteral("GbImage"));
    ChkImgDither = Check(g, QStringLiteral("Rastern (Fotos, Graustufen)"), "ChkImgDither", 14, 40, 250);
    ChkKeepAspect = Check(g, QStringLiteral("Seitenverhältnis beibehalten"), "ChkKeepAspect", 14, 66, 250);
    auto* replace = new QPushButton(QStringLiteral("Bild ersetzen …"), g);
    replace->setObjectName(QStringLiteral("BtnReplaceImage"));
    replace->setGeometry(14, 96, 250, 30);
    connect(replace, &QPushButton::clicked, this, [this] { ReplaceImage(); });

    g = GbShape = CreateGroupPanel(this, PropContent, QStringLiteral("Form"), 104);
    g->setObjectName(QStringLiteral("GbShape"));
    AddLabel(g, QStringLiteral("Linienstärke (px)"), 40, 14);
    SeLineWidth = Spin(g, "SeLineWidth", 134, 40, 70, 1, 60);
    ChkFilled = Check(g, QStringLiteral("Gefüllt"), "ChkFilled", 14, 72, 120);

    FCodeGroup = new TPropsCodeGroup(this, PropContent);
    GbCode = FCodeGroup->Panel();
    connect(FCodeGroup, &TPropsCodeGroup::Edited, this, E(FCodeGroup));
}

void TLabelMainForm::LayoutGroups()
{
    // Several elements show the groups they all have.
    const std::vector<TLabelElement*> sel = SelectedElements();
    const auto all = [&](auto pred) {
        return !sel.empty() && std::all_of(sel.begin(), sel.end(), [&](const TLabelElement* e) { return pred(e->Kind); });
    };
    const std::pair<QWidget*, bool> groups[] = {
        {GbLabel, true},
        {GbElem, !sel.empty()},
        {GbText, all([](TElemKind k) { return k == ekText; })},
        {GbImage, all([](TElemKind k) { return k == ekImage; })},
        {GbShape, all(IsShape)},
        // The code group edits one element; several codes share only the
        // fields of the element group.
        {GbCode, sel.size() == 1 && sel.front()->Kind == ekCode},
    };
    // The groups stand on the scrolled surface, so a group placed at y shows
    // at y minus the scroll position without further arithmetic.
    int y = GroupGap;
    for (const auto& [group, wanted] : groups) {
        if (!wanted) {
            group->hide();
            continue;
        }
        group->setGeometry(GroupLeft, y, GroupWidth, group->height());
        group->show();
        y += group->height() + GroupGap;
    }
    PropContent->resize(GroupLeft + GroupWidth + GroupGap, y);
}

void TLabelMainForm::ShowLabelProps()
{
    TUpdatingScope updating(FUpdating);
    const TLabelDoc& d = *FDoc;
    EdDocName->setText(d.Name);
    CbLength->setEditText(QString::number(d.LengthMm));
    ShowOrientation();
    CbBg->setCurrentIndex(static_cast<int>(d.BgPreset));
    CbBgMode->setCurrentIndex(static_cast<int>(d.BgMode));
    TbLighten->setValue(d.BgLighten);
    // The label tells the stored value even where the bar stops short of it.
    LblLighten->setText(QStringLiteral("Aufhellen: %1 %").arg(d.BgLighten));
    LblLighten->adjustSize();
    ChkBgDither->setChecked(d.BgDither);
    const bool picture = d.BgPreset == bpImage;
    CbBgMode->setEnabled(picture);
    TbLighten->setEnabled(picture);
    ChkBgDither->setEnabled(picture);
}

void TLabelMainForm::ShowElemProps()
{
    if (MultiSelected()) {
        ShowMultiElemProps();
        LayoutGroups();
        return;
    }
    {
        TUpdatingScope updating(FUpdating);
        // Boxes that showed the mixed values of several elements are plain again.
        for (QCheckBox* c : {ChkBold, ChkItalic, ChkUnderline, ChkInvert, ChkImgDither, ChkKeepAspect, ChkFilled})
            c->setTristate(false);
        if (const TLabelElement* e = FSel) {
            LblElemTitle->setText(e->KindName());
            LblElemTitle->adjustSize();
            SeX->SetValue(e->X);
            SeY->SetValue(e->Y);
            SeW->SetValue(e->W);
            SeH->SetValue(e->H);
            switch (e->Kind) {
            case ekText:
                // Rewriting an unchanged text would throw the caret to the
                // start while the user types.
                if (DocText(MemoRawText(MemoText)) != e->Text)
                    MemoText->setPlainText(FieldText(e->Text));
                CbFont->setCurrentIndex(FontBoxIndex(CbFont, e->FontName));
                SeFontSize->SetValue(e->FontSize);
                ChkBold->setChecked(e->Bold);
                ChkItalic->setChecked(e->Italic);
                ChkUnderline->setChecked(e->Underline);
                RgAlign->SetItemIndex(static_cast<int>(e->Align));
                ChkInvert->setChecked(e->Inverted);
                break;
            case ekImage:
                ChkImgDither->setChecked(e->Dither);
                ChkKeepAspect->setChecked(e->KeepAspect);
                break;
            case ekRect:
            case ekEllipse:
            case ekLine:
                SeLineWidth->SetValue(e->LineWidth);
                ChkFilled->setChecked(e->Filled);
                ChkFilled->setVisible(e->Kind != ekLine);
                break;
            case ekCode:
                FCodeGroup->ShowElement(*e);
                break;
            }
        }
    }
    LayoutGroups();
}

void TLabelMainForm::LabelPropsChanged(QObject* Sender)
{
    if (FUpdating)
        return;
    PushUndoMerged();
    TLabelDoc& d = *FDoc;
    d.Name = EdDocName->text();
    bool ok = false;
    const int length = CbLength->currentText().trimmed().toInt(&ok);
    d.LengthMm = std::clamp(ok ? length : d.LengthMm, 5, 1000);
    if (Sender == RgOrient) {
        SetOrientation(RgOrient->ItemIndex() == 0);
        return;
    }
    if (CbBgMode->currentIndex() >= 0)
        d.BgMode = static_cast<TBgMode>(CbBgMode->currentIndex());
    d.BgLighten = TbLighten->value();
    LblLighten->setText(QStringLiteral("Aufhellen: %1 %").arg(d.BgLighten));
    LblLighten->adjustSize();
    d.BgDither = ChkBgDither->isChecked();
    ShowOrientation();
    UpdateCanvasSize();
    DocChanged();
}

void TLabelMainForm::ElemPropsChanged(QObject* Sender)
{
    if (FUpdating || !FSel)
        return;
    if (MultiSelected()) {
        MultiElemPropsChanged(Sender);
        return;
    }
    const int32_t x = SeX->Value();
    const int32_t y = SeY->Value();
    const int32_t w = SeW->Value() <= 0 ? 1 : SeW->Value();
    const int32_t h = SeH->Value() <= 0 ? 1 : SeH->Value();
    try {
        // The fields take any 32-bit number, but an element whose far edge
        // cannot be counted could be neither drawn nor hit: it keeps its place.
        DotAdd(x, w);
        DotAdd(y, h);
    } catch (const EModelError& err) {
        FDialogs->ShowError(this, err.Message());
        return;
    }
    PushUndoMerged();
    TLabelElement& e = *FSel;
    e.X = x;
    e.Y = y;
    e.W = w;
    e.H = h;
    switch (e.Kind) {
    case ekText:
        e.Text = DocText(MemoRawText(MemoText));
        // A stand-in shown for a missing font is not a choice of the user.
        if (CbFont->currentIndex() >= 0 && CbFont->currentIndex() != FontBoxIndex(CbFont, e.FontName))
            e.FontName = CbFont->currentText();
        e.FontSize = SeFontSize->Value();
        e.Bold = ChkBold->isChecked();
        e.Italic = ChkItalic->isChecked();
        e.Underline = ChkUnderline->isChecked();
        if (RgAlign->ItemIndex() >= 0)
            e.Align = static_cast<TLblAlign>(RgAlign->ItemIndex());
        e.Inverted = ChkInvert->isChecked();
        break;
    case ekImage:
        e.Dither = ChkImgDither->isChecked();
        e.KeepAspect = ChkKeepAspect->isChecked();
        break;
    case ekRect:
    case ekEllipse:
    case ekLine:
        // A stroke of no width would draw differently from what the same
        // label shows after saving and opening it again, where it reads as 1.
        e.LineWidth = SeLineWidth->Value() <= 0 ? 1 : SeLineWidth->Value();
        e.Filled = ChkFilled->isChecked();
        break;
    case ekCode:
        FCodeGroup->ApplyTo(e);
        break;
    }
    DocChanged();
}
