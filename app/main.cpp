#include "app/app_setup.h"
#include "app/open_requests.h"
#include "app/pellwerk_application.h"
#include "app/single_instance.h"
#include "app/start_args.h"
#include "ble/bluez/bluez_manager.h"
#include "editor/label_main_form.h"
#include "editor/controls/plain_message_box.h"

#include <exception>
#include <iostream>

namespace {

// Long enough for an editor that is busy drawing, short enough that a hung
// one does not keep a new start waiting noticeably.
constexpr int kHandOverTimeoutMs = 3000;

} // namespace

int main(int argc, char** argv)
{
    TPellwerkApplication app(argc, argv);
    SetupApplication(app);
    const TStartArgs args = ParseStartArgs(QCoreApplication::arguments().mid(1));
    if (!args.Error.isEmpty()) {
        std::cerr << "pellwerk: " << args.Error.toStdString() << "\n\n" << StartUsage().toStdString();
        return 2;
    }
    if (args.Help || args.Version) {
        std::cout << (args.Help ? StartUsage() : QString::fromUtf8("pellwerk " PELLWERK_VERSION "\n")).toStdString();
        return 0;
    }
    TSingleInstance instance(DefaultInstanceSocketPath());
    if (instance.HandOverOrListen(args.File, kHandOverTimeoutMs))
        return 0;

    // BlueZ on the system bus; it outlives the window and so the printer link.
    TBluezManager ble;
    TMainFormDeps deps;
    deps.Ble = &ble;
    try {
        TLabelMainForm window(deps);
        TOpenRequests requests(window);
        QObject::connect(&instance, &TSingleInstance::OpenRequested, &requests, &TOpenRequests::Open);
        window.show();
        // The last label is open by now; a file of the command line replaces it,
        // and one that cannot be read leaves it there with the reason in a box.
        requests.Open(args.File);
        return app.exec();
    } catch (const std::exception& e) {
        // The window could not even be built: say why instead of vanishing.
        PlainMessageBox(QMessageBox::Critical, nullptr,
                        QStringLiteral("MIRVO Pellwerk konnte nicht gestartet werden:\r\n") + QString::fromUtf8(e.what()));
        return 1;
    }
}
