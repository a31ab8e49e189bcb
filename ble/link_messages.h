#pragma once
// Messages of the printer link, as the user reads them.

inline constexpr const char* kMsgBusy = "Es läuft bereits ein Vorgang";
inline constexpr const char* kMsgNotReady = "Kein Drucker verbunden";
inline constexpr const char* kMsgWriteFailed = "WriteCharacteristic fehlgeschlagen";
inline constexpr const char* kMsgFlowTimeout = "Drucker hat die Flusskontrolle nicht freigegeben (Timeout)";
inline constexpr const char* kMsgCancelled = "Abgebrochen";
inline constexpr const char* kMsgNoStartAck = "Keine Antwort auf A9 (Startbefehl)";
inline constexpr const char* kMsgStartRefused = "Drucker lehnt Druck ab (Papier, Akku oder Temperatur prüfen)";
inline constexpr const char* kMsgNoService =
    "Service AE30 / Characteristics AE01+AE02 nicht gefunden (Details im Log)";
inline constexpr const char* kMsgScanFailed =
    "StartDiscovery fehlgeschlagen (Bluetooth aus oder keine Berechtigung?)";
// The device was disconnected or replaced while a job ran, or the link is closing.
inline constexpr const char* kMsgLinkGone = "Verbindung zum Drucker wurde getrennt";
inline constexpr const char* kMsgNoDevice = "Kein Gerät angegeben";
inline constexpr const char* kMsgNoThread = "Hintergrundvorgang konnte nicht gestartet werden";
inline constexpr const char* kMsgUnknownError = "Unbekannter Fehler";
inline constexpr const char* kMsgTooLarge = "Druckdaten zu groß";
// A device picked from an old list that the platform has forgotten since.
inline constexpr const char* kMsgDeviceGone =
    "Der Drucker ist nicht mehr in der Geräteliste (Suche zu lange her oder außer Reichweite) – bitte neu suchen";
