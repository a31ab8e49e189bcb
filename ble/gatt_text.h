#pragma once
// Text forms of GATT UUIDs and properties as the link matches and logs them.

#include <cstdint>
#include <string>

// ASCII upper case; other bytes (UTF-8 sequences) stay as they are.
std::string NbUpperAscii(std::string S);

// Case-insensitive equality of two UUID texts.
bool NbSameUuid(const std::string& A, const std::string& B);

// True when the UUID's first field (its first eight hex digits) equals
// AFirstField ("0000AE30"), whatever the rest; case does not matter.
bool NbUuidFirstFieldIs(const std::string& Uuid, const char* AFirstField);

// Upper case in braces: {0000AE30-0000-1000-8000-00805F9B34FB}.
std::string NbUuidLogText(const std::string& Uuid);

// "R W WnR N I" for the flags present, blanks trimmed.
std::string NbPropertyText(uint32_t Properties);
