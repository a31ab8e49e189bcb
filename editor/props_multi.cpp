// The properties panel for several selected elements: every field shows the
// value they share, or stays empty where they differ, and a change applies
// that one field to all of them.
#include "editor/label_main_form.h"
#include "editor/props_radio_group.h"
#include "editor/props_spin_edit.h"
#include "editor/props_text.h"
#include "editor/props_updating.h"
#include "model/dot_math.h"
#include "model/label_doc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <optional>

namespace {

// The value all elements share, or none.
template <typename T, typename F>
std::optional<T> Shared(const std::vector<TLabelElement*>& Elems, F Get)
{
    if (Elems.empty())
        return std::nullopt;
    const T first = Get(*Elems.front());
    for (const TLabelElement* e : Elems)
        if (!(Get(*e) == first))
            return std::nullopt;
    return first;
}

void ShowNumber(TSpinEdit* Field, const std::optional<int32_t>& V)
{
    if (V)
        Field->SetValue(*V);
    else
        Field->Clear();
}

void ShowCheck(QCheckBox* Box, const std::optional<bool>& V)
{
    Box->setTristate(!V);
    Box->setCheckState(!V ? Qt::PartiallyChecked : (*V ? Qt::Checked : Qt::Unchecked));
}

} // namespace

void TLabelMainForm::ShowMultiElemProps()
{
    TUpdatingScope updating(FUpdating);
    const std::vector<TLabelElement*> sel = SelectedElements();
    LblElemTitle->setText(QStringLiteral("%1 Elemente").arg(sel.size()));
    LblElemTitle->adjustSize();
    ShowNumber(SeX, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.X; }));
    ShowNumber(SeY, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.Y; }));
    ShowNumber(SeW, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.W; }));
    ShowNumber(SeH, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.H; }));
    const auto text = Shared<QString>(sel, [](const TLabelElement& e) { return e.Text; });
    if (DocText(MemoRawText(MemoText)) != text.value_or(QString()))
        MemoText->setPlainText(FieldText(text.value_or(QString())));
    const auto font = Shared<QString>(sel, [](const TLabelElement& e) { return e.FontName.toLower(); });
    CbFont->setCurrentIndex(font ? FontBoxIndex(CbFont, sel.front()->FontName) : -1);
    ShowNumber(SeFontSize, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.FontSize; }));
    ShowCheck(ChkBold, Shared<bool>(sel, [](const TLabelElement& e) { return e.Bold; }));
    ShowCheck(ChkItalic, Shared<bool>(sel, [](const TLabelElement& e) { return e.Italic; }));
    ShowCheck(ChkUnderline, Shared<bool>(sel, [](const TLabelElement& e) { return e.Underline; }));
    RgAlign->SetItemIndex(Shared<int>(sel, [](const TLabelElement& e) { return int(e.Align); }).value_or(-1));
    ShowCheck(ChkInvert, Shared<bool>(sel, [](const TLabelElement& e) { return e.Inverted; }));
    ShowCheck(ChkImgDither, Shared<bool>(sel, [](const TLabelElement& e) { return e.Dither; }));
    ShowCheck(ChkKeepAspect, Shared<bool>(sel, [](const TLabelElement& e) { return e.KeepAspect; }));
    ShowNumber(SeLineWidth, Shared<int32_t>(sel, [](const TLabelElement& e) { return e.LineWidth; }));
    ShowCheck(ChkFilled, Shared<bool>(sel, [](const TLabelElement& e) { return e.Filled; }));
    bool anyLine = false;
    for (const TLabelElement* e : sel)
        anyLine = anyLine || e->Kind == ekLine;
    ChkFilled->setVisible(!anyLine);
}

void TLabelMainForm::MultiElemPropsChanged(QObject* Sender)
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    // One field, and only when it holds a value: an empty field or a box
    // still showing mixed values changes nothing.
    std::function<void(TLabelElement&)> apply;
    const auto number = [&](TSpinEdit* f, auto set) {
        if (Sender == f && !f->IsEmpty())
            apply = [v = f->Value(), set](TLabelElement& e) { set(e, v); };
    };
    const auto check = [&](QCheckBox* b, auto set) {
        if (Sender == b && b->checkState() != Qt::PartiallyChecked)
            apply = [v = b->isChecked(), set](TLabelElement& e) { set(e, v); };
    };
    number(SeX, [](TLabelElement& e, int v) { e.X = v; });
    number(SeY, [](TLabelElement& e, int v) { e.Y = v; });
    number(SeW, [](TLabelElement& e, int v) { e.W = v <= 0 ? 1 : v; });
    number(SeH, [](TLabelElement& e, int v) { e.H = v <= 0 ? 1 : v; });
    number(SeFontSize, [](TLabelElement& e, int v) { e.FontSize = v; });
    number(SeLineWidth, [](TLabelElement& e, int v) { e.LineWidth = v <= 0 ? 1 : v; });
    check(ChkBold, [](TLabelElement& e, bool v) { e.Bold = v; });
    check(ChkItalic, [](TLabelElement& e, bool v) { e.Italic = v; });
    check(ChkUnderline, [](TLabelElement& e, bool v) { e.Underline = v; });
    check(ChkInvert, [](TLabelElement& e, bool v) { e.Inverted = v; });
    check(ChkImgDither, [](TLabelElement& e, bool v) { e.Dither = v; });
    check(ChkKeepAspect, [](TLabelElement& e, bool v) { e.KeepAspect = v; });
    check(ChkFilled, [](TLabelElement& e, bool v) { e.Filled = v; });
    if (Sender == MemoText)
        apply = [t = DocText(MemoRawText(MemoText))](TLabelElement& e) { e.Text = t; };
    if (Sender == CbFont && CbFont->currentIndex() >= 0)
        apply = [f = CbFont->currentText()](TLabelElement& e) { e.FontName = f; };
    if (Sender == RgAlign && RgAlign->ItemIndex() >= 0)
        apply = [a = static_cast<TLblAlign>(RgAlign->ItemIndex())](TLabelElement& e) { e.Align = a; };
    if (!apply)
        return;
    // Tried on copies first: a position whose far edge cannot be counted
    // changes none of them.
    for (const TLabelElement* e : sel) {
        auto probe = e->Clone();
        apply(*probe);
        (void)probe->BoundsRect();
    }
    PushUndoMerged();
    for (TLabelElement* e : sel)
        apply(*e);
    {
        // A box that was mixed is now a plain choice.
        TUpdatingScope updating(FUpdating);
        if (auto* b = qobject_cast<QCheckBox*>(Sender))
            b->setTristate(false);
    }
    DocChanged();
}
