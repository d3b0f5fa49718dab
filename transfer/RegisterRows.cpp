#include "transfer/RegisterRows.h"

#include "register/Export.h"
#include "register/RegisterTables.h"

namespace transfer {

QList<RowKey> RegisterRows::exportUnsentRows() {
    QList<RowKey> keys;
    for (const reg::RowKey& key : reg::exportUnsentRows(tables_))
        keys.append(RowKey{key.claimno, key.seq});
    return keys;
}

void RegisterRows::markSent(const QList<RowKey>& keys) {
    QList<reg::RowKey> registerKeys;
    for (const RowKey& key : keys)
        registerKeys.append(reg::RowKey{key.claimno, key.seq});
    reg::markSent(tables_, registerKeys);
}

QString RegisterRows::exportTableFile() const {
    return reg::exportTableHostPath();
}

QString RegisterRows::exportIndexFile() const {
    return reg::exportIndexHostPath();
}

} // namespace transfer
