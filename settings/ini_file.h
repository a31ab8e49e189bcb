#pragma once
// An INI file held in memory. Section and key names match without regard to
// case; sections, keys and comments the program does not know survive a
// rewrite, and keys keep their order (new ones go to the end of their
// section, new sections to the end of the file). Text is UTF-8, read with or
// without a byte-order mark; a rewrite keeps the mark when the file had one.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class TIniFile {
public:
    TIniFile();
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    // Replaces the content with the parsed text. False when the text could
    // not be taken in; the file is then empty.
    bool LoadFromBytes(const QByteArray& AData);
    QByteArray ToBytes() const;

    std::optional<QString> ReadValue(const char* ASection, const char* AKey) const;
    // Missing keys and values that are not a decimal 32-bit integer give ADefault.
    int32_t ReadInteger(const char* ASection, const char* AKey, int32_t ADefault) const;
    // Read as an integer; every value other than 0 is true.
    bool ReadBool(const char* ASection, const char* AKey, bool ADefault) const;
    QString ReadString(const char* ASection, const char* AKey, const QString& ADefault) const;

    // Line breaks would let a value spill into further keys or sections of the
    // file, so each CR, LF or NUL in AValue is stored as a space.
    void WriteString(const char* ASection, const char* AKey, const QString& AValue);
    void WriteInteger(const char* ASection, const char* AKey, int32_t AValue);
    void WriteBool(const char* ASection, const char* AKey, bool AValue);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
