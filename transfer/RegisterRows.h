#pragma once

#include "transfer/RowStore.h"

namespace reg {
class RegisterTables;
}

namespace transfer {

// The register's tables as the transfer run uses them.
class RegisterRows : public RowStore {
public:
    explicit RegisterRows(reg::RegisterTables& tables) : tables_(tables) {}

    QList<RowKey> exportUnsentRows() override;
    void markSent(const QList<RowKey>& keys) override;
    QString exportTableFile() const override;
    QString exportIndexFile() const override;

private:
    reg::RegisterTables& tables_;
};

} // namespace transfer
