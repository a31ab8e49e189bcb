// Hex text for NbFromHex: refused with a message, or read into bytes that
// NbToHex writes back as the same digits; and any bytes survive the way
// through hex text and back.

#include "fuzz_support.h"

#include "protocol/frame.h"

#include <QString>

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    std::string Digits;
    for (const char C : Text)
        if (C != ' ' && C != '\r' && C != '\n')
            Digits.push_back(char(std::toupper(static_cast<unsigned char>(C))));

    try {
        const std::vector<uint8_t> Bytes = NbFromHex(Text);
        if (NbToHex(Bytes) != Digits)
            FuzzFail("hex digits read and written again", QString::fromStdString(Digits),
                     QString::fromStdString(NbToHex(Bytes)));
    } catch (const std::invalid_argument& E) {
        // The message reaches the user: it must be text, not stray bytes.
        const std::string Msg = E.what();
        if (Msg.rfind("NbFromHex: ", 0) != 0 || QString::fromUtf8(Msg.data(), qsizetype(Msg.size())).toUtf8()
                                                    != QByteArray(Msg.data(), qsizetype(Msg.size())))
            FuzzFail("refusal names the routine in valid UTF-8", QStringLiteral("NbFromHex: ..."),
                     QString::fromStdString(Msg));
    }

    const std::vector<uint8_t> Raw(Data, Data + Size);
    if (NbFromHex(NbToHex(Raw)) != Raw)
        FuzzFail("bytes through hex and back", QString::fromStdString(NbToHex(Raw)), QString());
    return 0;
}
