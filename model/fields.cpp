#include "model/fields.h"

#include "model/placeholders.h"

#include <functional>

namespace {

bool IsNameChar(QChar C)
{
    return C != QLatin1Char('{') && C != QLatin1Char('}') && C != QLatin1Char('\r') && C != QLatin1Char('\n');
}

// Calls Found(start, length, name) for every "{name}" token of Text, start
// and length covering the braces.
void ForEachToken(const QString& Text, const std::function<void(qsizetype, qsizetype, const QString&)>& Found)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n) {
        const qsizetype open = Text.indexOf(QLatin1Char('{'), i);
        if (open < 0)
            return;
        qsizetype j = open + 1;
        while (j < n && IsNameChar(Text[j]))
            ++j;
        if (j < n && Text[j] == QLatin1Char('}') && j > open + 1) {
            Found(open, j + 1 - open, Text.mid(open + 1, j - open - 1));
            i = j + 1;
        } else {
            // A brace inside may open the next token ("{{Preis}").
            i = j < n && Text[j] == QLatin1Char('{') ? j : j + 1;
        }
    }
}

}  // namespace

std::optional<QString> TMergeRecord::Value(const QString& Name) const
{
    if (!Columns)
        return std::nullopt;
    for (qsizetype i = 0; i < Columns->size(); ++i)
        if (Columns->at(i).compare(Name, Qt::CaseInsensitive) == 0)
            return i < Values.size() ? Values.at(i) : QString();
    return std::nullopt;
}

bool IsBuiltinPlaceholder(const QString& Name)
{
    for (const char* b : {"DATUM", "ZEIT", "JAHR", "NR"})
        if (Name.compare(QLatin1String(b), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList FieldNames(const QString& Text)
{
    QStringList names;
    ForEachToken(Text, [&](qsizetype, qsizetype, const QString& Name) {
        if (!IsBuiltinPlaceholder(Name) && !names.contains(Name, Qt::CaseInsensitive))
            names << Name;
    });
    return names;
}

QString ExpandFields(const QString& Text, const TMergeRecord* Record)
{
    if (!Record || !Text.contains(QLatin1Char('{')))
        return Text;
    QString out;
    qsizetype copied = 0;
    ForEachToken(Text, [&](qsizetype Start, qsizetype Length, const QString& Name) {
        if (IsBuiltinPlaceholder(Name))
            return;
        const std::optional<QString> v = Record->Value(Name);
        if (!v)
            return;
        out += QStringView(Text).mid(copied, Start - copied);
        out += *v;
        copied = Start + Length;
    });
    if (copied == 0)
        return Text;
    out += QStringView(Text).mid(copied);
    return out;
}

QString ExpandElementText(const QString& Text, int CopyNo, const TMergeRecord* Record)
{
    // Placeholders first: their results hold no braces, while a value from
    // the table may, and must print as it stands.
    return ExpandFields(ExpandPlaceholders(Text, CopyNo), Record);
}
