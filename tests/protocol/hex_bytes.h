#pragma once
// Byte fixtures written as spaced hex ("51 78 A3"), read without the code
// under test so that a fault in the library's own hex reader cannot hide.

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> HexBytes(const std::string& ASpaced);

// "51 78 A3" form of a byte array, for readable failure messages.
std::string SpacedHex(const std::vector<uint8_t>& AData);
