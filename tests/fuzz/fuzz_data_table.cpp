// Any bytes as a data file of a merge. Reading either refuses the file with
// a German message or gives a table whose every record has one value per
// column, each reachable by its column's name.

#include "fuzz_support.h"

#include "merge/data_table.h"
#include "merge/merge_error.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const QByteArray Bytes(reinterpret_cast<const char*>(Data), qsizetype(Size));
    TDataTable T;
    try {
        T = ParseDataTable(Bytes, QStringLiteral("daten.csv"));
    } catch (const EMergeError& E) {
        if (E.Message().isEmpty())
            FuzzFail("a refusal says why", QStringLiteral("a message"), QString());
        return 0;
    }
    if (T.Count() < 1)
        FuzzFail("a table has records", QStringLiteral(">= 1"), QString::number(T.Count()));
    const QString Delimiters = QStringLiteral(";,\t");
    if (!Delimiters.contains(T.Delimiter))
        FuzzFail("the delimiter is one of ; , tab", Delimiters, QString(T.Delimiter));
    for (int N = 1; N <= T.Count(); ++N) {
        const TMergeRecord R = T.Record(N);
        if (R.Values.size() != T.Columns->size())
            FuzzFail("one value per column", QString::number(T.Columns->size()), QString::number(R.Values.size()));
        for (qsizetype C = 0; C < T.Columns->size(); ++C) {
            const QString& Name = T.Columns->at(C);
            if (!Name.isEmpty() && R.Value(Name) != R.Values.at(C))
                FuzzFail("a column's value is found by its name", R.Values.at(C), R.Value(Name).value_or(QString()));
        }
    }
    return 0;
}
