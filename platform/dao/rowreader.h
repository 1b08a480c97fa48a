#pragma once

// A forward-only read of a query's rows straight from its statement. Recordset reads every row
// into values before the first is seen, which the model pays for on each of its hundreds of
// small reads; here a number is taken from the statement as a number and only what is asked for
// is converted.

#include "platform/dao/dao.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

struct sqlite3_stmt;

namespace dao {

class RowReader {
public:
    // Runs the query (one statement, params bound to "?" in order, as OpenRecordset does) and
    // stands before its first row. Throws Error as OpenRecordset does.
    RowReader(Database& db, const QString& sql, const QVariantList& params = {});
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    // Steps to the next row; false past the last (and on every call after that).
    bool Next();

    int FieldCount() const;
    // The field of the current row exactly as Recordset::Field(col) gives it.
    QVariant Value(int col) const;
    // The field when Value(col) would hold a whole number of a Byte, Integer or Long field (or
    // of an expression), without building the QVariant; nothing for Null and anything else.
    std::optional<int> Whole(int col) const
    {
        int value = 0;
        return wholeAt(col, &value) ? std::optional<int>(value) : std::nullopt;
    }
    // Whole(col) of count columns from first on into values, in one call: the rows of a table of
    // whole numbers are read by the thousand, and each column's call and optional cost about a
    // third of its read. False when any of them is not one (values are then of no use).
    bool Wholes(int first, int count, int* values) const;
    // Likewise for a Single field's float.
    std::optional<float> Single(int col) const
    {
        float value = 0;
        return singleAt(col, &value) ? std::optional<float>(value) : std::nullopt;
    }

private:
    // Whole and Single are read tens of thousands of times a comparison. Returned across a call,
    // the optional is written as its value and its flag apart and read back as one word, which
    // the processor cannot forward from the two writes; made inline, the optional stays in
    // registers and only a plain flag and value cross the call.
    bool wholeAt(int col, int* value) const;
    bool singleAt(int col, float* value) const;

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dao
