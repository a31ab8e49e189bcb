#pragma once
// The modal dialog "Drucker & Druckeinstellungen": search for printers, pick
// one, connect or disconnect, choose the protocol and the print values, and
// start a test print. It never connects by itself: connecting, disconnecting
// and the test print go to the main window through three callbacks, which
// report the state back with UpdateState.

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TAppSettings;
class TBleDevice;
class TNimboBle;

// Connect to one device.
using TDeviceProc = std::function<void(TBleDevice* Device)>;
// A plain notification; Sender is the dialog.
using TNotifyProc = std::function<void(QObject* Sender)>;

class TPrinterSetupForm : public QDialog {
    Q_OBJECT
public:
    // The link and the settings stay the caller's and must outlive the dialog.
    TPrinterSetupForm(QWidget* AOwner, TNimboBle* APrinter, TAppSettings* ASettings);

    // A device the link reported; listed once per device object, never
    // without a name.
    void DeviceFound(TBleDevice* Device, int32_t Rssi);
    void UpdateState(bool Connected, bool Connecting, const QString& Info);
    // " (MTU n)" for a connection that reported its MTU, else empty.
    QString MtuNote() const;
    // Controls into the settings object (the caller saves the file).
    void SaveToSettings();

    const TDeviceProc& OnConnectDevice() const { return FOnConnectDevice; }
    void SetOnConnectDevice(TDeviceProc Value) { FOnConnectDevice = std::move(Value); }
    const TNotifyProc& OnDisconnect() const { return FOnDisconnect; }
    void SetOnDisconnect(TNotifyProc Value) { FOnDisconnect = std::move(Value); }
    const TNotifyProc& OnTestPrint() const { return FOnTestPrint; }
    void SetOnTestPrint(TNotifyProc Value) { FOnTestPrint = std::move(Value); }

    // The device behind list entry Row, or nullptr.
    TBleDevice* ItemDevice(int Row) const;
    // The protocol item that is checked: 0 (V5G) or 1 (V5X).
    int ProtocolIndex() const;

    // The controls; open to the window's tests.
    QLineEdit* EdFilter = nullptr;
    QListWidget* LbDevices = nullptr;
    QPushButton* BtnScan = nullptr;
    QPushButton* BtnConnect = nullptr;
    QPushButton* BtnDisconnect = nullptr;
    QPushButton* BtnTest = nullptr;
    QPushButton* BtnMX10 = nullptr;
    QPushButton* BtnClose = nullptr;
    QLabel* LblState = nullptr;
    QLabel* LblSaved = nullptr;
    QCheckBox* ChkAuto = nullptr;
    QCheckBox* ChkAutoTemp = nullptr;
    QGroupBox* RgProto = nullptr;
    QRadioButton* RbV5G = nullptr;
    QRadioButton* RbV5X = nullptr;
    QSpinBox* SeEnergy = nullptr;
    QSpinBox* SeDensity = nullptr;
    QSpinBox* SeQuality = nullptr;
    QSpinBox* SeSpeed = nullptr;
    QSpinBox* SeV5X = nullptr;
    QSpinBox* SeFeed = nullptr;
    QSpinBox* SeGap = nullptr;
    QSpinBox* SePacket = nullptr;
    QSpinBox* SeInterval = nullptr;

protected:
    // Escape works the "Schließen" button, like Enter: the values on screen
    // are kept either way.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BuildControls();
    QLabel* MakeLabel(QWidget* Parent, const QString& Caption, int Left, int Top);
    QSpinBox* MakeSpin(QWidget* Parent, const QString& Caption, int Top, int MinValue, int MaxValue, int Step = 1);
    QPushButton* MakeButton(QWidget* Parent, const QString& Caption, int Left, int Top, int Width,
                            std::function<void()> OnClick);
    void LoadFromSettings();
    void ShowSavedPrinter();
    void SetProtocolIndex(int Index);
    void SelectRow(int Row);

    void BtnScanClick();
    void LbDevicesClick();
    void BtnConnectClick();
    void BtnDisconnectClick();
    void BtnTestClick();
    void BtnMX10Click();

    TNimboBle* FPrinter;
    TAppSettings* FSettings;
    TDeviceProc FOnConnectDevice;
    TNotifyProc FOnDisconnect;
    TNotifyProc FOnTestPrint;
    // Set while the program itself changes the list, so only the user's
    // clicks count as LbDevicesClick.
    bool FFilling = false;
};
