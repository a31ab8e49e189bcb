#include "merge/field_check.h"

#include "merge/data_table.h"
#include "merge/merge_error.h"
#include "model/fields.h"
#include "model/label_doc.h"

namespace {

// The elements whose text is drawn, and so may hold fields.
bool CarriesText(const TLabelElement& E)
{
    return E.Kind == ekText || E.Kind == ekCode;
}

}  // namespace

QStringList LabelFields(const TLabelDoc& Doc)
{
    QStringList fields;
    for (const auto& e : Doc.Elements) {
        if (!CarriesText(*e))
            continue;
        for (const QString& f : FieldNames(e->Text))
            if (!fields.contains(f, Qt::CaseInsensitive))
                fields << f;
    }
    return fields;
}

QStringList UnknownFields(const TLabelDoc& Doc, const TDataTable& Table)
{
    QStringList unknown;
    for (const QString& f : LabelFields(Doc))
        if (!Table.Columns->contains(f, Qt::CaseInsensitive))
            unknown << f;
    return unknown;
}

void CheckFields(const TLabelDoc& Doc, const TDataTable& Table)
{
    const QStringList unknown = UnknownFields(Doc, Table);
    if (unknown.isEmpty())
        return;
    QStringList braced;
    for (const QString& f : unknown)
        braced << QLatin1Char('{') + f + QLatin1Char('}');
    const QString what = unknown.size() == 1 ? QStringLiteral("Unbekanntes Feld ") : QStringLiteral("Unbekannte Felder ");
    throw EMergeError(what + braced.join(QStringLiteral(", ")) + QStringLiteral(" – die Datei hat die Spalten: ") +
                      Table.ColumnList());
}
