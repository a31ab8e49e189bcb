#include "ble/name_case.h"

#include "lineprinter/utf8_text.h"

#include <cstdint>

namespace {

// Simple upper-case mapping of Latin-1, Latin Extended-A, Greek and Cyrillic;
// everything else maps to itself.
char32_t UpperLetter(char32_t C)
{
    if (C >= U'a' && C <= U'z')
        return C - 0x20;
    if ((C >= 0xE0 && C <= 0xFE && C != 0xF7))
        return C - 0x20;
    if (C == 0xFF)
        return 0x178;
    if (C >= 0x100 && C <= 0x17F) {
        // Pairs of upper and lower case; two runs start on an odd code point.
        const bool oddUpper = (C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E);
        if (C == 0x131 || C == 0x138 || C == 0x149 || C == 0x17F)
            return C;  // dotless i, kra, 'n, long s: no one-letter partner here
        const bool lower = oddUpper ? (C % 2 == 0) : (C % 2 == 1);
        return lower ? C - 1 : C;
    }
    if (C >= 0x3B1 && C <= 0x3C9 && C != 0x3C2)
        return C - 0x20;
    if (C == 0x3C2)
        return 0x3A3;  // final sigma
    if (C >= 0x3AC && C <= 0x3AF) {
        static const char32_t Tonos[] = {0x386, 0x388, 0x389, 0x38A};
        return Tonos[C - 0x3AC];
    }
    if (C >= 0x430 && C <= 0x44F)
        return C - 0x20;
    if (C >= 0x450 && C <= 0x45F)
        return C - 0x50;
    return C;
}

// Length of the well-formed UTF-8 sequence at I (0 when it is not one), and
// its code point.
size_t DecodeAt(const std::string& S, size_t I, char32_t& C)
{
    const auto b = [&](size_t k) { return static_cast<uint8_t>(S[k]); };
    const uint8_t lead = b(I);
    size_t n = 0;
    if (lead < 0x80) {
        C = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        C = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        C = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        C = lead & 0x07;
    } else {
        return 0;
    }
    if (I + n > S.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(I + k) & 0xC0) != 0x80)
            return 0;
        C = (C << 6) | (b(I + k) & 0x3F);
    }
    const bool overlong = (n == 3 && C < 0x800) || (n == 4 && C < 0x10000);
    if (overlong || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string NbUpperName(const std::string& S)
{
    std::string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        char32_t c = 0;
        const size_t n = DecodeAt(S, i, c);
        if (n == 0) {
            out += S[i];  // a broken byte stays as it is and matches only itself
            ++i;
            continue;
        }
        lineprinter_detail::AppendUtf8(out, UpperLetter(c));
        i += n;
    }
    return out;
}
