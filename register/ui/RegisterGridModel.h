#pragma once

#include "register/RegisterRow.h"

#include <QAbstractTableModel>

// The search result as the grid shows it: seven read-only columns over the rows of the search query,
// titles centred, and a row indicator on the current row.
class RegisterGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<reg::RegisterRow>& rows);
    const QList<reg::RegisterRow>& rows() const { return rows_; }
    // The row the indicator marks; -1 for none.
    void setIndicatorRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<reg::RegisterRow> rows_;
    int indicatorRow_ = -1;
};
