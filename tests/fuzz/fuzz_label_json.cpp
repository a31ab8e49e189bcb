// Label text of any shape: either refused with the one German message, or
// read; and what was read, written again, must read back to the same text.

#include "fuzz_support.h"

#include "model/label_doc.h"
#include "model/model_error.h"

#include <cstdint>

namespace {

const QString kRefused = QStringLiteral("Keine gültige Etikettendatei");

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QString Text = QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size));

    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Vorher");
    try {
        Doc.FromJSONString(Text);
    } catch (const EModelError& E) {
        if (E.Message() != kRefused)
            FuzzFail("only one refusal message", kRefused, E.Message());
        // A refused text must leave the document as it was.
        if (Doc.Name != QStringLiteral("Vorher") || !Doc.Elements.IsEmpty() || Doc.LengthMm != 30)
            FuzzFail("refused text leaves the document untouched", QStringLiteral("Vorher"), Doc.Name);
        return 0;
    }

    const QString Written = Doc.ToJSONString();
    for (const QChar C : Written)
        if (C.unicode() >= 0x80)
            FuzzFail("written text is 7-bit ASCII", QString(), Written);

    TLabelDoc Again;
    try {
        Again.FromJSONString(Written);
    } catch (const EModelError& E) {
        FuzzFail("written text reads back", Written, E.Message());
    }
    const QString Rewritten = Again.ToJSONString();
    if (Rewritten != Written)
        FuzzFail("written text reads back to the same text", Written, Rewritten);
    return 0;
}
