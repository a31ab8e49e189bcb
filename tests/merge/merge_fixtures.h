#pragma once
// Small fixtures for the data merge tests: a price tag label with fields, a
// table made from rows, and readable failure messages.

#include "merge/data_table.h"
#include "merge/merge_error.h"
#include "model/label_doc.h"

#include <QString>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Os)
{
    *Os << '"' << S.toStdString() << '"';
}

// A 30 mm price tag like the built-in one, its texts made of fields:
// {Artikel}, {Preis} € and "Nr. {NR}".
std::unique_ptr<TLabelDoc> PriceTagLabel();

// The same label with Artikel and Preis typed in.
std::unique_ptr<TLabelDoc> PriceTagTyped(const QString& Artikel, const QString& Preis);

// A table with the columns Artikel;Preis and Count records "Artikel n";"n,99".
TDataTable PriceTable(int Count);

// The message of the EMergeError that Fn raises; fails when it raises none.
template <class F>
QString MergeErrorOf(F&& Fn)
{
    try {
        Fn();
    } catch (const EMergeError& E) {
        return E.Message();
    }
    ADD_FAILURE() << "no EMergeError";
    return {};
}
