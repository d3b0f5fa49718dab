#include "transfer/TransferJournal.h"

#include "app/WorkingFolders.h"
#include "platform/DurableFile.h"
#include "platform/Files.h"

#include <QUrl>
#include <zlib.h>

namespace transfer {
namespace {

QByteArray encodeName(const QString& name) {
    return QUrl::toPercentEncoding(name);
}
QString decodeName(const QByteArray& field) {
    return QUrl::fromPercentEncoding(field);
}

QByteArray stampFields(const FileStamp& stamp) {
    return QByteArray::number(stamp.size) + ' ' + QByteArray::number(stamp.crc, 16);
}

bool parseStamp(const QByteArray& size, const QByteArray& crc, FileStamp* stamp) {
    bool sizeOk = false;
    bool crcOk = false;
    stamp->size = size.toLongLong(&sizeOk);
    stamp->crc = crc.toUInt(&crcOk, 16);
    return sizeOk && crcOk && stamp->size >= 0;
}

QByteArray keysField(const QList<RowKey>& keys) {
    QByteArrayList parts;
    for (const RowKey& key : keys)
        parts.append(encodeName(key.claimno) + '/' + QByteArray::number(key.seq));
    return parts.isEmpty() ? QByteArray("-") : parts.join(',');
}

std::optional<QList<RowKey>> parseKeys(const QByteArray& field) {
    QList<RowKey> keys;
    if (field == "-") return keys;
    for (const QByteArray& part : field.split(',')) {
        const qsizetype slash = part.lastIndexOf('/');
        bool ok = false;
        const int seq = part.mid(slash + 1).toInt(&ok);
        if (slash < 0 || !ok) return std::nullopt;
        keys.append(RowKey{decodeName(part.left(slash)), seq});
    }
    return keys;
}

// A line is its fields separated by spaces and the CRC-32 of that text: a line that a crash cut short
// or mixed with another never passes for a record.
QByteArray sealed(const QByteArray& text) {
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(text.constData()), uInt(text.size()));
    return text + ' ' + QByteArray::number(quint32(crc), 16) + '\n';
}

std::optional<QByteArray> unsealed(const QByteArray& line) {
    const qsizetype space = line.lastIndexOf(' ');
    if (space < 0) return std::nullopt;
    const QByteArray text = line.left(space);
    bool ok = false;
    const quint32 crc = line.mid(space + 1).toUInt(&ok, 16);
    if (!ok || crc != quint32(crc32(0, reinterpret_cast<const Bytef*>(text.constData()), uInt(text.size()))))
        return std::nullopt;
    return text;
}

QByteArray exportLine(const TransferJournal::ExportRecord& r) {
    return "export " + stampFields(r.table) + ' ' + stampFields(r.index) + ' ' +
           QByteArray(r.tableSent ? "1" : "0") + ' ' + QByteArray(r.indexSent ? "1" : "0") + ' ' +
           keysField(r.keys);
}

} // namespace

QString TransferJournal::defaultPath() {
    return folders::TableFolder + QStringLiteral("\\Transfer.jnl");
}

TransferJournal::TransferJournal(QString path) : path_(std::move(path)) {}

void TransferJournal::open() {
    files_.clear();
    export_.reset();
    const QByteArray bytes = platform::durable::readWhole(path_);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) break; // a last line without its end was cut short
        if (const std::optional<QByteArray> text = unsealed(bytes.mid(start, end - start)))
            apply(text->split(' '));
        start = end + 1;
    }
    platform::durable::replaceSynced(path_, encodeState({}));
}

void TransferJournal::apply(const QList<QByteArray>& f) {
    const QByteArray& kind = f.value(0);
    FileStamp stamp;
    if ((kind == "put" || kind == "sent") && f.size() == 4 && parseStamp(f[2], f[3], &stamp)) {
        const QString name = decodeName(f[1]);
        files_[name] = FileRecord{kind == "put" ? FileState::InFlight : FileState::Sent, stamp};
        if (kind == "sent" && export_) {
            if (name == TableFileName && stamp == export_->table) export_->tableSent = true;
            if (name == IndexFileName && stamp == export_->index) export_->indexSent = true;
        }
    } else if (kind == "export" && f.size() == 8) {
        ExportRecord record;
        std::optional<QList<RowKey>> keys = parseKeys(f[7]);
        if (!parseStamp(f[1], f[2], &record.table) || !parseStamp(f[3], f[4], &record.index) || !keys) return;
        record.tableSent = f[5] == "1";
        record.indexSent = f[6] == "1";
        record.keys = *keys;
        export_ = record;
    } else if (kind == "marked" && f.size() == 1) {
        export_.reset();
    }
}

QByteArray TransferJournal::encodeState(const QString& folder) const {
    QByteArray bytes;
    for (auto it = files_.cbegin(); it != files_.cend(); ++it) {
        const bool sent = it->state == FileState::Sent;
        if (sent && !folder.isEmpty() && !platform::files::fileExists(folder + '\\' + it.key())) continue;
        bytes +=
            sealed(QByteArray(sent ? "sent " : "put ") + encodeName(it.key()) + ' ' + stampFields(it->stamp));
    }
    if (export_) bytes += sealed(exportLine(*export_));
    return bytes;
}

void TransferJournal::compact(const QString& folder) {
    for (auto it = files_.begin(); it != files_.end();) {
        if (it->state == FileState::Sent && !platform::files::fileExists(folder + '\\' + it.key()))
            it = files_.erase(it);
        else
            ++it;
    }
    platform::durable::replaceSynced(path_, encodeState(folder));
}

std::optional<TransferJournal::FileRecord> TransferJournal::file(const QString& name) const {
    const auto it = files_.constFind(name);
    if (it == files_.cend()) return std::nullopt;
    return *it;
}

void TransferJournal::append(const QByteArray& text) {
    platform::durable::appendSynced(path_, sealed(text));
    apply(text.split(' '));
}

void TransferJournal::recordInFlight(const QString& name, const FileStamp& stamp) {
    append("put " + encodeName(name) + ' ' + stampFields(stamp));
}

void TransferJournal::recordSent(const QString& name, const FileStamp& stamp) {
    append("sent " + encodeName(name) + ' ' + stampFields(stamp));
}

void TransferJournal::recordExport(const ExportRecord& record) {
    append(exportLine(record));
}

void TransferJournal::recordMarked() {
    append("marked");
}

} // namespace transfer
