#include "transfer/Receipts.h"

#include "app/WorkingFolders.h"
#include "platform/DurableFile.h"

namespace transfer {
namespace {

const QString kReceiptStart = QStringLiteral("== ");

QString howText(const SentFile& file) {
    switch (file.how) {
    case SentFile::How::Sent:
        return QStringLiteral("sent");
    case SentFile::How::Resumed:
        return QStringLiteral("resumed from byte %1").arg(file.from);
    case SentFile::How::Replaced:
        return QStringLiteral("sent whole over its broken-off part");
    case SentFile::How::AlreadySent:
        return QStringLiteral("sent by an earlier run, deleted now");
    }
    return {};
}

} // namespace

QString ReceiptLog::defaultPath() {
    return folders::TableFolder + QStringLiteral("\\Transfer.log");
}

QString ReceiptLog::format(const Receipt& r) {
    QString text = kReceiptStart + r.time.toString(Qt::ISODate) + ' ' +
                   (r.succeeded ? QStringLiteral("Transfer Complete") : QStringLiteral("Transfer failed")) +
                   '\n';
    if (!r.succeeded && !r.error.isEmpty()) {
        QString error = r.error.trimmed();
        error.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ');
        text += QStringLiteral("error: ") + error + '\n';
    }
    for (const SentFile& file : r.files)
        text += QStringLiteral("file %1 %2 bytes CRC-32 %3 %4\n")
                    .arg(file.name)
                    .arg(file.stamp.size)
                    .arg(crcText(file.stamp.crc), howText(file));
    QStringList keys;
    for (const RowKey& key : r.rowsMarked)
        keys.append(key.claimno + '/' + QString::number(key.seq));
    text += QStringLiteral("rows marked: %1%2\n")
                .arg(r.rowsMarked.size())
                .arg(keys.isEmpty() ? QString() : ' ' + keys.join(' '));
    return text;
}

void ReceiptLog::append(const Receipt& receipt) {
    platform::durable::appendSynced(path_, format(receipt).toUtf8());
}

QString ReceiptLog::last(int count) const {
    const QString text = QString::fromUtf8(platform::durable::readWhole(path_));
    qsizetype start = text.size();
    for (int found = 0; found < count && start > 0;) {
        const qsizetype at = text.lastIndexOf(kReceiptStart, start - 1);
        if (at < 0) {
            start = 0;
            break;
        }
        if (at == 0 || text.at(at - 1) == '\n') ++found;
        start = at;
    }
    return text.mid(start);
}

} // namespace transfer
