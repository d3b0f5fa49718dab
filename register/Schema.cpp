#include "register/Schema.h"

#include "register/RegisterTables.h"
#include "register/Statement.h"

#include "platform/Durable.h"
#include "platform/Error.h"

#include <QAtomicInt>
#include <QFile>
#include <QSet>

#include <QSqlError>
#include <QSqlQuery>
#include <climits>

namespace reg::schema {
namespace {

// Seq is a 16-bit field; dates are days (yyyy-MM-dd); Send compares with '0' and takes '1' as numbers.
const QStringList registerStructure = {
    "CREATE TABLE vorlex (Claimno TEXT, Seq INTEGER, Garage TEXT, Brand TEXT, Regno TEXT, Status TEXT, "
    "VorlexDate TEXT, GarageDate TEXT, ReportDate TEXT, Send INTEGER)",
    "CREATE UNIQUE INDEX vorlex_key ON vorlex (Claimno, Seq)",
    "CREATE INDEX vorlex_send ON vorlex (Send)",
    "CREATE INDEX vorlex_reportdate ON vorlex (ReportDate)",
    "CREATE INDEX vorlex_status ON vorlex (Status, Claimno)",
};
const QStringList statusStructure = {"CREATE TABLE status (Code TEXT, Status TEXT)"};

void exec(QSqlQuery& query, const QString& text) {
    if (!query.exec(text)) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
}

// A connection of its own to one new file, removed again when done.
class FileConnection {
public:
    explicit FileConnection(const QString& hostPath) {
        static QAtomicInt counter;
        name_ = QStringLiteral("reg-file-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(hostPath);
        if (!db.open()) throw platform::Error(RegisterTables::engineMessage(db.lastError()));
    }
    ~FileConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

void create(const QString& hostPath, const QStringList& structure,
            const std::function<void(QSqlDatabase&)>& fill) {
    if (QFile::exists(hostPath))
        throw platform::Error(QStringLiteral("The file exists already: ") + hostPath);
    QFile::remove(hostPath + QStringLiteral("-journal")); // of an earlier half-made file
    {
        FileConnection connection(hostPath);
        QSqlDatabase db = connection.db();
        QSqlQuery query(db);
        exec(query, QStringLiteral("PRAGMA synchronous=FULL"));
        exec(query, QStringLiteral("PRAGMA journal_mode=DELETE"));
        if (!db.transaction()) throw platform::Error(RegisterTables::engineMessage(db.lastError()));
        try {
            for (const QString& statement : structure)
                exec(query, statement);
            fill(db);
        } catch (...) {
            db.rollback();
            throw;
        }
        if (!db.commit()) throw platform::Error(RegisterTables::engineMessage(db.lastError()));
    }
    if (!platform::durable::syncFile(hostPath))
        throw platform::Error(QStringLiteral("Cannot flush the file to disk: ") + hostPath);
}

} // namespace

void insertRow(QSqlDatabase& db, const QString& schema, const RegisterRow& row) {
    insertValues(db, schema,
                 {row.claimno, row.seq, row.garage, row.brand, row.regno, row.status, row.vorlexDate,
                  row.garageDate, row.reportDate, row.send});
}

void insertValues(QSqlDatabase& db, const QString& schema, const QVariantList& values) {
    QSqlQuery query(db);
    const QString table = schema.isEmpty() ? QStringLiteral("vorlex") : schema + QStringLiteral(".vorlex");
    if (!query.prepare(
            QStringLiteral("INSERT INTO %1 (Claimno, Seq, Garage, Brand, Regno, Status, VorlexDate, "
                           "GarageDate, ReportDate, Send) VALUES (?,?,?,?,?,?,?,?,?,?)")
                .arg(table)))
        throw platform::Error(RegisterTables::engineMessage(query.lastError()));
    static const int sizes[] = {field::ClaimnoSize, 0, field::GarageSize, field::BrandSize, field::RegnoSize,
                                field::StatusSize};
    for (int i = 0; i < 10; ++i) {
        const QVariant v = values.value(i);
        if (i == 1) {
            if (!v.isNull() && (v.toInt() < -32767 || v.toInt() > 32767))
                throw platform::Error(QStringLiteral("Seq %1 does not fit a 16-bit field").arg(v.toInt()));
            query.addBindValue(v.isNull() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(v.toInt()));
        } else if (i < 6) {
            query.addBindValue(v.isNull() ? QVariant(QMetaType(QMetaType::QString))
                                          : QVariant(cutToField(v.toString(), sizes[i])));
        } else if (i < 9) {
            query.addBindValue(statement::storedDay(v.toDate()));
        } else {
            query.addBindValue(v.isNull() ? QVariant(QMetaType(QMetaType::Int))
                                          : QVariant(v.toBool() ? 1 : 0));
        }
    }
    if (!query.exec()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
}

void createRegisterFile(const QString& hostPath, const QList<RegisterRow>& rows) {
    create(hostPath, registerStructure, [&](QSqlDatabase& db) {
        for (const RegisterRow& row : rows)
            insertRow(db, QString(), row);
    });
}

void createRegisterFile(const QString& hostPath, const QList<QVariantList>& rows, QList<RowKey>* skipped) {
    create(hostPath, registerStructure, [&](QSqlDatabase& db) {
        QSet<QPair<QString, int>> seen;
        for (const QVariantList& row : rows) {
            const QPair<QString, int> key(cutToField(row.value(0).toString(), field::ClaimnoSize),
                                          row.value(1).isNull() ? INT_MIN : row.value(1).toInt());
            if (key.second != INT_MIN && seen.contains(key)) {
                if (skipped) skipped->append({key.first, key.second});
                continue;
            }
            seen.insert(key);
            insertValues(db, QString(), row);
        }
    });
}

void createStatusFile(const QString& hostPath, const QList<StatusRow>& rows) {
    create(hostPath, statusStructure, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("INSERT INTO status (Code, Status) VALUES (?, ?)")))
            throw platform::Error(RegisterTables::engineMessage(query.lastError()));
        for (const StatusRow& row : rows) {
            query.bindValue(0, cutToField(row.first, field::CodeSize));
            query.bindValue(1, cutToField(row.second, field::StatusNameSize));
            if (!query.exec()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
        }
    });
}

} // namespace reg::schema
