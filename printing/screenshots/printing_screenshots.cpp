// Writes printer_setup_dialog.png into the folder given as the first argument
// (default: build/screenshots): the printer setup dialog after a search that
// found two simulated printers, connected to the remembered one. Settings are
// held in memory only. Run headless with QT_QPA_PLATFORM=offscreen.
#include "app/app_setup.h"
#include "ble/nimbo_ble.h"
#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "printing/printer_setup_form.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

namespace {

// Runs the event loop until Done holds or five seconds have passed.
bool RunUntil(const std::function<bool()>& Done)
{
    QElapsedTimer t;
    t.start();
    while (!Done() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return Done();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetupApplication(app);
    QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots"));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "Kann den Ordner %s nicht anlegen\n", qPrintable(dir.path()));
        return 1;
    }

    TSimBleManager ble;
    ble.AddPrinter(std::make_shared<TSimMxPrinter>("MX10", "C0:FF:EE:00:00:10"), -52);
    ble.AddPrinter(std::make_shared<TSimMxwPrinter>("MXW01", "C0:FF:EE:00:00:01"), -67);
    TNimboBle link(&ble, [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    });
    TAppSettings settings;
    settings.PrinterName = QStringLiteral("MX10");
    settings.PrinterAddress = QStringLiteral("C0:FF:EE:00:00:10");

    TPrinterSetupForm dlg(nullptr, &link, &settings);
    bool connected = false;
    link.SetOnDeviceFound([&](TNimboBle*, TBleDevice* d, int32_t rssi) { dlg.DeviceFound(d, rssi); });
    link.SetOnConnected([&](TNimboBle*, bool ok, const std::string& msg) {
        connected = ok;
        dlg.UpdateState(ok, false, ok ? QString::fromStdString(link.Device()->Name())
                                      : QStringLiteral("Fehlgeschlagen: ") + QString::fromStdString(msg));
    });
    dlg.SetOnConnectDevice([&](TBleDevice* d) {
        dlg.UpdateState(false, true, QString());
        link.Connect(d);
    });
    dlg.show();
    dlg.UpdateState(false, false, QString());
    dlg.EdFilter->setText(QStringLiteral("M"));
    dlg.BtnScan->click();
    if (!RunUntil([&] { return dlg.LbDevices->count() == 2; })) {
        std::fprintf(stderr, "Die Suche fand nicht beide Drucker\n");
        return 1;
    }
    // A double click on the first entry, as the user would connect.
    emit dlg.LbDevices->itemDoubleClicked(dlg.LbDevices->item(0));
    if (!RunUntil([&] { return connected; })) {
        std::fprintf(stderr, "Keine Verbindung zum simulierten Drucker\n");
        return 1;
    }
    QApplication::processEvents();
    const QString path = dir.filePath(QStringLiteral("printer_setup_dialog.png"));
    if (!dlg.grab().save(path, "PNG")) {
        std::fprintf(stderr, "Kann %s nicht schreiben\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
