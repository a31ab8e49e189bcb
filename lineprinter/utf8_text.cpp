#include "lineprinter/utf8_text.h"

void lineprinter_detail::AppendUtf8(std::string& Out, char32_t Cp)
{
    if (Cp < 0x80) {
        Out += static_cast<char>(Cp);
    } else if (Cp < 0x800) {
        Out += static_cast<char>(0xC0 | (Cp >> 6));
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    } else if (Cp < 0x10000) {
        Out += static_cast<char>(0xE0 | (Cp >> 12));
        Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Cp >> 18));
        Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    }
}

namespace {

bool IsHighSurrogate(char16_t C) { return C >= 0xD800 && C <= 0xDBFF; }
bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

} // namespace

std::string lineprinter_detail::ToUtf8(const std::u16string& S)
{
    std::string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        const char16_t c = S[i];
        if (IsHighSurrogate(c) && i + 1 < S.size() && IsLowSurrogate(S[i + 1])) {
            lineprinter_detail::AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(S[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            lineprinter_detail::AppendUtf8(out, 0xFFFD);
        } else {
            lineprinter_detail::AppendUtf8(out, c);
        }
    }
    return out;
}
