// The menu of element commands: the canvas context menu, and the toolbar's
// "Anordnen" menu of alignment, distribution and rotation.
#include "editor/align_ops.h"
#include "editor/element_clipboard.h"
#include "editor/label_main_form.h"
#include "editor/paint_box.h"
#include "model/label_doc.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace {

QAction* AddCommand(QMenu* Menu, const QString& Text, const QKeySequence& Keys, bool Enabled,
                    std::function<void()> Run)
{
    QAction* a = Menu->addAction(Text, Menu, std::move(Run));
    // Shown beside the entry; the keys themselves are handled by the window.
    if (!Keys.isEmpty())
        a->setShortcut(Keys);
    a->setShortcutContext(Qt::WidgetShortcut);
    a->setEnabled(Enabled);
    return a;
}

} // namespace

void TLabelMainForm::AddArrangeCommands(QMenu* Menu)
{
    const size_t n = SelectedElements().size();
    QMenu* align = Menu->addMenu(n > 1 ? QStringLiteral("Aneinander ausrichten") : QStringLiteral("Am Etikett ausrichten"));
    align->setEnabled(n > 0);
    const std::pair<TAlignMode, QString> modes[] = {
        {amLeft, QStringLiteral("Links")},       {amCentre, QStringLiteral("Zentriert")},
        {amRight, QStringLiteral("Rechts")},     {amTop, QStringLiteral("Oben")},
        {amMiddle, QStringLiteral("Mittig")},    {amBottom, QStringLiteral("Unten")},
    };
    for (const auto& [mode, text] : modes)
        AddCommand(align, text, {}, true, [this, m = mode] { AlignSelected(m); });
    if (n > 1) {
        QMenu* toLabel = Menu->addMenu(QStringLiteral("Am Etikett ausrichten"));
        for (const auto& [mode, text] : modes)
            AddCommand(toLabel, text, {}, true, [this, m = mode] { AlignSelectedToLabel(m); });
    }
    AddCommand(Menu, QStringLiteral("Horizontal verteilen"), {}, n >= 3, [this] { DistributeSelected(true); });
    AddCommand(Menu, QStringLiteral("Vertikal verteilen"), {}, n >= 3, [this] { DistributeSelected(false); });
    AddCommand(Menu, QStringLiteral("Auf dem Etikett zentrieren"), {}, n > 0, [this] { CentreSelectionOnLabel(); });
    bool turnable = false;
    for (const TLabelElement* e : SelectedElements())
        turnable = turnable || e->Kind == ekText || e->Kind == ekImage;
    QMenu* turn = Menu->addMenu(QStringLiteral("Drehen"));
    turn->setEnabled(turnable);
    AddCommand(turn, QStringLiteral("90° im Uhrzeigersinn"), {}, true, [this] { RotateSelected(90); });
    AddCommand(turn, QStringLiteral("90° gegen den Uhrzeigersinn"), {}, true, [this] { RotateSelected(-90); });
    AddCommand(turn, QStringLiteral("180°"), {}, true, [this] { RotateSelected(180); });
}

QMenu* TLabelMainForm::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("CanvasMenu"));
    const bool any = FSel != nullptr;
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool canPaste = clip && !clip->formats().isEmpty();
    AddCommand(menu, QStringLiteral("Ausschneiden"), QKeySequence(QStringLiteral("Ctrl+X")), any,
               [this] { CutSelected(); });
    AddCommand(menu, QStringLiteral("Kopieren"), QKeySequence(QStringLiteral("Ctrl+C")), any,
               [this] { CopySelected(); });
    AddCommand(menu, QStringLiteral("Einfügen"), QKeySequence(QStringLiteral("Ctrl+V")), canPaste,
               [this] { PasteElements(); });
    AddCommand(menu, QStringLiteral("Duplizieren"), QKeySequence(QStringLiteral("Ctrl+D")), any,
               [this] { DuplicateSelected(); });
    AddCommand(menu, QStringLiteral("Löschen"), QKeySequence(Qt::Key_Delete), any, [this] { DeleteSelected(); });
    menu->addSeparator();
    AddCommand(menu, QStringLiteral("Nach vorn"), {}, any, [this] { BringForward(); });
    AddCommand(menu, QStringLiteral("Nach hinten"), {}, any, [this] { SendBackward(); });
    menu->addSeparator();
    AddArrangeCommands(menu);
    menu->addSeparator();
    AddCommand(menu, QStringLiteral("Alles auswählen"), QKeySequence(QStringLiteral("Ctrl+A")),
               !FDoc->Elements.IsEmpty(), [this] { SelectAll(); });
    AddCommand(menu, QStringLiteral("Rückgängig"), QKeySequence(QStringLiteral("Ctrl+Z")), !FUndo.isEmpty(),
               [this] { Undo(); });
    AddCommand(menu, QStringLiteral("Wiederholen"), QKeySequence(QStringLiteral("Ctrl+Y")), !FRedo.isEmpty(),
               [this] { Redo(); });
    return menu;
}

void TLabelMainForm::ShowContextMenu(QPoint At)
{
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(PaintBox->mapToGlobal(At));
}

void TLabelMainForm::ShowArrangeMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ArrangeMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    AddArrangeCommands(menu);
    menu->popup(QCursor::pos());
}
