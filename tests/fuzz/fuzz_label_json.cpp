// Label text of any shape: either refused with the one German message, or
// read; and what was read, written again, must read back to the same text.
// The label reader takes its own short cuts before Qt's JSON parser sees the
// text, so Qt's parser on the plain text is the yardstick for what is a
// JSON object and for the strings in it.

#include "fuzz_support.h"

#include "model/label_doc.h"
#include "model/model_error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

    QJsonParseError Err{};
    const QJsonDocument Ref = QJsonDocument::fromJson(Text.toUtf8(), &Err);
    const bool IsObject = Err.error == QJsonParseError::NoError && Ref.isObject();

    TLabelDoc Doc;
    Doc.Name = QStringLiteral("Vorher");
    try {
        Doc.FromJSONString(Text);
    } catch (const EModelError& E) {
        if (E.Message() != kRefused)
            FuzzFail("only one refusal message", kRefused, E.Message());
        if (IsObject)
            FuzzFail("every JSON object is read", QStringLiteral("read"), Text);
        // A refused text must leave the document as it was.
        if (Doc.Name != QStringLiteral("Vorher") || !Doc.Elements.IsEmpty() || Doc.LengthMm != 30)
            FuzzFail("refused text leaves the document untouched", QStringLiteral("Vorher"), Doc.Name);
        return 0;
    }

    if (!IsObject)
        FuzzFail("only JSON objects are read", QStringLiteral("refused"), Text);
    const QJsonObject O = Ref.object();
    if (O.value(QStringLiteral("name")).isString() && Doc.Name != O.value(QStringLiteral("name")).toString())
        FuzzFail("the name as the JSON text has it", O.value(QStringLiteral("name")).toString(), Doc.Name);
    if (O.value(QStringLiteral("elements")).isArray()) {
        int I = 0;
        for (const QJsonValue V : O.value(QStringLiteral("elements")).toArray()) {
            if (!V.isObject())
                continue;
            if (I >= Doc.Elements.Count())
                FuzzFail("one element per object", QString::number(I + 1), QString::number(Doc.Elements.Count()));
            const QJsonValue T = V.toObject().value(QStringLiteral("text"));
            if (T.isString() && Doc.Elements[I]->Text != T.toString())
                FuzzFail("element text as the JSON text has it", T.toString(), Doc.Elements[I]->Text);
            ++I;
        }
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
