#include "model/json_read.h"

#include <QJsonValue>

#include <algorithm>
#include <cmath>

int32_t JsonInt(const QJsonObject& O, const QString& Key, int32_t Default)
{
    const QJsonValue V = O.value(Key);
    if (!V.isDouble())
        return Default;
    const double D = V.toDouble();
    if (!std::isfinite(D) || D != std::trunc(D) || D < double(INT32_MIN) || D > double(INT32_MAX))
        return Default;
    return static_cast<int32_t>(D);
}

QString JsonStr(const QJsonObject& O, const QString& Key, const QString& Default)
{
    const QJsonValue V = O.value(Key);
    return V.isString() ? V.toString() : Default;
}

bool JsonBool(const QJsonObject& O, const QString& Key, bool Default)
{
    const QJsonValue V = O.value(Key);
    return V.isBool() ? V.toBool() : Default;
}

int32_t JsonClamp(int32_t V, int32_t Lo, int32_t Hi)
{
    return std::clamp(V, Lo, Hi);
}
