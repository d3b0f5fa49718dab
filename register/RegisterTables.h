#pragma once

#include "register/Query.h"
#include "register/Tables.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;

namespace reg {

// The files of the alias Claim (the folder C:\claim\db).
namespace files {
inline const QString Register = QStringLiteral("Vorlex.DB");
inline const QString Statuses = QStringLiteral("Status.DB");
inline const QString Export = QStringLiteral("Vorlex2.DB");
inline const QString ExportIndex = QStringLiteral("Vorlex2.PX");
// The system path of a file of the alias's folder ("C:\claim\db\Vorlex.DB").
QString systemPath(const QString& name);
// The same file on this machine.
QString hostPath(const QString& name);
} // namespace files

// The register's tables under the alias Claim, reached through one connection of the table engine
// (SQLite), and the data-access objects the main window owns over them. A table file is attached the
// first time an object needs it; a table of the earlier system found there is imported then.
class RegisterTables {
public:
    RegisterTables();
    ~RegisterTables();
    RegisterTables(const RegisterTables&) = delete;
    RegisterTables& operator=(const RegisterTables&) = delete;

    RegisterTable VorlexT;
    Query VorlexQ;  // "MAX OF Seq" of one claim
    Query VorlexQ2; // rewritten before every use: the search and the transfer run
    Query VorlexQ3; // marks every unsent row as sent
    Query VorlexQ4; // the finished claims
    ExportTable Vorlex2T;
    StatusTable StatusT;

    // What was imported from tables of the earlier system since the last call: one line each, for the
    // caller to show.
    QStringList takeImportReport();

    // For the objects above.
    QSqlDatabase connection() const;
    void attachRegister();
    void attachStatuses();
    // Runs statements in one transaction whose end is on disk when it returns; rolls back on failure.
    void inTransaction(const std::function<void(QSqlDatabase&)>& work);
    static QString engineMessage(const QSqlError& error);

private:
    void attach(const QString& schema, const QString& file, const QString& table, bool& attached);

    QString connectionName_;
    bool registerAttached_ = false;
    bool statusesAttached_ = false;
    QStringList importReport_;
};

} // namespace reg
