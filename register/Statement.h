#pragma once

#include <QStringList>
#include <QVariant>

// The register's statements are written in the local SQL of the earlier table engine. These helpers
// let SQLite run them as they stand.
namespace reg::statement {

// The lines joined by line breaks, with every aggregate of the select list that has no name of its
// own named as the earlier engine named it: "max(Seq)" becomes the column "MAX OF Seq".
QString translate(const QStringList& lines);
// A parameter value as the stored fields hold it: a date (or the day of a date-time) as yyyy-MM-dd,
// a truth value as 0 or 1.
QVariant parameter(const QVariant& value);
// A date field's stored text as a day; a null QDate for a blank or unreadable value.
QDate dayOf(const QVariant& stored);
QVariant storedDay(const QDate& day); // null for a blank date

} // namespace reg::statement
