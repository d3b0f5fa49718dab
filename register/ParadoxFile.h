#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Paradox tables through pxlib: the export table that travels to the insurer, and the tables of the
// earlier system that are imported once. Alpha values are in the Thai code page on disk.
namespace reg::paradox {

enum class Type : char { Alpha = 0x01, Date = 0x02, Short = 0x03, Logical = 0x09 };

struct Field {
    QString name;
    Type type;
    int size; // bytes on disk
};

// A table held in memory. Values: QString (Alpha), QDate (Date), int (Short), bool (Logical); a null
// QVariant is a blank value.
struct Table {
    QList<Field> fields;
    QList<QVariantList> rows;
    int codePage = 0;
    int keyFields = 0;
};

// The ten register fields with their names, types, sizes and order.
const QList<Field>& registerFields();
// The two fields of the status list.
const QList<Field>& statusFields();

// Writes a keyed table (its first keyFields fields form the primary key) and its primary index, rows
// in key order, code page 874. Without key fields the table has no index and pxHostPath is not used.
// The files are written as given; callers make the replacement durable.
void write(const QString& dbHostPath, const QString& pxHostPath, const QString& tableName,
           const QList<Field>& fields, int keyFields, QList<QVariantList> rows);
// Reads every row of a table with pxlib.
Table read(const QString& dbHostPath);
// True when the file begins like a Paradox table (and not like an SQLite database).
bool looksLikeParadox(const QString& hostPath);

} // namespace reg::paradox
