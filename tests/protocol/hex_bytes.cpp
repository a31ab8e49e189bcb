#include "hex_bytes.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

std::vector<uint8_t> HexBytes(const std::string& ASpaced) {
  std::istringstream in(ASpaced);
  std::vector<uint8_t> out;
  std::string token;
  while (in >> token) {
    if (token.size() != 2) throw std::invalid_argument("bad fixture byte: " + token);
    out.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  }
  return out;
}

std::string SpacedHex(const std::vector<uint8_t>& AData) {
  std::string out;
  char buf[4];
  for (uint8_t b : AData) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}
