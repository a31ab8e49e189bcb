#include "model/code_types.h"

namespace {

struct TCodeTypeInfo {
    const char* Key;
    const char* Name;
    bool Linear;
};

// Indexed by TCodeType.
constexpr TCodeTypeInfo kTypes[kCodeTypeCount] = {
    {"qr", "QR-Code", false},          {"datamatrix", "Data Matrix", false}, {"code128", "Code 128", true},
    {"ean13", "EAN-13", true},         {"ean8", "EAN-8", true},              {"upca", "UPC-A", true},
    {"code39", "Code 39", true},       {"itf14", "ITF-14", true},            {"gs1128", "GS1-128", true},
};

const TCodeTypeInfo& Info(TCodeType T)
{
    const int I = static_cast<int>(T);
    return kTypes[(I >= 0 && I < kCodeTypeCount) ? I : 0];
}

constexpr char kEccKeys[] = {'L', 'M', 'Q', 'H'};

}  // namespace

QString CodeTypeKey(TCodeType T) { return QString::fromLatin1(Info(T).Key); }

TCodeType CodeTypeFromKey(const QString& Key)
{
    for (int I = 0; I < kCodeTypeCount; ++I)
        if (Key == QLatin1String(kTypes[I].Key))
            return static_cast<TCodeType>(I);
    return ctQr;
}

QString CodeTypeName(TCodeType T) { return QString::fromUtf8(Info(T).Name); }

QString CodeEccKey(TCodeEcc E)
{
    const int I = static_cast<int>(E);
    return QString(QLatin1Char(kEccKeys[(I >= 0 && I < 4) ? I : 1]));
}

TCodeEcc CodeEccFromKey(const QString& Key)
{
    for (int I = 0; I < 4; ++I)
        if (Key == QLatin1Char(kEccKeys[I]))
            return static_cast<TCodeEcc>(I);
    return ceM;
}

bool IsLinearCode(TCodeType T) { return Info(T).Linear; }
