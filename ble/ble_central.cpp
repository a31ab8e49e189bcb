#include "ble/ble_central.h"

#include <algorithm>
#include <cctype>

namespace {
bool SameUuid(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

TBleCharacteristic* TBleService::FindCharacteristic(const std::string& uuid) const
{
    for (TBleCharacteristic* c : Characteristics())
        if (SameUuid(c->Uuid(), uuid))
            return c;
    return nullptr;
}
