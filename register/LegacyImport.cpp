#include "register/LegacyImport.h"

#include "register/ParadoxFile.h"
#include "register/Schema.h"

#include "platform/Durable.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>

namespace reg::legacy {
namespace {

QString temporaryName(const QString& hostPath) {
    return hostPath + QStringLiteral(".import");
}

void renameOrFail(const QString& from, const QString& to) {
    QString reason;
    if (!platform::durable::renameReplacing(from, to, &reason))
        throw platform::Error(QStringLiteral("Cannot rename %1 to %2: %3").arg(from, to, reason));
}

// The columns of the old table in the order of `wanted`, found by name without regard to case.
QList<QVariantList> rowsByName(const paradox::Table& table, const QList<paradox::Field>& wanted) {
    QList<int> columns;
    for (const paradox::Field& field : wanted) {
        int found = -1;
        for (int i = 0; i < table.fields.size(); ++i)
            if (table.fields[i].name.compare(field.name, Qt::CaseInsensitive) == 0) found = i;
        columns.append(found);
    }
    QList<QVariantList> rows;
    for (const QVariantList& old : table.rows) {
        QVariantList row;
        for (int c : columns)
            row.append(c < 0 ? QVariant() : old.value(c));
        rows.append(row);
    }
    return rows;
}

} // namespace

QString keptName(const QString& hostPath) {
    QString name = hostPath + QStringLiteral(".paradox");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = hostPath + QStringLiteral(".paradox%1").arg(n);
    return name;
}

QString importIfParadox(const QString& hostPath, Kind kind) {
    const QString temporary = temporaryName(hostPath);
    const QString folder = QFileInfo(hostPath).absolutePath();
    if (QFileInfo::exists(temporary)) {
        if (!QFileInfo::exists(hostPath)) {
            // Killed between the renames: the original is kept already, the new table is complete.
            renameOrFail(temporary, hostPath);
            platform::durable::syncFolder(folder);
            return QStringLiteral("Finished the import of %1 that was interrupted")
                .arg(QFileInfo(hostPath).fileName());
        }
        // Killed while building it: the original is untouched. The engine's journal of the half-made
        // file goes with it, or it would be played into the next one.
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        platform::durable::syncFolder(folder);
    }
    if (!QFileInfo::exists(hostPath) || !paradox::looksLikeParadox(hostPath)) return QString();

    const paradox::Table old = paradox::read(hostPath);
    QString skippedText;
    int imported = int(old.rows.size());
    if (kind == Kind::Register) {
        QList<RowKey> skipped;
        schema::createRegisterFile(temporary, rowsByName(old, paradox::registerFields()), &skipped);
        imported -= int(skipped.size());
        if (!skipped.isEmpty()) {
            QStringList keys;
            for (const RowKey& key : skipped)
                keys.append(QStringLiteral("%1/%2").arg(key.claimno).arg(key.seq));
            skippedText =
                QStringLiteral("; %1 rows left out because their Claimno and Seq repeat an earlier row: %2")
                    .arg(skipped.size())
                    .arg(keys.join(", "));
        }
    } else {
        QList<schema::StatusRow> rows;
        for (const QVariantList& row : rowsByName(old, paradox::statusFields()))
            rows.append({row.value(0).toString(), row.value(1).toString()});
        schema::createStatusFile(temporary, rows);
    }
    platform::durable::syncFolder(folder);
    platform::durable::crashPoint("import", 1);

    const QString kept = keptName(hostPath);
    renameOrFail(hostPath, kept);
    platform::durable::syncFolder(folder);
    platform::durable::crashPoint("import", 2);

    renameOrFail(temporary, hostPath);
    platform::durable::syncFolder(folder);
    platform::durable::crashPoint("import", 3);
    return QStringLiteral("Imported %1 rows from the Paradox table %2; the original is kept as %3%4")
        .arg(imported)
        .arg(QFileInfo(hostPath).fileName(), QFileInfo(kept).fileName(), skippedText);
}

} // namespace reg::legacy
