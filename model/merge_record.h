#pragma once
// One record of a data table as the label drawing sees it: the column names
// of the table and this record's values, one per column.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct TMergeRecord {
    std::shared_ptr<const QStringList> Columns;  // shared by every record of a table
    QStringList Values;                          // as many as Columns
    int Number = 0;                              // 1-based row number in the table

    // The value of the column named Name (upper and lower case alike), or
    // std::nullopt when the table has no such column.
    std::optional<QString> Value(const QString& Name) const;
};
