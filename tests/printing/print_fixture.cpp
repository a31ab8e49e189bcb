#include "print_fixture.h"

#include "ble/nimbo_ble.h"
#include "editor/status_bar.h"
#include "printing/printer_setup_form.h"
#include "settings/app_settings.h"

#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

void PrintTo(const QString& S, std::ostream* Os)
{
    *Os << '"' << S.toStdString() << '"';
}

void TWatchedDialogs::ShowWarning(QWidget* parent, const QString& text)
{
    if (OnBox)
        OnBox(text);
    TScriptedDialogs::ShowWarning(parent, text);
}

void TWatchedDialogs::ShowError(QWidget* parent, const QString& text)
{
    if (OnBox)
        OnBox(text);
    TScriptedDialogs::ShowError(parent, text);
}

TPrintFixture::TPrintFixture()
{
    Clock.SetIdleProbe([this] { return Ble.IsIdle(); });
}

TPrintFixture::~TPrintFixture()
{
    Form.reset();
}

void TPrintFixture::PrepareSettings(const std::function<void(TAppSettings&)>& Edit)
{
    ResetDataFolder();
    TAppSettings s;
    Edit(s);
    s.Save();
}

TLabelMainForm& TPrintFixture::Create()
{
    TMainFormDeps deps;
    deps.Dialogs = &Dialogs;
    deps.TickMs = [this] { return Now; };
    deps.Ble = &Ble;
    deps.LinkTime = &Clock;
    deps.ScanTimerMs = ScanTimerMs;
    Form = std::make_unique<TLabelMainForm>(deps);
    TNimboBle* link = Form->Printer();
    auto record = [this] { RecordStatus3(); };
    link->SetOnProgress([old = link->OnProgress(), record](TNimboBle* s, int32_t a, int32_t b) {
        old(s, a, b);
        record();
    });
    link->SetOnLog([old = link->OnLog(), record](TNimboBle* s, const std::string& m) {
        old(s, m);
        record();
    });
    link->SetOnNotify([old = link->OnNotify(), record](TNimboBle* s, const std::vector<uint8_t>& d) {
        old(s, d);
        record();
    });
    link->SetOnPrintDone([old = link->OnPrintDone(), record](TNimboBle* s, bool ok, const std::string& m) {
        old(s, ok, m);
        record();
    });
    return *Form;
}

void TPrintFixture::RecordStatus3()
{
    const QString text = Status(3);
    if (Status3.isEmpty() || Status3.back() != text)
        Status3 << text;
}

QString TPrintFixture::Status(int Index) const
{
    return Form->StatusBar()->Text(Index);
}

bool TPrintFixture::WaitFor(const std::function<bool()>& Pred, int LimitMs)
{
    return QTest::qWaitFor(Pred, LimitMs);
}

bool TPrintFixture::WaitConnected()
{
    return WaitFor([this] { return !Form->IsConnecting() && Form->IsConnected(); });
}

bool TPrintFixture::WaitJobDone()
{
    return WaitFor([this] { return !Form->IsPrinting(); });
}

void TPrintFixture::WithPrinterDialog(const std::function<void(TPrinterSetupForm&)>& Script)
{
    bool ran = false;
    QTimer::singleShot(0, Form.get(), [&] {
        QPointer<TPrinterSetupForm> dlg = Form->PrinterDialog();
        if (!dlg) {
            ADD_FAILURE() << "no printer dialog is shown";
            return;
        }
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg));
        ran = true;
        Script(*dlg);
        // A script that stopped early must not leave the test hanging in the dialog.
        if (dlg && dlg->isVisible()) {
            ADD_FAILURE() << "the script left the dialog open";
            dlg->reject();
        }
    });
    Form->ShowPrinterDialog();
    EXPECT_TRUE(ran) << "the dialog script did not run";
    EXPECT_EQ(Form->PrinterDialog(), nullptr);
}
