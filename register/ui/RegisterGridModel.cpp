#include "register/ui/RegisterGridModel.h"

#include "register/GridColumns.h"

void RegisterGridModel::setRows(const QList<reg::RegisterRow>& rows) {
    beginResetModel();
    rows_ = rows;
    indicatorRow_ = -1;
    endResetModel();
}

void RegisterGridModel::setIndicatorRow(int row) {
    if (row == indicatorRow_) return;
    const int before = indicatorRow_;
    indicatorRow_ = row;
    for (int changed : {before, row})
        if (changed >= 0 && changed < rows_.size()) emit headerDataChanged(Qt::Vertical, changed, changed);
}

int RegisterGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.size();
}

int RegisterGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : reg::gridColumns().size();
}

QVariant RegisterGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    if (role == Qt::DisplayRole) return reg::gridCells(rows_.at(index.row())).at(index.column());
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant RegisterGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= reg::gridColumns().size()) return {};
        if (role == Qt::DisplayRole) return reg::gridColumns().at(section).title;
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    if (role == Qt::DisplayRole) return section == indicatorRow_ ? QStringLiteral("▶") : QString();
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags RegisterGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
