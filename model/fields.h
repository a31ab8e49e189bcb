#pragma once
// Fields of a data merge: "{Spaltenname}" in an element's text stands for
// the value of that column in the current record. The built-in placeholders
// keep their meaning; a column of the same name never replaces them.

#include "model/merge_record.h"

#include <QString>
#include <QStringList>

// True for DATUM, ZEIT, JAHR and NR in any case.
bool IsBuiltinPlaceholder(const QString& Name);

// The field names of Text in order of appearance, each once (compared
// without regard to case): every "{name}" with a non-empty name that holds
// no brace and no line break and is not a built-in placeholder.
QStringList FieldNames(const QString& Text);

// Every field of Text whose column Record has, replaced by its value; other
// fields stay as typed. Without a record Text comes back unchanged. Values
// are inserted literally: braces in a value are not looked at again.
QString ExpandFields(const QString& Text, const TMergeRecord* Record);

// What every drawn element text goes through: the built-in placeholders,
// then the fields of the record.
QString ExpandElementText(const QString& Text, int CopyNo, const TMergeRecord* Record);
