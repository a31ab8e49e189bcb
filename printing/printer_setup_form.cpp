#include "printing/printer_setup_form.h"

#include "ble/ble_central.h"
#include "ble/nimbo_ble.h"
#include "editor/controls/ui_font.h"
#include "settings/app_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace {
constexpr int DeviceRole = Qt::UserRole;
}

TPrinterSetupForm::TPrinterSetupForm(QWidget* AOwner, TNimboBle* APrinter, TAppSettings* ASettings)
    : QDialog(AOwner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , FPrinter(APrinter)
    , FSettings(ASettings)
{
    setWindowTitle(QStringLiteral("Drucker & Druckeinstellungen"));
    setFont(UiFont(9));
    setFixedSize(660, 500);
    BuildControls();
    LoadFromSettings();
}

QLabel* TPrinterSetupForm::MakeLabel(QWidget* Parent, const QString& Caption, int Left, int Top)
{
    auto* l = new QLabel(Caption, Parent);
    l->setTextFormat(Qt::PlainText);
    l->move(Left, Top);
    l->adjustSize();
    return l;
}

QSpinBox* TPrinterSetupForm::MakeSpin(QWidget* Parent, const QString& Caption, int Top, int MinValue, int MaxValue,
                                      int Step)
{
    MakeLabel(Parent, Caption, 12, Top + 3);
    auto* s = new QSpinBox(Parent);
    s->setGeometry(190, Top, 100, 24);
    s->setRange(MinValue, MaxValue);
    s->setSingleStep(Step);
    return s;
}

QPushButton* TPrinterSetupForm::MakeButton(QWidget* Parent, const QString& Caption, int Left, int Top, int Width,
                                           std::function<void()> OnClick)
{
    auto* b = new QPushButton(Caption, Parent);
    b->setGeometry(Left, Top, Width, 28);
    b->setAutoDefault(false);
    if (OnClick)
        connect(b, &QPushButton::clicked, this, [OnClick = std::move(OnClick)] { OnClick(); });
    return b;
}

void TPrinterSetupForm::BuildControls()
{
    auto* gbPrinter = new QGroupBox(QStringLiteral(" Drucker "), this);
    gbPrinter->setGeometry(10, 8, 315, 440);

    MakeLabel(gbPrinter, QStringLiteral("Name beginnt mit:"), 12, 27);
    EdFilter = new QLineEdit(gbPrinter);
    EdFilter->setGeometry(120, 24, 80, 24);
    BtnScan = MakeButton(gbPrinter, QStringLiteral("Suchen"), 208, 22, 94, [this] { BtnScanClick(); });

    LbDevices = new QListWidget(gbPrinter);
    LbDevices->setGeometry(12, 58, 290, 170);
    connect(LbDevices, &QListWidget::itemClicked, this, [this] { LbDevicesClick(); });
    connect(LbDevices, &QListWidget::currentRowChanged, this, [this] {
        if (!FFilling)
            LbDevicesClick();
    });
    connect(LbDevices, &QListWidget::itemDoubleClicked, this, [this] { BtnConnectClick(); });

    BtnConnect = MakeButton(gbPrinter, QStringLiteral("Verbinden"), 12, 236, 140, [this] { BtnConnectClick(); });
    BtnDisconnect =
        MakeButton(gbPrinter, QStringLiteral("Trennen"), 162, 236, 140, [this] { BtnDisconnectClick(); });

    LblState = new QLabel(gbPrinter);
    LblState->setTextFormat(Qt::PlainText);
    LblState->setFont(UiFont(9, TUiWeight::Bold));
    LblState->setGeometry(12, 277, 290, 17);

    LblSaved = new QLabel(gbPrinter);
    LblSaved->setTextFormat(Qt::PlainText);
    LblSaved->setWordWrap(true);
    LblSaved->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblSaved->setGeometry(12, 301, 290, 36);

    ChkAuto = new QCheckBox(QStringLiteral("Beim Programmstart automatisch verbinden"), gbPrinter);
    ChkAuto->setGeometry(12, 340, 290, 20);

    QLabel* tip = MakeLabel(gbPrinter,
                            QStringLiteral("Tipp: Drucker einschalten und die Handy-App\r\n"
                                           "schließen – BLE erlaubt nur eine Verbindung."),
                            12, 375);
    QPalette tipPalette = tip->palette();
    tipPalette.setColor(QPalette::WindowText, palette().color(QPalette::Disabled, QPalette::WindowText));
    tip->setPalette(tipPalette);

    auto* gbPrint = new QGroupBox(QStringLiteral(" Druckeinstellungen "), this);
    gbPrint->setGeometry(335, 8, 315, 440);

    RgProto = new QGroupBox(QStringLiteral(" Protokoll "), gbPrint);
    RgProto->setGeometry(12, 20, 290, 44);
    RbV5G = new QRadioButton(QStringLiteral("V5G (MX-Serie)"), RgProto);
    RbV5X = new QRadioButton(QStringLiteral("V5X (MXW01 neu)"), RgProto);
    // Two columns of equal width inside the frame.
    RbV5G->setGeometry(8, 18, 137, 20);
    RbV5X->setGeometry(145, 18, 137, 20);
    auto* protoGroup = new QButtonGroup(RgProto);
    protoGroup->addButton(RbV5G, 0);
    protoGroup->addButton(RbV5X, 1);

    SeEnergy = MakeSpin(gbPrint, QStringLiteral("Energie (Schwärzung):"), 74, 1000, 65535, 1000);
    SeDensity = MakeSpin(gbPrint, QStringLiteral("Dichte F2 (0 = aus):"), 104, 0, 200);
    SeQuality = MakeSpin(gbPrint, QStringLiteral("Qualität (1-5):"), 134, 1, 5);
    SeSpeed = MakeSpin(gbPrint, QStringLiteral("Geschwindigkeit:"), 164, 1, 255);
    SeV5X = MakeSpin(gbPrint, QStringLiteral("V5X-Dichte (%):"), 194, 0, 100);
    SeFeed = MakeSpin(gbPrint, QStringLiteral("Vorschub nach Druck (mm):"), 224, 0, 60);
    SeGap = MakeSpin(gbPrint, QStringLiteral("Abstand zw. Kopien (mm):"), 254, 0, 60);
    SePacket = MakeSpin(gbPrint, QStringLiteral("Paketgröße (Byte):"), 284, 20, 512);
    SeInterval = MakeSpin(gbPrint, QStringLiteral("Pause je Paket (ms):"), 314, 0, 200);

    ChkAutoTemp = new QCheckBox(QStringLiteral("Energie an Kopftemperatur anpassen"), gbPrint);
    ChkAutoTemp->setGeometry(12, 346, 290, 20);
    BtnMX10 = MakeButton(gbPrint, QStringLiteral("Werte für MX10"), 12, 374, 140, [this] { BtnMX10Click(); });

    BtnTest = MakeButton(this, QStringLiteral("Testdruck"), 10, 458, 120, [this] { BtnTestClick(); });
    BtnClose = MakeButton(this, QStringLiteral("Schließen"), 530, 458, 120, [this] { accept(); });
    BtnClose->setDefault(true);
}

void TPrinterSetupForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        BtnClose->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TPrinterSetupForm::ShowSavedPrinter()
{
    LblSaved->setText(QStringLiteral("Gespeicherter Drucker: %1 (%2)")
                          .arg(FSettings->PrinterName, FSettings->PrinterAddress));
}

void TPrinterSetupForm::LoadFromSettings()
{
    const TAppSettings& s = *FSettings;
    EdFilter->setText(s.PrinterName.isEmpty() ? QStringLiteral("MX") : s.PrinterName);
    if (!s.PrinterAddress.isEmpty())
        ShowSavedPrinter();
    else
        LblSaved->setText(
            QStringLiteral("Noch kein Drucker gespeichert – nach dem ersten Verbinden wird er gemerkt."));
    ChkAuto->setChecked(s.AutoConnect);
    SetProtocolIndex(std::clamp(s.Protocol, 0, 1));
    // The spin boxes bring values from the file into their ranges; saving
    // writes those back.
    SeEnergy->setValue(s.Energy);
    SeDensity->setValue(s.Density);
    SeQuality->setValue(s.Quality);
    SeSpeed->setValue(s.Speed);
    SeV5X->setValue(s.V5XDensity);
    SeFeed->setValue(s.FeedMm);
    SeGap->setValue(s.GapMm);
    SePacket->setValue(s.PacketSize);
    SeInterval->setValue(s.IntervalMs);
    ChkAutoTemp->setChecked(s.AutoTemp);
}

void TPrinterSetupForm::SaveToSettings()
{
    // Text still being typed counts when it makes a valid number.
    for (QSpinBox* s : {SeEnergy, SeDensity, SeQuality, SeSpeed, SeV5X, SeFeed, SeGap, SePacket, SeInterval})
        s->interpretText();
    TAppSettings& s = *FSettings;
    s.AutoConnect = ChkAuto->isChecked();
    s.Protocol = ProtocolIndex();
    s.Energy = SeEnergy->value();
    s.Density = SeDensity->value();
    s.Quality = SeQuality->value();
    s.Speed = SeSpeed->value();
    s.V5XDensity = SeV5X->value();
    s.FeedMm = SeFeed->value();
    s.GapMm = SeGap->value();
    s.PacketSize = SePacket->value();
    s.IntervalMs = SeInterval->value();
    s.AutoTemp = ChkAutoTemp->isChecked();
}

int TPrinterSetupForm::ProtocolIndex() const
{
    return RbV5X->isChecked() ? 1 : 0;
}

void TPrinterSetupForm::SetProtocolIndex(int Index)
{
    (Index == 1 ? RbV5X : RbV5G)->setChecked(true);
}

TBleDevice* TPrinterSetupForm::ItemDevice(int Row) const
{
    const QListWidgetItem* item = LbDevices->item(Row);
    return item ? static_cast<TBleDevice*>(item->data(DeviceRole).value<void*>()) : nullptr;
}

void TPrinterSetupForm::SelectRow(int Row)
{
    FFilling = true;
    LbDevices->setCurrentRow(Row);
    FFilling = false;
}

void TPrinterSetupForm::DeviceFound(TBleDevice* Device, int32_t Rssi)
{
    if (!Device)
        return;
    const QString name = QString::fromStdString(Device->Name());
    if (name.isEmpty())
        return;
    for (int i = 0; i < LbDevices->count(); ++i)
        if (ItemDevice(i) == Device)
            return;
    const QString address = QString::fromStdString(Device->Address());
    QString text = QStringLiteral("%1   (%2, %3 dBm)").arg(name, address, QString::number(Rssi));
    if (!FSettings->PrinterAddress.isEmpty() && address.compare(FSettings->PrinterAddress, Qt::CaseInsensitive) == 0)
        text += QStringLiteral("  ★ gespeichert");
    auto* item = new QListWidgetItem(text);
    item->setData(DeviceRole, QVariant::fromValue(static_cast<void*>(Device)));
    FFilling = true;
    LbDevices->addItem(item);
    FFilling = false;
    if (LbDevices->selectedItems().isEmpty())
        SelectRow(0);
}

void TPrinterSetupForm::UpdateState(bool Connected, bool Connecting, const QString& Info)
{
    if (Connecting)
        LblState->setText(QStringLiteral("Verbinde …"));
    else if (Connected)
        LblState->setText(QStringLiteral("Verbunden: ") + Info + MtuNote());
    else if (!Info.isEmpty())
        LblState->setText(Info);
    else
        LblState->setText(QStringLiteral("Nicht verbunden"));
    BtnConnect->setEnabled(!Connected && !Connecting && !LbDevices->selectedItems().isEmpty());
    BtnDisconnect->setEnabled(Connected);
    BtnTest->setEnabled(Connected);
    if (!FSettings->PrinterAddress.isEmpty())
        ShowSavedPrinter();
}

void TPrinterSetupForm::BtnScanClick()
{
    FFilling = true;
    LbDevices->clear();
    FFilling = false;
    LblState->setText(QStringLiteral("Suche läuft …"));
    FPrinter->StartScan(EdFilter->text().trimmed().toStdString(), 8000);
    // Bluetooth off, no adapter, no service: the reason instead of an endless search.
    const std::string problem = FPrinter->ScanProblem();
    if (!problem.empty())
        LblState->setText(QString::fromStdString(problem));
}

QString TPrinterSetupForm::MtuNote() const
{
    // A connection with a small MTU cuts every packet, whatever the packet size says.
    const int32_t mtu = FPrinter->Mtu();
    if (mtu <= 0)
        return QString();
    SePacket->setToolTip(QStringLiteral("Die Verbindung trägt höchstens %1 Byte je Paket (MTU %2)")
                             .arg(FPrinter->PacketLimit())
                             .arg(mtu));
    return QStringLiteral(" (MTU %1)").arg(mtu);
}

void TPrinterSetupForm::LbDevicesClick()
{
    BtnConnect->setEnabled(!LbDevices->selectedItems().isEmpty());
}

void TPrinterSetupForm::BtnConnectClick()
{
    TBleDevice* device = ItemDevice(LbDevices->currentRow());
    if (!device || LbDevices->selectedItems().isEmpty() || !FOnConnectDevice)
        return;
    SaveToSettings();
    // A copy: the callback may change the dialog's handlers while it runs.
    const TDeviceProc proc = FOnConnectDevice;
    proc(device);
}

void TPrinterSetupForm::BtnDisconnectClick()
{
    if (const TNotifyProc proc = FOnDisconnect)
        proc(this);
}

void TPrinterSetupForm::BtnTestClick()
{
    SaveToSettings();
    if (const TNotifyProc proc = FOnTestPrint)
        proc(this);
}

void TPrinterSetupForm::BtnMX10Click()
{
    SetProtocolIndex(0);
    SeEnergy->setValue(30000);
    SeDensity->setValue(200);
    SeQuality->setValue(5);
    SeSpeed->setValue(10);
    SePacket->setValue(180);
    SeInterval->setValue(20);
    ChkAutoTemp->setChecked(true);
}
