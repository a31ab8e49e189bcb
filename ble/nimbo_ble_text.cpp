// Text jobs: plain text laid out by the line printer, printed as a V5G job.
#include "ble/nimbo_ble.h"

#include "lineprinter/line_printer.h"

void TNimboBle::PrintText(const std::u16string& Text, const TNbV5GParams& Params, int32_t CharsPerLine,
                          int32_t Width, const std::u16string& FontName)
{
    // Laid out first, so a bad line width is reported even without a printer.
    const TNbMonoImage mono = TNbLinePrinter::TextToMono(Text, Width, CharsPerLine, FontName);
    PrintV5G(mono, Params);
}

void TNimboBle::PrintLines(const TNbLinePrinter& LP, const TNbV5GParams& Params)
{
    const TNbMonoImage mono = LP.Render();
    PrintV5G(mono, Params);
}
