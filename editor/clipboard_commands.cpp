// Cut, copy and paste of the selected elements through the system clipboard.
#include "editor/element_clipboard.h"
#include "editor/label_main_form.h"
#include "model/label_doc.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
QString ElementCount(size_t n)
{
    return n == 1 ? QStringLiteral("1 Element") : QStringLiteral("%1 Elemente").arg(n);
}
} // namespace

void TLabelMainForm::CopySelected()
{
    const std::vector<TLabelElement*> sel = SelectedElements();
    if (sel.empty())
        return;
    const std::vector<const TLabelElement*> elems(sel.begin(), sel.end());
    QGuiApplication::clipboard()->setMimeData(clipboard::ElementsToMime(*FDoc, elems).release());
    SetStatus(3, ElementCount(sel.size()) + QStringLiteral(" kopiert"));
}

void TLabelMainForm::CutSelected()
{
    if (!FSel)
        return;
    CopySelected();
    DeleteSelected();
}

void TLabelMainForm::PasteElements()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    std::vector<std::unique_ptr<TLabelElement>> elems = clipboard::ElementsFromMime(*data);
    if (elems.empty()) {
        if (!PasteFromClipboard(data))
            SetStatus(3, QStringLiteral("Die Zwischenablage enthält nichts, was sich einfügen lässt"));
        return;
    }
    clipboard::PlacePasted(FDoc->Elements, elems);
    PushUndo();
    std::vector<TLabelElement*> added;
    for (auto& e : elems)
        added.push_back(FDoc->Elements.Add(std::move(e)));
    SetSelection(added, added.back());
    DocChanged();
    SetStatus(3, ElementCount(added.size()) + QStringLiteral(" eingefügt"));
}
