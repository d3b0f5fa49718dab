#include "register/Export.h"

#include "register/RegisterTables.h"

#include "platform/Error.h"

#include <QSqlError>
#include <QSqlQuery>

namespace reg {

QString exportTableHostPath() {
    return files::hostPath(files::Export);
}
QString exportIndexHostPath() {
    return files::hostPath(files::ExportIndex);
}

QList<RowKey> exportUnsentRows(RegisterTables& tables) {
    Query& unsent = tables.VorlexQ2;
    unsent.setLines({QStringLiteral("select * from vorlex"), QStringLiteral("where send='0'")});
    unsent.open();
    QList<RowKey> keys;
    if (unsent.rowCount() == 0) return keys;

    // Emptied and refilled in memory, so that the files on disk go from the last run's pair to this
    // run's in one replacement: a crash never leaves an empty or half-filled export table.
    ExportTable& out = tables.Vorlex2T;
    out.close();
    out.open();
    out.removeAllRows();
    for (int i = 0; i < unsent.rowCount(); ++i) {
        RegisterRow row = unsent.registerRow(i);
        // A blank date is copied as the date value it reads as: day zero.
        for (QDate* day : {&row.vorlexDate, &row.garageDate, &row.reportDate})
            if (!day->isValid()) *day = dayZero();
        out.insert(row);
        keys.append({row.claimno, row.seq});
    }
    out.close();
    return keys;
}

void markSent(RegisterTables& tables, const QList<RowKey>& keys) {
    if (keys.isEmpty()) return;
    tables.attachRegister();
    tables.inTransaction([&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("UPDATE claim_vorlex.vorlex SET Send=1 WHERE Claimno=? AND "
                                          "coalesce(Seq,0)=? AND Send=0")))
            throw platform::Error(RegisterTables::engineMessage(query.lastError()));
        for (const RowKey& key : keys) {
            query.bindValue(0, key.claimno);
            query.bindValue(1, key.seq);
            if (!query.exec()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
        }
    });
}

} // namespace reg
