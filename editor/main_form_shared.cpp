// Operations every editing command of the main window ends with.
#include "editor/dialogs.h"
#include "editor/data_panel.h"
#include "editor/label_main_form.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"

#include <exception>

void TLabelMainForm::SetStatus(int Index, const QString& Text)
{
    Status->SetText(Index, Text);
}

void TLabelMainForm::UpdateTitle()
{
    QString title = FDoc->Name;
    if (FDoc->Modified)
        title += QStringLiteral(" *");
    title += QStringLiteral(" – MIRVO Pellwerk");
    setWindowTitle(title);
}

void TLabelMainForm::DocChanged()
{
    FDoc->Modified = true;
    UpdateTitle();
    if (PnlData)
        PnlData->SyncWithDoc();
    RepaintCanvas();
}

void TLabelMainForm::RefreshAll()
{
    SyncSelection();
    ShowLabelProps();
    ShowElemProps();
    UpdateCanvasSize();
    UpdateTitle();
    if (PnlData)
        PnlData->SyncWithDoc();
    RepaintCanvas();
}

bool TLabelMainForm::ConfirmDiscard()
{
    if (!FDoc->Modified)
        return true;
    switch (FDialogs->AskYesNoCancel(this, QStringLiteral("Änderungen an \"%1\" speichern?").arg(FDoc->Name))) {
    case TDialogs::TAnswer::Yes:
        // A save that fails (full disk, read-only file) must not let the
        // caller go on as if the label were safe: it would be closed or
        // replaced and lost.
        try {
            SaveLabel();
        } catch (const std::exception& e) {
            FDialogs->ShowError(this, QString::fromUtf8(e.what()));
            return false;
        }
        return !FDoc->Modified;
    case TDialogs::TAnswer::No:
        return true;
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return false;
}
