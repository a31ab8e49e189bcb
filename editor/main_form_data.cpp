// The main window's wiring of the data panel: choosing a data file is an
// edit of the label, another record repaints the canvas, and the panel's
// print and cancel go to the print command.
#include "editor/data_panel.h"
#include "editor/label_main_form.h"

void TLabelMainForm::BuildDataPanel()
{
    PnlData = new TDataPanel(*FDoc, *FDialogs, this);
    // The panel takes the width the canvas column has and never widens the
    // window: the window keeps the sizes it had before the panel came.
    PnlData->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    PnlData->OnBeforeDataFileChange = [this] { PushUndo(); };
    PnlData->OnDataFileChanged = [this] { DocChanged(); };
    PnlData->OnRecordShown = [this] {
        RepaintCanvas();
        if (const int n = PnlData->CurrentNumber(); n > 0 && !FPrinting)
            SetStatus(3, QStringLiteral("Datensatz %1 von %2").arg(n).arg(PnlData->RecordCount()));
    };
    PnlData->OnPrint = [this](const std::vector<int>& Records) { PrintRecords(Records); };
    PnlData->OnCancel = [this] { CancelBatch(); };
}
