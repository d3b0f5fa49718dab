#include "register/Query.h"

#include "register/RegisterTables.h"
#include "register/Statement.h"

#include "platform/Error.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace reg {

Query::Query(RegisterTables& tables, const QString& name, const QStringList& lines)
    : tables_(tables), name_(name), lines_(lines) {}

void Query::clearLines() {
    close();
    lines_.clear();
}

void Query::addLine(const QString& line) {
    close();
    lines_.append(line);
}

void Query::setLines(const QStringList& lines) {
    close();
    lines_ = lines;
}

void Query::setParameter(const QVariant& value) {
    parameter_ = statement::parameter(value);
    hasParameter_ = true;
}

void Query::open() {
    if (open_) return;
    run(true);
}

void Query::execute() {
    close();
    run(false);
}

void Query::close() {
    if (!open_) return;
    emit aboutToChange();
    open_ = false;
    rows_.clear();
    columns_.clear();
    dateColumns_.clear();
    sendColumn_ = -1;
    emit changed();
}

void Query::run(bool select) {
    tables_.attachRegister();
    QSqlQuery query(tables_.connection());
    query.setForwardOnly(true);
    const QString text = statement::translate(lines_);
    if (!query.prepare(text)) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
    if (hasParameter_ && text.contains(':')) query.bindValue(0, parameter_);
    if (!query.exec()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
    if (!select) return;

    QList<QVariantList> rows;
    const QSqlRecord record = query.record();
    const int count = record.count();
    QStringList columns;
    for (int i = 0; i < count; ++i)
        columns.append(record.fieldName(i));
    while (query.next()) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.append(query.value(i));
        rows.append(std::move(row));
    }
    if (query.lastError().isValid()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));

    emit aboutToChange();
    rows_ = std::move(rows);
    columns_ = columns;
    dateColumns_.clear();
    sendColumn_ = -1;
    for (int i = 0; i < count; ++i) {
        const QString& c = columns_[i];
        if (c.compare(QLatin1String("VorlexDate"), Qt::CaseInsensitive) == 0 ||
            c.compare(QLatin1String("GarageDate"), Qt::CaseInsensitive) == 0 ||
            c.compare(QLatin1String("ReportDate"), Qt::CaseInsensitive) == 0)
            dateColumns_.append(i);
        if (c.compare(QLatin1String("Send"), Qt::CaseInsensitive) == 0) sendColumn_ = i;
    }
    open_ = true;
    emit changed();
}

int Query::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Query::value(int row, const QString& column) const {
    return value(row, columnIndex(column));
}

QVariant Query::value(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_.size()) return QVariant();
    const QVariant& stored = rows_[row][column];
    if (stored.isNull()) return QVariant();
    if (dateColumns_.contains(column)) {
        const QDate day = statement::dayOf(stored);
        return day.isValid() ? QVariant(day) : QVariant();
    }
    if (column == sendColumn_) return stored.toInt() != 0;
    return stored;
}

qint16 Query::shortValue(int row, const QString& column) const {
    const QVariant v = value(row, column);
    return v.isNull() ? qint16(0) : qint16(v.toInt());
}

RegisterRow Query::registerRow(int row) const {
    RegisterRow r;
    r.claimno = value(row, QStringLiteral("Claimno")).toString();
    r.seq = shortValue(row, QStringLiteral("Seq"));
    r.garage = value(row, QStringLiteral("Garage")).toString();
    r.brand = value(row, QStringLiteral("Brand")).toString();
    r.regno = value(row, QStringLiteral("Regno")).toString();
    r.status = value(row, QStringLiteral("Status")).toString();
    r.vorlexDate = value(row, QStringLiteral("VorlexDate")).toDate();
    r.garageDate = value(row, QStringLiteral("GarageDate")).toDate();
    r.reportDate = value(row, QStringLiteral("ReportDate")).toDate();
    r.send = value(row, QStringLiteral("Send")).toBool();
    return r;
}

} // namespace reg
