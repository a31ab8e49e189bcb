#pragma once
// Whether a label and a data table fit together: every field the label uses
// must name a column of the table.

#include <QStringList>

class TDataTable;
class TLabelDoc;

// The fields of all element texts of the label, in drawing order, each once.
QStringList LabelFields(const TLabelDoc& Doc);

// The label's fields that no column of the table matches.
QStringList UnknownFields(const TLabelDoc& Doc, const TDataTable& Table);

// Raises EMergeError "Unbekanntes Feld {Preis} – die Datei hat die Spalten:
// …" (several fields: "Unbekannte Felder …") when a field has no column.
void CheckFields(const TLabelDoc& Doc, const TDataTable& Table);
