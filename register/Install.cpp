#include "register/Install.h"

#include "register/LegacyImport.h"
#include "register/ParadoxFile.h"
#include "register/RegisterTables.h"

#include "app/WorkingFolders.h"
#include "platform/DrivePaths.h"
#include "platform/Durable.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace reg::install {
namespace {

QString shown(const QString& systemPath) {
    return QStringLiteral("%1 (%2)").arg(
        systemPath, QDir::cleanPath(QFileInfo(platform::drive::toHost(systemPath)).absoluteFilePath()));
}

void makeFolder(const QString& systemPath, Report& report) {
    const QString host = platform::drive::toHost(systemPath);
    if (QFileInfo(host).isDir()) return;
    if (!QDir().mkpath(host))
        throw platform::Error(QStringLiteral("Cannot make the folder ") + shown(systemPath));
    platform::durable::syncFolder(QFileInfo(host).absolutePath());
    report.made.append(QStringLiteral("folder ") + shown(systemPath));
}

// Builds the file under a temporary name and renames it into place, so that a table name never
// stands for a half-made file.
void makeTable(const QString& name, const std::function<void(const QString&)>& build, Report& report) {
    const QString host = files::hostPath(name);
    if (QFileInfo::exists(host)) {
        report.kept.append(QStringLiteral("table ") + shown(files::systemPath(name)));
        return;
    }
    const QString temporary = host + QStringLiteral(".install");
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
    build(temporary);
    QString reason;
    if (!platform::durable::renameReplacing(temporary, host, &reason))
        throw platform::Error(QStringLiteral("Cannot rename %1 to %2: %3").arg(temporary, host, reason));
    platform::durable::syncFolder(QFileInfo(host).absolutePath());
    report.made.append(QStringLiteral("table ") + shown(files::systemPath(name)));
}

} // namespace

const QList<schema::StatusRow>& defaultStatuses() {
    static const QList<schema::StatusRow> rows = {
        {"1", QStringLiteral("รับรถเข้าอู่")},  {"2", QStringLiteral("รอประเมินราคา")},
        {"3", QStringLiteral("รออนุมัติซ่อม")}, {"4", QStringLiteral("รออะไหล่")},
        {"5", QStringLiteral("กำลังซ่อม")},   {"6", QStringLiteral("กำลังเคาะพ่นสี")},
        {"7", QStringLiteral("ซ่อมเสร็จ")},
    };
    return rows;
}

bool tablesMissing() {
    for (const QString& name : {files::Register, files::Statuses, files::Export, files::ExportIndex})
        if (!QFileInfo::exists(files::hostPath(name))) return true;
    return false;
}

Report run() {
    Report report;
    const QString drive = platform::drive::driveFolder();
    if (!QFileInfo(drive).isDir()) {
        if (!QDir().mkpath(drive))
            throw platform::Error(QStringLiteral("Cannot make the drive folder ") + drive);
        report.made.append(
            QStringLiteral("drive folder C: (%1)").arg(QDir::cleanPath(QFileInfo(drive).absoluteFilePath())));
    }
    makeFolder(QStringLiteral("C:\\claim"), report);
    makeFolder(folders::TableFolder, report);
    // A table of the earlier system is imported (or an interrupted import finished) before anything is
    // made in its place.
    for (const auto& [name, kind] : {std::pair{files::Register, legacy::Kind::Register},
                                     std::pair{files::Statuses, legacy::Kind::Statuses}}) {
        const QString line = legacy::importIfParadox(files::hostPath(name), kind);
        if (!line.isEmpty()) report.imported.append(line);
    }
    makeTable(
        files::Register, [](const QString& path) { schema::createRegisterFile(path, QList<RegisterRow>{}); },
        report);
    makeTable(
        files::Statuses, [](const QString& path) { schema::createStatusFile(path, defaultStatuses()); },
        report);

    // The export table and its index are one table: made together, or left alone when either is there.
    const QString db = files::hostPath(files::Export);
    const QString px = files::hostPath(files::ExportIndex);
    if (QFileInfo::exists(db) || QFileInfo::exists(px)) {
        for (const QString& name : {files::Export, files::ExportIndex})
            report.kept.append((QFileInfo::exists(files::hostPath(name))
                                    ? QStringLiteral("table ")
                                    : QStringLiteral("missing, not made beside the other file: ")) +
                               shown(files::systemPath(name)));
    } else {
        const QString tmpDb = db + QStringLiteral(".install");
        const QString tmpPx = px + QStringLiteral(".install");
        QFile::remove(tmpDb);
        QFile::remove(tmpPx);
        paradox::write(tmpDb, tmpPx, files::Export, paradox::registerFields(), 2, {});
        if (!platform::durable::syncFile(tmpDb) || !platform::durable::syncFile(tmpPx))
            throw platform::Error(QStringLiteral("Cannot flush the export table to disk: ") + tmpDb);
        QString reason;
        if (!platform::durable::renameReplacing(tmpPx, px, &reason) ||
            !platform::durable::renameReplacing(tmpDb, db, &reason))
            throw platform::Error(QStringLiteral("Cannot rename the new export table into place: ") + reason);
        platform::durable::syncFolder(QFileInfo(db).absolutePath());
        report.made.append(QStringLiteral("table ") + shown(files::systemPath(files::Export)));
        report.made.append(QStringLiteral("index ") + shown(files::systemPath(files::ExportIndex)));
    }
    return report;
}

} // namespace reg::install
