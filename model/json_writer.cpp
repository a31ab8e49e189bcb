#include "model/json_writer.h"

#include "model/base64.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

void AppendUnicodeEscape(QByteArray& Out, char16_t C)
{
    const char Esc[6] = {'\\', 'u', kHex[(C >> 12) & 0xF], kHex[(C >> 8) & 0xF], kHex[(C >> 4) & 0xF],
                         kHex[C & 0xF]};
    Out.append(Esc, 6);
}

}  // namespace

void JsonAppendString(QByteArray& Out, QStringView S)
{
    Out.append('"');
    for (const QChar Ch : S) {
        const char16_t C = Ch.unicode();
        switch (C) {
        case u'"': Out.append("\\\"", 2); break;
        case u'\\': Out.append("\\\\", 2); break;
        case u'/': Out.append("\\/", 2); break;
        case 0x08: Out.append("\\b", 2); break;
        case 0x09: Out.append("\\t", 2); break;
        case 0x0A: Out.append("\\n", 2); break;
        case 0x0C: Out.append("\\f", 2); break;
        case 0x0D: Out.append("\\r", 2); break;
        default:
            if (C < 0x20 || C >= 0x80)
                AppendUnicodeEscape(Out, C);
            else
                Out.append(char(C));
        }
    }
    Out.append('"');
}

void TJsonWriter::BeforeValue()
{
    if (FAfterKey) {
        FAfterKey = false;
        return;
    }
    if (!FFirst.empty()) {
        if (!FFirst.back())
            FOut.append(',');
        FFirst.back() = false;
    }
}

void TJsonWriter::BeginObject()
{
    BeforeValue();
    FOut.append('{');
    FFirst.push_back(true);
}

void TJsonWriter::EndObject()
{
    FFirst.pop_back();
    FOut.append('}');
}

void TJsonWriter::BeginArray()
{
    BeforeValue();
    FOut.append('[');
    FFirst.push_back(true);
}

void TJsonWriter::EndArray()
{
    FFirst.pop_back();
    FOut.append(']');
}

void TJsonWriter::Key(QStringView AKey)
{
    BeforeValue();
    JsonAppendString(FOut, AKey);
    FOut.append(':');
    FAfterKey = true;
}

void TJsonWriter::IntValue(int32_t V)
{
    BeforeValue();
    FOut.append(QByteArray::number(V));
}

void TJsonWriter::BoolValue(bool V)
{
    BeforeValue();
    FOut.append(V ? "true" : "false");
}

void TJsonWriter::StringValue(QStringView V)
{
    BeforeValue();
    JsonAppendString(FOut, V);
}

void TJsonWriter::Base64Value(const QByteArray& Bytes)
{
    BeforeValue();
    FOut.append('"');
    AppendBase64JsonEscaped(FOut, Bytes);
    FOut.append('"');
}
