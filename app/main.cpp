#include "app/app_setup.h"
#include "app/pellwerk_application.h"
#include "ble/bluez/bluez_manager.h"
#include "editor/label_main_form.h"
#include "editor/controls/plain_message_box.h"

#include <exception>

int main(int argc, char** argv)
{
    TPellwerkApplication app(argc, argv);
    SetupApplication(app);
    // BlueZ on the system bus; it outlives the window and so the printer link.
    TBluezManager ble;
    TMainFormDeps deps;
    deps.Ble = &ble;
    try {
        TLabelMainForm window(deps);
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        // The window could not even be built: say why instead of vanishing.
        PlainMessageBox(QMessageBox::Critical, nullptr,
                        QStringLiteral("MIRVO Pellwerk konnte nicht gestartet werden:\r\n") + QString::fromUtf8(e.what()));
        return 1;
    }
}
