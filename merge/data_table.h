#pragma once
// A data table for a merge: the column names of its first row and one record
// per further row, read from a CSV or TSV file as spreadsheets export it.

#include "model/merge_record.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TDataTable {
public:
    QString FileName;                                // as it was read
    std::shared_ptr<const QStringList> Columns;      // names, trimmed; never null
    std::vector<QStringList> Rows;                   // one per record, each as long as Columns
    QChar Delimiter;                                 // ';', ',' or '\t'
    QString Encoding;                                // see data_text.h

    int Count() const { return static_cast<int>(Rows.size()); }
    // Record Number (1-based); raises EMergeError outside 1..Count().
    TMergeRecord Record(int Number) const;
    // Columns named like a built-in placeholder: {DATUM}, {ZEIT}, {JAHR}
    // and {NR} keep their meaning, so these columns cannot be reached.
    QStringList HiddenColumns() const;
    // "Name, Preis, Gewicht" for messages.
    QString ColumnList() const;
};

// Reads a data table from the bytes of a file; Name only goes into messages
// and FileName. Raises EMergeError with a German message for an empty
// file, a missing header row, a header row with a name twice, rows with
// fewer or more cells than the header, a quote that is never closed, and a
// file with a header but no records.
TDataTable ParseDataTable(const QByteArray& Bytes, const QString& Name);

// The same for a file; a missing or unreadable file raises too.
TDataTable LoadDataTable(const QString& Path);
