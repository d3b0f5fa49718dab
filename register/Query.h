#pragma once

#include "register/RegisterRow.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

namespace reg {

class RegisterTables;

// A statement over the register's tables, given as lines, with at most one parameter (position 0,
// named prm). Opening it runs a select and keeps its rows, read-only; an update is executed instead.
// It tells listeners (a grid) before and after its result changes, that is when it opens and closes.
class Query : public QObject {
    Q_OBJECT
public:
    Query(RegisterTables& tables, const QString& name, const QStringList& lines);

    // Changing the statement closes the query first.
    void clearLines();
    void addLine(const QString& line);
    // Close, clear the lines, add the given ones: how a statement is rewritten before each use.
    void setLines(const QStringList& lines);
    QStringList lines() const { return lines_; }
    void setParameter(const QVariant& value); // position 0; a date matches the rows of its day

    void open(); // runs the select; an engine failure raises its message and leaves it closed
    void close();
    bool isOpen() const { return open_; }
    void execute(); // runs an update (the query stays closed)

    int rowCount() const { return int(rows_.size()); }
    QStringList columnNames() const { return columns_; }
    int columnIndex(const QString& name) const; // without regard to case; -1 when missing
    // A value as its field holds it: QString, int, QDate for a date field (null when blank), bool for
    // Send; a null QVariant when the value is blank or the column is missing.
    QVariant value(int row, const QString& column) const;
    QVariant value(int row, int column) const;
    // The value read as a 16-bit integer; blank reads as 0.
    qint16 shortValue(int row, const QString& column) const;
    // The row read as a register row (fields missing from the result stay blank).
    RegisterRow registerRow(int row) const;

signals:
    void aboutToChange();
    void changed();

private:
    void run(bool select);

    RegisterTables& tables_;
    QString name_;
    QStringList lines_;
    QVariant parameter_;
    bool hasParameter_ = false;
    bool open_ = false;
    QStringList columns_;
    QList<int> dateColumns_;
    int sendColumn_ = -1;
    QList<QVariantList> rows_;
};

} // namespace reg
