#include "register/TablesAccess.h"

#include "register/RegisterTables.h"

namespace reg {

QStringList TablesAccess::statusNames() {
    if (!tables_.StatusT.isOpen()) tables_.StatusT.open();
    return tables_.StatusT.names();
}

bool TablesAccess::entryTableOpen() {
    return tables_.VorlexT.isOpen();
}

int TablesAccess::maxSeq(const QString& claimno) {
    Query& query = tables_.VorlexQ;
    query.close();
    query.setParameter(claimno);
    query.open();
    return query.rowCount() > 0 ? query.shortValue(0, QStringLiteral("MAX OF Seq")) : 0;
}

void TablesAccess::store(const RegisterRow& row) {
    tables_.VorlexT.store(row);
}

QStringList TablesAccess::finishedClaims() {
    Query& query = tables_.VorlexQ4;
    query.close();
    query.open();
    QStringList claims;
    for (int row = 0; row < query.rowCount(); ++row)
        claims << query.value(row, QStringLiteral("claimno")).toString();
    return claims;
}

void TablesAccess::openSearch(const QStringList& lines, const QVariant& parameter) {
    Query& query = tables_.VorlexQ2;
    query.setLines(lines);
    if (parameter.isValid()) query.setParameter(parameter);
    query.open();
}

QList<RegisterRow> TablesAccess::searchRows() {
    const Query& query = tables_.VorlexQ2;
    QList<RegisterRow> rows;
    if (!query.isOpen()) return rows;
    rows.reserve(query.rowCount());
    for (int row = 0; row < query.rowCount(); ++row)
        rows << query.registerRow(row);
    return rows;
}

void TablesAccess::onSearchChanged(std::function<void()> listener) {
    QObject::connect(&tables_.VorlexQ2, &Query::changed, &tables_.VorlexQ2, std::move(listener));
}

} // namespace reg
