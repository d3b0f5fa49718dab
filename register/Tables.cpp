#include "register/Tables.h"

#include "register/ParadoxFile.h"
#include "register/RegisterTables.h"
#include "register/Schema.h"

#include "platform/Durable.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace reg {

void RegisterTable::open() {
    tables_.attachRegister();
    open_ = true;
}

void RegisterTable::store(const RegisterRow& row) {
    store(QList<RegisterRow>{row});
}

void RegisterTable::store(const QList<RegisterRow>& rows) {
    if (!open_) throw platform::Error(QStringLiteral("Cannot store a row: the table Vorlex.DB is not open"));
    tables_.inTransaction([&](QSqlDatabase& db) {
        for (const RegisterRow& row : rows)
            schema::insertRow(db, QStringLiteral("claim_vorlex"), row);
    });
}

void StatusTable::open() {
    if (open_) return;
    tables_.attachStatuses();
    QSqlQuery query(tables_.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT Status FROM claim_status.status ORDER BY rowid")))
        throw platform::Error(RegisterTables::engineMessage(query.lastError()));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    names_ = names;
    open_ = true;
}

void StatusTable::close() {
    open_ = false;
    names_.clear();
}

namespace {

// The new pair is written beside the old one; once both are on disk the marker file says so, and only
// then are they renamed over the old pair. A crash before the marker leaves the old pair (the new
// files are thrown away later); after it the renames are finished at the next use.
struct ExportFiles {
    QString db = files::hostPath(files::Export);
    QString px = files::hostPath(files::ExportIndex);
    QString newDb = db + QStringLiteral(".new");
    QString newPx = px + QStringLiteral(".new");
    QString marker = files::hostPath(QStringLiteral("Vorlex2.new-complete"));
    QString folder = QFileInfo(db).absolutePath();
};

void renameOrFail(const QString& from, const QString& to) {
    QString reason;
    if (!platform::durable::renameReplacing(from, to, &reason))
        throw platform::Error(QStringLiteral("Cannot rename %1 to %2: %3").arg(from, to, reason));
}

void finishOrUndoReplacement(const ExportFiles& f) {
    if (QFileInfo::exists(f.marker)) {
        if (QFileInfo::exists(f.newPx)) renameOrFail(f.newPx, f.px);
        if (QFileInfo::exists(f.newDb)) renameOrFail(f.newDb, f.db);
        platform::durable::syncFolder(f.folder);
        QFile::remove(f.marker);
        platform::durable::syncFolder(f.folder);
        return;
    }
    if (QFileInfo::exists(f.newDb) || QFileInfo::exists(f.newPx)) {
        QFile::remove(f.newDb);
        QFile::remove(f.newPx);
        platform::durable::syncFolder(f.folder);
    }
}

RegisterRow rowOf(const QVariantList& v) {
    RegisterRow r;
    r.claimno = v.value(0).toString();
    r.seq = v.value(1).toInt();
    r.garage = v.value(2).toString();
    r.brand = v.value(3).toString();
    r.regno = v.value(4).toString();
    r.status = v.value(5).toString();
    r.vorlexDate = v.value(6).toDate();
    r.garageDate = v.value(7).toDate();
    r.reportDate = v.value(8).toDate();
    r.send = false;
    return r;
}

QVariantList valuesOf(const RegisterRow& r) {
    const auto day = [](const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); };
    return {r.claimno,         r.seq,     r.garage,          r.brand,
            r.regno,           r.status,  day(r.vorlexDate), day(r.garageDate),
            day(r.reportDate), QVariant()};
}

} // namespace

void ExportTable::checkFiles() const {
    const ExportFiles f;
    finishOrUndoReplacement(f);
    for (const QString& name : {files::Export, files::ExportIndex})
        if (!QFileInfo(files::hostPath(name)).isFile())
            throw platform::Error(
                QStringLiteral("Table does not exist: %1 (%2)")
                    .arg(files::systemPath(name),
                         QDir::cleanPath(QFileInfo(files::hostPath(name)).absoluteFilePath())));
}

void ExportTable::open() {
    if (open_) return;
    checkFiles();
    const paradox::Table table = paradox::read(files::hostPath(files::Export));
    QList<RegisterRow> rows;
    for (const QVariantList& v : table.rows)
        rows.append(rowOf(v));
    rows_ = rows;
    changed_ = false;
    open_ = true;
}

void ExportTable::close() {
    if (!open_) return;
    if (changed_) writeFiles(rows_);
    open_ = false;
    changed_ = false;
    rows_.clear();
}

void ExportTable::emptyTable() {
    if (open_) throw platform::Error(QStringLiteral("Cannot empty the table Vorlex2.DB while it is open"));
    checkFiles();
    writeFiles({});
}

void ExportTable::removeAllRows() {
    if (!open_) throw platform::Error(QStringLiteral("Cannot empty the table Vorlex2.DB: it is not open"));
    rows_.clear();
    changed_ = true;
}

void ExportTable::insert(const RegisterRow& row) {
    if (!open_)
        throw platform::Error(QStringLiteral("Cannot insert a row: the table Vorlex2.DB is not open"));
    RegisterRow copy = cutToFields(row);
    copy.send = false;
    rows_.append(copy);
    changed_ = true;
}

void ExportTable::writeFiles(const QList<RegisterRow>& rows) {
    const ExportFiles f;
    QFile::remove(f.newDb);
    QFile::remove(f.newPx);
    QList<QVariantList> values;
    for (const RegisterRow& row : rows)
        values.append(valuesOf(row));
    try {
        paradox::write(f.newDb, f.newPx, files::Export, paradox::registerFields(), 2, values);
    } catch (...) {
        QFile::remove(f.newDb);
        QFile::remove(f.newPx);
        throw;
    }
    platform::durable::crashPoint("export", 1);
    if (!platform::durable::syncFile(f.newDb) || !platform::durable::syncFile(f.newPx))
        throw platform::Error(QStringLiteral("Cannot flush the export table to disk: ") + f.newDb);
    platform::durable::syncFolder(f.folder);
    platform::durable::crashPoint("export", 2);
    {
        QFile marker(f.marker);
        if (!marker.open(QIODevice::WriteOnly))
            throw platform::Error(QStringLiteral("Cannot write ") + f.marker + QStringLiteral(": ") +
                                  marker.errorString());
    }
    platform::durable::syncFile(f.marker);
    platform::durable::syncFolder(f.folder);
    platform::durable::crashPoint("export", 3);
    renameOrFail(f.newPx, f.px);
    platform::durable::crashPoint("export", 4);
    renameOrFail(f.newDb, f.db);
    platform::durable::syncFolder(f.folder);
    platform::durable::crashPoint("export", 5);
    QFile::remove(f.marker);
    platform::durable::syncFolder(f.folder);
}

} // namespace reg
