#include "app/app_setup.h"
#include "app/pellwerk_application.h"
#include "editor/label_main_form.h"

int main(int argc, char** argv)
{
    TPellwerkApplication app(argc, argv);
    SetupApplication(app);
    TLabelMainForm window;
    window.show();
    return app.exec();
}
