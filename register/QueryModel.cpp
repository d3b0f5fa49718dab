#include "register/QueryModel.h"

#include "register/Query.h"

#include <QDate>

namespace reg {

QueryModel::QueryModel(Query& query, QObject* parent) : QAbstractTableModel(parent), query_(&query) {
    connect(&query, &Query::aboutToChange, this, [this] { beginResetModel(); });
    connect(&query, &Query::changed, this, [this] { endResetModel(); });
}

void QueryModel::setColumns(const QStringList& fields, const QStringList& titles) {
    beginResetModel();
    fields_ = fields;
    titles_ = titles;
    endResetModel();
}

QStringList QueryModel::shownFields() const {
    if (!fields_.isEmpty()) return fields_;
    return query_ && query_->isOpen() ? query_->columnNames() : QStringList();
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !query_ || !query_->isOpen()) return 0;
    return query_->rowCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shownFields().size());
}

QString QueryModel::displayText(const QVariant& value) {
    if (value.isNull()) return QString();
    if (value.typeId() == QMetaType::QDate) return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !query_ || !query_->isOpen()) return QVariant();
    const QStringList fields = shownFields();
    if (index.column() >= fields.size()) return QVariant();
    const QVariant value = query_->value(index.row(), fields.at(index.column()));
    if (role == Qt::DisplayRole) return displayText(value);
    if (role == Qt::EditRole) return value;
    return QVariant();
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QVariant();
    const QStringList fields = shownFields();
    if (section < 0 || section >= fields.size()) return QVariant();
    return section < titles_.size() ? titles_.at(section) : fields.at(section);
}

Qt::ItemFlags QueryModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace reg
