#pragma once

#include "transfer/FileStamp.h"
#include "transfer/RowStore.h"

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace transfer {

// What the transfer run has told the disk about its files, kept beside the register's tables so that
// a run cut off at any point (a power cut, a kill) is finished right by the next one:
// - before a file goes to the server its name, size and CRC-32 are recorded ("in flight"); after the
//   server has confirmed it, that it was sent;
// - the export files carry the keys of the rows they hold, and whether each file has been confirmed,
//   until those rows are marked as sent.
// Each record is one line, appended and flushed to disk before the step it announces; a line cut short
// by a crash is ignored. open() rewrites the file as a whole from what it read, so later appends
// never follow a cut line.
class TransferJournal {
public:
    enum class FileState { InFlight, Sent };
    struct FileRecord {
        FileState state = FileState::InFlight;
        FileStamp stamp;
    };
    struct ExportRecord {
        FileStamp table; // Vorlex2.DB as copied into the transfer folder
        FileStamp index; // Vorlex2.PX
        bool tableSent = false;
        bool indexSent = false;
        QList<RowKey> keys;
        bool confirmed() const { return tableSent && indexSent; }
    };

    static inline const QString TableFileName = QStringLiteral("Vorlex2.DB");
    static inline const QString IndexFileName = QStringLiteral("Vorlex2.PX");

    // The journal's system path, C:\claim\db\Transfer.jnl.
    static QString defaultPath();

    explicit TransferJournal(QString path = defaultPath());

    // Reads the journal (none yet: empty) and rewrites it whole.
    void open();
    // Writes the journal anew from the present state, leaving out sent files that are no longer in
    // `folder` (the transfer folder).
    void compact(const QString& folder);

    std::optional<FileRecord> file(const QString& name) const;
    const QMap<QString, FileRecord>& files() const { return files_; }
    const std::optional<ExportRecord>& pendingExport() const { return export_; }

    void recordInFlight(const QString& name, const FileStamp& stamp);
    void recordSent(const QString& name, const FileStamp& stamp);
    void recordExport(const ExportRecord& record);
    // The rows of the pending export are marked as sent: the export record ends.
    void recordMarked();
    // The pending export is dropped without marking (its files are gone unsent).
    void recordExportDropped() { recordMarked(); }

private:
    void append(const QByteArray& line);
    void apply(const QList<QByteArray>& fields);
    QByteArray encodeState(const QString& folder) const;

    QString path_;
    QMap<QString, FileRecord> files_;
    std::optional<ExportRecord> export_;
};

} // namespace transfer
