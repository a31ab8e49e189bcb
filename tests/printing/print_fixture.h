#pragma once
// A main window wired to simulated printers: the link runs on a simulated
// clock (its long timeouts pass at once), boxes are answered by script, and
// every status text the link's events leave behind is recorded in order.

#include "ble/sim/sim_ble_manager.h"
#include "ble/sim/sim_clock.h"
#include "ble/sim/sim_mx_printer.h"
#include "ble/sim/sim_mxw_printer.h"
#include "tests/editor/editor_fixture.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>

class TAppSettings;

// Readable QString values in failure messages.
void PrintTo(const QString& S, std::ostream* Os);

// Scripted boxes that also let a test look at the window while a box is open.
class TWatchedDialogs : public TScriptedDialogs {
public:
    std::function<void(const QString& Text)> OnBox;
    void ShowWarning(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
};

struct TPrintFixture {
    TSimBleManager Ble;
    TSimClock Clock;
    TWatchedDialogs Dialogs;
    uint64_t Now = 1000000;
    int ScanTimerMs = 11000;
    std::unique_ptr<TLabelMainForm> Form;
    // Panel 3 as it changed, looked at after each progress, log, notification
    // and done event of the link, and whenever a test calls RecordStatus3.
    QStringList Status3;
    void RecordStatus3();

    TPrintFixture();
    ~TPrintFixture();

    // A first run whose settings file holds what Edit sets.
    static void PrepareSettings(const std::function<void(TAppSettings&)>& Edit);
    template <class TPrinter, class... TArgs>
    std::shared_ptr<TPrinter> AddPrinter(TArgs&&... Args)
    {
        auto p = std::make_shared<TPrinter>(std::forward<TArgs>(Args)...);
        Ble.AddPrinter(p);
        return p;
    }

    TLabelMainForm& Create();
    QString Status(int Index) const;
    // Runs the event loop until Pred holds (real time limit, generous).
    static bool WaitFor(const std::function<bool()>& Pred, int LimitMs = 20000);
    bool WaitConnected();
    bool WaitJobDone();
    // Runs Script inside the modal printer dialog once it is shown; the
    // script closes it (or the call returns when the dialog closes by itself).
    void WithPrinterDialog(const std::function<void(class TPrinterSetupForm&)>& Script);
};
