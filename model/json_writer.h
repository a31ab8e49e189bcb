#pragma once
// A compact JSON writer whose output is fixed byte for byte: no whitespace,
// members in the order they are written, "/" escaped as "\/", and every
// UTF-16 code unit from U+0080 as "\uXXXX" with upper-case hex digits, so
// the text is pure 7-bit ASCII. Qt's own writer differs, hence this one.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

class TJsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Starts a member of the current object; the value follows.
    void Key(QStringView AKey);

    void IntValue(int32_t V);
    void BoolValue(bool V);
    void StringValue(QStringView V);
    // Base64 of the bytes as a string value (standard alphabet, padded, no
    // line breaks).
    void Base64Value(const QByteArray& Bytes);

    void IntMember(QStringView AKey, int32_t V) { Key(AKey); IntValue(V); }
    void BoolMember(QStringView AKey, bool V) { Key(AKey); BoolValue(V); }
    void StringMember(QStringView AKey, QStringView V) { Key(AKey); StringValue(V); }
    void Base64Member(QStringView AKey, const QByteArray& Bytes) { Key(AKey); Base64Value(Bytes); }

    const QByteArray& Text() const { return FOut; }

private:
    void BeforeValue();
    QByteArray FOut;
    std::vector<bool> FFirst;  // per open container: nothing written in it yet
    bool FAfterKey = false;
};

// Appends S as a quoted JSON string in the escaped form described above.
void JsonAppendString(QByteArray& Out, QStringView S);
