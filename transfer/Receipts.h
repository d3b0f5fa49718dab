#pragma once

#include "transfer/FileStamp.h"
#include "transfer/RowStore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace transfer {

// One file that the run settled with the server.
struct SentFile {
    enum class How {
        Sent,        // sent whole by APPE
        Resumed,     // the rest sent by APPE after the part the server held from a broken-off run
        Replaced,    // sent whole by STOR over our own part from a broken-off run (the server could not
                     // tell its size, or the file had changed since)
        AlreadySent, // the server had confirmed it in an earlier run; only deleted here
    };
    QString name;
    FileStamp stamp;
    How how = How::Sent;
    qint64 from = 0; // for Resumed: the first byte sent
};

// What one run did, as the receipts log keeps it.
struct Receipt {
    QDateTime time;
    bool succeeded = false;
    QString error; // the first error's text when the run failed
    QList<SentFile> files;
    QList<RowKey> rowsMarked;
};

// The receipts log beside the register's tables (C:\claim\db\Transfer.log): one block of lines per run,
// appended and flushed to disk at the end of the run.
class ReceiptLog {
public:
    static QString defaultPath();
    explicit ReceiptLog(QString path = defaultPath()) : path_(std::move(path)) {}

    void append(const Receipt& receipt);
    // The text of the last `count` receipts, oldest first.
    QString last(int count) const;

    static QString format(const Receipt& receipt);

private:
    QString path_;
};

} // namespace transfer
