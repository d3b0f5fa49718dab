#pragma once

#include "register/RegisterRow.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

// The register's tables as files of the table engine: their structure, indexes and rows.
namespace reg::schema {

using StatusRow = QPair<QString, QString>; // Code, Status

// Inserts a row (Alpha values cut to their fields) into the vorlex table of the given schema.
void insertRow(QSqlDatabase& db, const QString& schema, const RegisterRow& row);
// The same with the ten values in field order as a Paradox table holds them (QString, int, QDate,
// bool; a null QVariant is blank, a blank Send included).
void insertValues(QSqlDatabase& db, const QString& schema, const QVariantList& values);

// Makes a new table file at hostPath holding the rows, flushed to disk. The file must not exist.
void createRegisterFile(const QString& hostPath, const QList<RegisterRow>& rows);
// The same from rows of values; a row whose Claimno and Seq repeat an earlier one is left out and
// reported in *skipped.
void createRegisterFile(const QString& hostPath, const QList<QVariantList>& rows, QList<RowKey>* skipped);
void createStatusFile(const QString& hostPath, const QList<StatusRow>& rows);

} // namespace reg::schema
