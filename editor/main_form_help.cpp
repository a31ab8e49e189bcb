// The help window, from the logo, the "Hilfe" button and F1.
#include "editor/label_main_form.h"
#include "help/help_form.h"
#include "help/maker_website.h"

void TLabelMainForm::OpenHelp(int StartPage)
{
    ShowHelpWindow(this, StartPage);
}

QString TLabelMainForm::MakerWebAddress()
{
    return MakerWebsite();
}
