#include "ble/ble_state_text.h"

#include "ble/link_messages.h"

std::string NbBleStateText(TBleState State)
{
    switch (State) {
    case TBleState::bsReady:
        return {};
    case TBleState::bsNoBus:
        return "Der Systembus (D-Bus) ist nicht erreichbar – ohne ihn gibt es kein Bluetooth.";
    case TBleState::bsNoService:
        return "Der Bluetooth-Dienst läuft nicht (sudo systemctl start bluetooth).";
    case TBleState::bsNoAdapter:
        return "Kein Bluetooth-Adapter gefunden.";
    case TBleState::bsPoweredOff:
        return "Bluetooth ist ausgeschaltet.";
    case TBleState::bsAccessDenied:
        return "Zugriff auf Bluetooth verweigert – der Benutzer braucht die Berechtigung (Gruppe bluetooth oder "
               "polkit-Regel).";
    case TBleState::bsUnknown:
        break;
    }
    return kMsgScanFailed;
}
