#include "ble/gatt_text.h"

#include "ble/ble_central.h"

#include <algorithm>

namespace {
char UpperAscii(char C)
{
    return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}
} // namespace

std::string NbUpperAscii(std::string S)
{
    std::transform(S.begin(), S.end(), S.begin(), UpperAscii);
    return S;
}

bool NbSameUuid(const std::string& A, const std::string& B)
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return UpperAscii(X) == UpperAscii(Y);
           });
}

bool NbUuidFirstFieldIs(const std::string& Uuid, const char* AFirstField)
{
    std::string_view U(Uuid);
    if (!U.empty() && U.front() == '{')
        U.remove_prefix(1);
    const std::string_view Want(AFirstField);
    if (U.size() < Want.size())
        return false;
    // The field must end where the wanted one does: "0000AE301" is another UUID.
    if (U.size() > Want.size() && U[Want.size()] != '-' && U[Want.size()] != '}')
        return false;
    for (size_t I = 0; I < Want.size(); ++I)
        if (UpperAscii(U[I]) != UpperAscii(Want[I]))
            return false;
    return true;
}

std::string NbUuidLogText(const std::string& Uuid)
{
    std::string U = NbUpperAscii(Uuid);
    if (!U.empty() && U.front() == '{')
        return U;
    return "{" + U + "}";
}

std::string NbPropertyText(uint32_t Properties)
{
    std::string S;
    if (Properties & cpRead)
        S += "R ";
    if (Properties & cpWrite)
        S += "W ";
    if (Properties & cpWriteWithoutResponse)
        S += "WnR ";
    if (Properties & cpNotify)
        S += "N ";
    if (Properties & cpIndicate)
        S += "I ";
    while (!S.empty() && S.back() == ' ')
        S.pop_back();
    return S;
}
