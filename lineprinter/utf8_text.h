#pragma once
// UTF-16 text of the line printer into UTF-8 for its messages; the encoder
// of one code point also serves the printer link's device names.

#include <string>

namespace lineprinter_detail {

// Appends the UTF-8 bytes of one code point (at most U+10FFFF).
void AppendUtf8(std::string& Out, char32_t Cp);

// Unpaired surrogates become U+FFFD, so a broken name still yields valid UTF-8.
std::string ToUtf8(const std::u16string& S);

} // namespace lineprinter_detail
