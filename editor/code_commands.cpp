// Inserting a code element: a QR code ready for its address to be typed.
#include "editor/label_main_form.h"
#include "editor/props_code_group.h"
#include "model/label_doc.h"

#include <algorithm>

void TLabelMainForm::InsertCode()
{
    const int32_t DW = FDoc->DesignWidth();
    const int32_t DH = FDoc->DesignHeight();
    auto E = std::make_unique<TLabelElement>(ekCode);
    // 20 mm square where the label has room, centred.
    E->W = std::max(1, std::min(160, std::min(DW, DH) - 16));
    E->H = E->W;
    E->X = (DW - E->W) / 2;
    E->Y = (DH - E->H) / 2;
    E->CodeType = ctQr;
    E->Text = QStringLiteral("https://");
    AddElement(std::move(E));
    // Typing right away replaces the "https://".
    if (FCodeGroup)
        FCodeGroup->FocusData();
}
