#include "transfer/TransferRun.h"

#include "app/WorkingFolders.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "transfer/RowStore.h"
#include "transfer/TransferJournal.h"

#include <QElapsedTimer>

namespace transfer {
namespace {

namespace files = platform::files;

class RunFailure : public platform::Error {
public:
    using platform::Error::Error;
};

QString inTransferFolder(const QString& name) {
    return folders::TransferFolder + '\\' + name;
}

class Run {
public:
    Run(RowStore& rows, const RunSettings& settings, RunHooks& hooks)
        : rows_(rows), settings_(settings), hooks_(hooks),
          journal_(settings.journalPath.isEmpty() ? TransferJournal::defaultPath() : settings.journalPath) {}

    RunOutcome run() {
        outcome_.receipt.time = QDateTime::currentDateTime();
        try {
            journal_.open();
            settleEarlierRun();
            timed(&outcome_.exportSeconds, [this] { exportRows(); });
            timed(&outcome_.archiveSeconds, [this] { archiveScans(); });
            timed(&outcome_.uploadSeconds, [this] { upload(); });
            timed(&outcome_.markSeconds, [this] { markConfirmedRows(); });
            outcome_.succeeded = outcome_.error.isEmpty();
        } catch (const RunFailure& e) {
            outcome_.error = e.message();
        } catch (const platform::Error& e) {
            outcome_.receipt.error = e.message();
            finish();
            throw;
        }
        outcome_.receipt.error = outcome_.error;
        finish();
        return outcome_;
    }

private:
    template <typename Step> static void timed(double* seconds, Step step) {
        QElapsedTimer timer;
        timer.start();
        step();
        *seconds = double(timer.nsecsElapsed()) / 1e9;
    }

    // Rows whose export files the server confirmed before the run that sent them was cut off are marked
    // now; files it sent but could not delete are deleted.
    void settleEarlierRun() {
        markConfirmedRows();
        const auto records = journal_.files();
        for (auto it = records.cbegin(); it != records.cend(); ++it) {
            const QString path = inTransferFolder(it.key());
            if (it->state != TransferJournal::FileState::Sent || !files::fileExists(path)) continue;
            if (stampOf(path) != it->stamp) continue;
            files::deleteFile(path);
            outcome_.receipt.files.append(SentFile{it.key(), it->stamp, SentFile::How::AlreadySent, 0});
            hooks_.step(
                QStringLiteral("Deleted %1: the server confirmed it in an earlier run").arg(it.key()));
        }
    }

    void exportRows() {
        if (const auto& pending = journal_.pendingExport()) {
            if (stillToSend(TransferJournal::TableFileName, pending->table, pending->tableSent) &&
                stillToSend(TransferJournal::IndexFileName, pending->index, pending->indexSent)) {
                hooks_.step(
                    QStringLiteral("Export: the %1 rows of an earlier run are still to be sent; no new "
                                   "rows are exported until the server has them")
                        .arg(pending->keys.size()));
                return;
            }
            journal_.recordExportDropped();
        }
        const QList<RowKey> keys = rows_.exportUnsentRows();
        const QString table = inTransferFolder(TransferJournal::TableFileName);
        const QString index = inTransferFolder(TransferJournal::IndexFileName);
        if (keys.isEmpty()) {
            hooks_.step(QStringLiteral("Export: no unsent rows"));
            // Export files left here carry rows that are marked as sent already.
            for (const QString& path : {table, index})
                if (files::fileExists(path) && !inFlight(files::nameOf(path))) files::deleteFile(path);
            return;
        }
        copy(rows_.exportTableFile(), table);
        copy(rows_.exportIndexFile(), index);
        TransferJournal::ExportRecord record;
        record.table = stampOf(table);
        record.index = stampOf(index);
        record.keys = keys;
        journal_.recordExport(record);
        hooks_.step(QStringLiteral("Export: %1 unsent rows into %2 and %3")
                        .arg(keys.size())
                        .arg(TransferJournal::TableFileName, TransferJournal::IndexFileName));
    }

    bool stillToSend(const QString& name, const FileStamp& stamp, bool sent) const {
        const QString path = inTransferFolder(name);
        return sent || (files::fileExists(path) && stampOf(path) == stamp);
    }

    bool inFlight(const QString& name) const {
        const auto record = journal_.file(name);
        return record && record->state == TransferJournal::FileState::InFlight;
    }

    static void copy(const QString& from, const QString& to) {
        if (!files::copyFile(from, to))
            throw RunFailure(QStringLiteral("Cannot copy \"%1\" to \"%2\".").arg(from, to));
    }

    void archiveScans() {
        hooks_.step(QStringLiteral("Archive: the scans of the transfer folder"));
        const QStringList waiting = zipFile(hooks_.zip(), journal_, hooks_);
        for (const QString& scan : waiting)
            hooks_.step(QStringLiteral("Archive: %1 waits for the next run (its archive is still being sent)")
                            .arg(scan));
    }

    void upload() {
        hooks_.step(QStringLiteral("Upload: to %1 port %2, folder Claim\\%3")
                        .arg(settings_.upload.host.isEmpty() ? QStringLiteral("(no server set)")
                                                             : settings_.upload.host)
                        .arg(settings_.upload.port)
                        .arg(settings_.upload.garageName));
        const UploadResult result = hooks_.runUpload(
            [this] { return uploadTransferFolder(settings_.upload, journal_, hooks_.uploadObserver()); });
        outcome_.receipt.files += result.files;
        if (!result.succeeded) outcome_.error = result.error;
    }

    void markConfirmedRows() {
        const auto& pending = journal_.pendingExport();
        if (!pending || !pending->confirmed()) return;
        const QList<RowKey> keys = pending->keys;
        rows_.markSent(keys);
        journal_.recordMarked();
        outcome_.receipt.rowsMarked += keys;
        hooks_.step(QStringLiteral("Rows marked as sent: %1").arg(keys.size()));
    }

    void finish() {
        outcome_.receipt.succeeded = outcome_.succeeded;
        try {
            journal_.compact(folders::TransferFolder);
            ReceiptLog(settings_.receiptsPath.isEmpty() ? ReceiptLog::defaultPath() : settings_.receiptsPath)
                .append(outcome_.receipt);
        } catch (const platform::Error& e) {
            if (outcome_.error.isEmpty()) outcome_.error = e.message();
            outcome_.succeeded = false;
        }
    }

    RowStore& rows_;
    const RunSettings& settings_;
    RunHooks& hooks_;
    TransferJournal journal_;
    RunOutcome outcome_;
};

} // namespace

RunOutcome runTransfer(RowStore& rows, const RunSettings& settings, RunHooks& hooks) {
    return Run(rows, settings, hooks).run();
}

QString failureMessage(const QString& error) {
    return error.isEmpty() ? QStringLiteral("Transfer failed")
                           : QStringLiteral("Transfer failed\n\n") + error;
}

} // namespace transfer
