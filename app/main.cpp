#include "app/app_setup.h"
#include "app/pellwerk_application.h"
#include "ble/bluez/bluez_manager.h"
#include "editor/label_main_form.h"

int main(int argc, char** argv)
{
    TPellwerkApplication app(argc, argv);
    SetupApplication(app);
    // BlueZ on the system bus; it outlives the window and so the printer link.
    TBluezManager ble;
    TMainFormDeps deps;
    deps.Ble = &ble;
    TLabelMainForm window(deps);
    window.show();
    return app.exec();
}
