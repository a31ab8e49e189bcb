// Any notification through the four classifiers. Each result is checked
// against a plain reading of the message layout, and no message may be
// taken for two kinds of report at once.

#include "fuzz_support.h"

#include "protocol/notifications.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace {

bool Starts(const std::vector<uint8_t>& D, uint8_t B0, uint8_t B1, uint8_t B2)
{
    return D.size() >= 8 && D[0] == B0 && D[1] == B1 && D[2] == B2;
}

// The pause and resume messages, as the printers send them.
const std::array<std::vector<uint8_t>, 7> kPause = {{
    {0xAA, 0x01},
    {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF},
    {0x22, 0x21, 0xA8, 0x00, 0x01, 0x00, 0x20, 0xE0, 0xFF},
    {0x22, 0x21, 0xAE, 0x01, 0x01, 0x00, 0x10, 0x70, 0xFF},
    {0x22, 0x21, 0xAE, 0x00, 0x01, 0x00, 0x00, 0x00},
    {0x51, 0x78, 0xAE, 0x01, 0x00, 0x10, 0x70, 0xFF},
    {0x56, 0x88, 0xA7, 0x01, 0x01, 0x00, 0x01, 0x07, 0xFF},
}};
const std::array<std::vector<uint8_t>, 7> kResume = {{
    {0xAA, 0x00},
    {0x51, 0x78, 0xAE, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF},
    {0x22, 0x21, 0xA8, 0x00, 0x01, 0x00, 0x30, 0x90, 0xFF},
    {0x22, 0x21, 0xAE, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF},
    {0x22, 0x21, 0xAE, 0x00, 0x01, 0x00, 0x10, 0x00},
    {0x51, 0x78, 0xAE, 0x01, 0x00, 0x00, 0x00, 0xFF},
    {0x56, 0x88, 0xA7, 0x01, 0x01, 0x00, 0x00, 0x00, 0xFF},
}};

uint8_t ExpectedState(uint8_t B)
{
    switch (B) {
    case 0x00: return NbStateReady;
    case 0x01: case 0x09: return NbStateNoPaper;
    case 0x04: case 0xD2: return NbStateOverheated;
    case 0x08: return NbStateBatteryLow;
    case 0x80: return NbStateFlag80;
    default: return NbStateOther;
    }
}

void Expect(bool Ok, const char* What, const std::vector<uint8_t>& D)
{
    if (Ok)
        return;
    QString Hex;
    for (const uint8_t B : D)
        Hex += QStringLiteral("%1 ").arg(B, 2, 16, QLatin1Char('0'));
    FuzzFail(What, QString(), Hex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::vector<uint8_t> D(Data, Data + Size);

    uint8_t Code = 0xEE;
    const bool IsState = NbParseStatus(D, Code);
    Expect(IsState == Starts(D, 0x51, 0x78, 0xA3), "state report recognised by its header", D);
    Expect(IsState ? Code == ExpectedState(D[6]) : Code == 0xEE, "state code from byte 6, else untouched", D);

    int32_t Temp = -77;
    const bool IsTemp = NbParseTemperature(D, Temp);
    Expect(IsTemp == (Starts(D, 0x51, 0x78, 0xD3) && D[6] < 0xFE), "temperature report recognised", D);
    Expect(IsTemp ? Temp == D[6] : Temp == -77, "temperature from byte 6, else untouched", D);

    bool AckOk = true;
    const bool IsAck = NbParseV5XStartAck(D, AckOk);
    Expect(IsAck == Starts(D, 0x22, 0x21, 0xA9), "start acknowledgement recognised", D);
    Expect(AckOk == (IsAck && D[D.size() - 2] == 0x00), "start verdict from the byte before the last", D);

    Expect(int(IsState) + int(IsTemp) + int(IsAck) <= 1, "at most one kind of report", D);

    uint8_t Flow = NbFlowNone;
    for (const auto& M : kPause)
        if (D == M)
            Flow = NbFlowPause;
    if (Flow == NbFlowNone)
        for (const auto& M : kResume)
            if (D == M)
                Flow = NbFlowResume;
    Expect(NbFlowControl(D) == Flow, "flow control matches whole messages only", D);
    return 0;
}
