#pragma once
// UTF-16 text of the line printer into UTF-8 for its messages.

#include <string>

namespace lineprinter_detail {

// Unpaired surrogates become U+FFFD, so a broken name still yields valid UTF-8.
std::string ToUtf8(const std::u16string& S);

} // namespace lineprinter_detail
