#include "register/RegisterTables.h"

#include "register/LegacyImport.h"

#include "app/WorkingFolders.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace reg {

namespace files {
QString systemPath(const QString& name) {
    return folders::TableFolder + '\\' + name;
}
QString hostPath(const QString& name) {
    return platform::drive::toHost(systemPath(name));
}
} // namespace files

namespace {

const QString kRegisterSchema = QStringLiteral("claim_vorlex");
const QString kStatusSchema = QStringLiteral("claim_status");

QString missingTable(const QString& name) {
    return QStringLiteral("Table does not exist: %1 (%2)")
        .arg(files::systemPath(name), QDir::cleanPath(QFileInfo(files::hostPath(name)).absoluteFilePath()));
}

} // namespace

RegisterTables::RegisterTables()
    : VorlexT(*this),
      VorlexQ(*this, QStringLiteral("VorlexQ"), {"select max(Seq) from vorlex", "where claimno=:prm"}),
      VorlexQ2(*this, QStringLiteral("VorlexQ2"), {"select * from vorlex"}),
      VorlexQ3(*this, QStringLiteral("VorlexQ3"), {"update vorlex", "set send='1'", "where send='0'"}),
      VorlexQ4(*this, QStringLiteral("VorlexQ4"),
               {"select distinct claimno from vorlex", QStringLiteral("where status='ซ่อมเสร็จ'")}),
      Vorlex2T(*this), StatusT(*this) {
    static QAtomicInt counter;
    connectionName_ = QStringLiteral("claim-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db.open()) throw platform::Error(engineMessage(db.lastError()));
}

RegisterTables::~RegisterTables() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QStringList RegisterTables::takeImportReport() {
    return std::exchange(importReport_, {});
}

QSqlDatabase RegisterTables::connection() const {
    return QSqlDatabase::database(connectionName_, false);
}

void RegisterTables::attachRegister() {
    attach(kRegisterSchema, files::Register, QStringLiteral("vorlex"), registerAttached_);
}

void RegisterTables::attachStatuses() {
    attach(kStatusSchema, files::Statuses, QStringLiteral("status"), statusesAttached_);
}

void RegisterTables::attach(const QString& schema, const QString& file, const QString& table,
                            bool& attached) {
    if (attached) return;
    const QString host = files::hostPath(file);
    const QString report = legacy::importIfParadox(host, file == files::Register ? legacy::Kind::Register
                                                                                 : legacy::Kind::Statuses);
    if (!report.isEmpty()) importReport_.append(report);
    if (!QFileInfo(host).isFile()) throw platform::Error(missingTable(file));

    QSqlDatabase db = connection();
    QSqlQuery query(db);
    const QString uri = QUrl::fromLocalFile(QFileInfo(host).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                        QStringLiteral("?mode=rw");
    if (!query.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(schema)))
        throw platform::Error(engineMessage(query.lastError()));
    query.addBindValue(uri);
    if (!query.exec())
        throw platform::Error(engineMessage(query.lastError()) + QStringLiteral(": ") +
                              files::systemPath(file));
    const auto detach = [&] { QSqlQuery(db).exec(QStringLiteral("DETACH DATABASE %1").arg(schema)); };
    // Reading the catalogue is the first read of the file: an unreadable file fails here.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type='table' AND name='%2'")
                        .arg(schema, table)) ||
        !query.next()) {
        const QString message =
            engineMessage(query.lastError()) + QStringLiteral(": ") + files::systemPath(file);
        query.finish();
        detach();
        throw platform::Error(message);
    }
    if (query.value(0).toInt() == 0) {
        query.finish();
        detach();
        throw platform::Error(
            QStringLiteral("Table %1 does not exist in %2").arg(table, files::systemPath(file)));
    }
    query.finish();
    for (const QString& pragma :
         {QStringLiteral("PRAGMA %1.journal_mode=DELETE"), QStringLiteral("PRAGMA %1.synchronous=FULL")})
        if (!query.exec(pragma.arg(schema))) throw platform::Error(engineMessage(query.lastError()));
    query.finish();
    attached = true;
}

void RegisterTables::inTransaction(const std::function<void(QSqlDatabase&)>& work) {
    QSqlDatabase db = connection();
    if (!db.transaction()) throw platform::Error(engineMessage(db.lastError()));
    try {
        work(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString message = engineMessage(db.lastError());
        db.rollback();
        throw platform::Error(message);
    }
}

QString RegisterTables::engineMessage(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

} // namespace reg
