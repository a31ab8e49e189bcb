// Commands of the main window whose parts are still being built. Each one
// tells the user so in the status line; the file disappears when the last of
// them has its real implementation.
#include "editor/label_main_form.h"
#include "model/label_doc.h"

namespace {
const QString NotYet = QStringLiteral("Diese Funktion ist in dieser Version noch nicht verfügbar.");
}

void TLabelMainForm::SelectElement(TLabelElement* E)
{
    if (E == FSel)
        return;
    FSel = E;
    RepaintCanvas();
}
void TLabelMainForm::AddElement(std::unique_ptr<TLabelElement>) { SetStatus(3, NotYet); }
void TLabelMainForm::InsertText() { SetStatus(3, NotYet); }
void TLabelMainForm::InsertImage() { SetStatus(3, NotYet); }
void TLabelMainForm::InsertRect() { SetStatus(3, NotYet); }
void TLabelMainForm::InsertEllipse() { SetStatus(3, NotYet); }
void TLabelMainForm::InsertLine() { SetStatus(3, NotYet); }
void TLabelMainForm::DuplicateSelected() { SetStatus(3, NotYet); }
void TLabelMainForm::DeleteSelected() { SetStatus(3, NotYet); }
void TLabelMainForm::BringForward() { SetStatus(3, NotYet); }
void TLabelMainForm::SendBackward() { SetStatus(3, NotYet); }
void TLabelMainForm::NudgeSelected(int, int, bool) { SetStatus(3, NotYet); }
void TLabelMainForm::PushUndo() {}
void TLabelMainForm::PushUndoMerged() {}
void TLabelMainForm::Undo() { SetStatus(3, NotYet); }
void TLabelMainForm::BindCanvasMouse() {}
void TLabelMainForm::BuildPropertiesPanel() {}
void TLabelMainForm::ShowLabelProps() {}
void TLabelMainForm::ShowElemProps() {}
void TLabelMainForm::LoadBackgrounds() {}
void TLabelMainForm::SetOrientation(bool) { SetStatus(3, NotYet); }
void TLabelMainForm::PrintLabel() { SetStatus(3, NotYet); }
void TLabelMainForm::ShowPrinterDialog() { SetStatus(3, NotYet); }
void TLabelMainForm::StatusBarClick() { ShowPrinterDialog(); }
