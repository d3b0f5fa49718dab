#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace reg {

class Query;

// A read-only grid model over a query's result: the chosen fields as columns (all of them when none are
// chosen), with titles of the caller's. It follows the query: empty while it is closed, refilled when
// it opens. Dates show as dd/mm/yyyy.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(Query& query, QObject* parent = nullptr);

    void setColumns(const QStringList& fields, const QStringList& titles = {});
    Query& query() const { return *query_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The text a cell shows.
    static QString displayText(const QVariant& value);

private:
    QStringList shownFields() const;

    QPointer<Query> query_;
    QStringList fields_;
    QStringList titles_;
};

} // namespace reg
