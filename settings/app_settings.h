#pragma once
// Every persistent option of the program, the data folder with its two
// subfolders, the settings file "einstellungen.ini" and the one-time takeover
// of the previous version's data.

#include "protocol/nimbo_protocol.h"

#include <QString>
#include <cstdint>

class TAppSettings {
public:
    // Printer ("Drucker")
    QString PrinterName;
    QString PrinterAddress;  // empty: no printer set up
    bool AutoConnect = true;
    // Print ("Druck")
    int32_t Protocol = 0;  // 0 = V5G (MX series), 1 = V5X (MXW01)
    int32_t Energy = 30000;
    int32_t Density = 200;  // 0 = off
    int32_t Quality = 5;
    int32_t Speed = 10;
    int32_t V5XDensity = 93;
    int32_t PacketSize = 180;
    int32_t IntervalMs = 20;
    bool AutoTemp = true;
    int32_t FeedMm = 8;
    int32_t GapMm = 4;
    // Longest job of a batch in mm of paper ([Druck] AuftragMm). Read when
    // the file has it and never written, so settings files stay as they
    // were; Save keeps the key with the rest of the file.
    int32_t BatchJobMm = 1000;
    // Editor ("Editor")
    QString LastTemplate;
    int32_t ZoomPct = 200;
    // Window ("Fenster"); a negative edge means the window was never placed.
    int32_t WinLeft = -1;
    int32_t WinTop = -1;
    int32_t WinWidth = 1400;
    int32_t WinHeight = 860;
    bool WinMaximized = false;

    // Reads every key from IniFileName, each with the field's current value as
    // default. A missing or unreadable file reads as empty; values that are
    // missing or do not parse leave their field as it is.
    void Load();
    // Rewrites IniFileName with every field, keeping what the file holds
    // beyond them. Raises ESettingsError when the file cannot be read back or
    // written; the previous file then stays untouched.
    void Save() const;

    // The same on an explicit file.
    void LoadFromFile(const QString& AFileName);
    void SaveToFile(const QString& AFileName) const;

    // V5G print parameters from the default record with this object's values,
    // each brought into the range the printer command can carry.
    TNbV5GParams Params() const;

    // The data folder and its parts. The folders are created, with missing
    // parents, on each call; IniFileName creates only AppDir.
    static QString AppDir();
    static QString TemplateDir();
    static QString BackgroundDir();
    static QString IniFileName();

    // Copies the previous version's templates, backgrounds and settings once,
    // before the first settings file exists. Never raises and never reports:
    // the first failure ends it, and what was copied until then stays.
    static void MigrateFromOldVersion() noexcept;
};
