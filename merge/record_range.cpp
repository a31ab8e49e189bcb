#include "merge/record_range.h"

#include "merge/merge_error.h"

#include <QRegularExpression>

namespace {

int CheckedNumber(const QString& Digits, int Count)
{
    bool ok = false;
    const int n = Digits.toInt(&ok);
    if (!ok || n < 1 || n > Count)
        throw EMergeError(
            QStringLiteral("Datensatz %1 gibt es nicht (die Datei hat %2 Datensätze)").arg(Digits).arg(Count));
    return n;
}

}  // namespace

std::vector<int> ParseRecordRange(const QString& Text, int Count)
{
    std::vector<int> numbers;
    if (Text.trimmed().isEmpty()) {
        for (int n = 1; n <= Count; ++n)
            numbers.push_back(n);
        return numbers;
    }
    static const QRegularExpression item(QStringLiteral("^\\s*(\\d+)\\s*(?:[-–]\\s*(\\d+)\\s*)?$"));
    for (const QString& part : Text.split(QRegularExpression(QStringLiteral("[,;]")))) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            throw EMergeError(QStringLiteral("Ungültige Auswahl \"%1\" – erwartet wird etwa 1-5, 8")
                                  .arg(part.trimmed()));
        const int from = CheckedNumber(m.captured(1), Count);
        const int to = m.captured(2).isEmpty() ? from : CheckedNumber(m.captured(2), Count);
        if (to < from)
            throw EMergeError(
                QStringLiteral("Der Bereich %1-%2 läuft rückwärts – gemeint ist wohl %2-%1").arg(from).arg(to));
        for (int n = from; n <= to; ++n)
            numbers.push_back(n);
    }
    return numbers;
}

QString FormatRecordRange(const std::vector<int>& Numbers)
{
    QStringList parts;
    size_t i = 0;
    while (i < Numbers.size()) {
        size_t j = i;
        while (j + 1 < Numbers.size() && Numbers[j + 1] == Numbers[j] + 1)
            ++j;
        parts << (j == i ? QString::number(Numbers[i])
                         : QStringLiteral("%1-%2").arg(Numbers[i]).arg(Numbers[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}
