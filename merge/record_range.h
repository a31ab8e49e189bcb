#pragma once
// Which records of a table to print, as the user types them: "1-5, 8".

#include <QString>
#include <vector>

// The record numbers (1-based) of a range text, in the order typed: items
// separated by commas or semicolons, each a number or two numbers joined by
// a dash. An empty text means every record. Raises EMergeError for anything
// else, for a number outside 1..Count and for a range that runs backwards.
std::vector<int> ParseRecordRange(const QString& Text, int Count);

// The shortest range text for Numbers: ascending runs become "a-b".
QString FormatRecordRange(const std::vector<int>& Numbers);
