// Any text as RTF for the help's converter, then the web-address linking on
// the result: never a crash, a hang or undefined behaviour, whatever the
// nesting, numbers or escapes.

#include "fuzz_support.h"

#include "help/rtf_document.h"

#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QString Rtf = QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size));
    QTextDocument Doc;
    RtfToDocument(Rtf, &Doc, 96);
    LinkWebAddresses(&Doc);
    // Laying the text out is what the help window does next.
    Doc.setTextWidth(400);
    (void)Doc.size();
    return 0;
}
