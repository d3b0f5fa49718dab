#include "tests/register/ParadoxReader.h"

#include "platform/Codepage874.h"

#include <QDate>
#include <QFile>

namespace paradoxcheck {
namespace {

int u8(const QByteArray& b, int at) {
    return at < b.size() ? quint8(b[at]) : 0;
}
int u16(const QByteArray& b, int at) {
    return u8(b, at) | u8(b, at + 1) << 8;
}
qint16 s16(const QByteArray& b, int at) {
    return qint16(u16(b, at));
}
qint32 s32(const QByteArray& b, int at) {
    return qint32(quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16);
}

QByteArray cString(const QByteArray& b, int at, int* end = nullptr) {
    int stop = at;
    while (stop < b.size() && b[stop] != '\0')
        ++stop;
    if (end) *end = stop + 1;
    return b.mid(at, stop - at);
}

} // namespace

File read(const QString& path) {
    File f;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        f.problems << "cannot open " + path;
        return f;
    }
    const QByteArray b = file.readAll();
    if (b.size() < 0x58) {
        f.problems << "file shorter than its header";
        return f;
    }
    f.recordSize = u16(b, 0x00);
    f.headerSize = u16(b, 0x02);
    f.fileType = u8(b, 0x04);
    f.blockSize = u8(b, 0x05) * 1024;
    f.recordCount = s32(b, 0x06);
    f.usedBlocks = u16(b, 0x0A);
    f.fileBlocks = u16(b, 0x0C);
    f.firstBlock = u16(b, 0x0E);
    f.lastBlock = u16(b, 0x10);
    f.indexRoot = u16(b, 0x1E);
    f.indexLevels = u8(b, 0x20);
    const int fieldCount = u16(b, 0x21);
    f.keyFields = u16(b, 0x23);
    f.version = u8(b, 0x39);
    if (f.headerSize < 0x58 || f.headerSize > b.size()) f.problems << "header size outside the file";
    if (f.blockSize == 0) f.problems << "block size 0";

    // Tables of version 4 and later carry a second header part; an index file does not.
    const bool dataHeader = f.fileType != 1 && f.version >= 5;
    if (dataHeader) f.codePage = u16(b, 0x6A);
    int at = dataHeader ? 0x78 : 0x58;
    for (int i = 0; i < fieldCount; ++i)
        f.fields.append({u8(b, at + 2 * i), u8(b, at + 2 * i + 1), QString()});
    at += 2 * fieldCount;
    at += 4;                                   // pointer to the table name
    if (f.fileType != 1) at += 4 * fieldCount; // pointers to the field names
    const int nameLength = f.version >= 0x0C ? 261 : 79;
    f.tableName = QString::fromLatin1(cString(b, at));
    at += nameLength;
    if (f.fileType != 1) {
        for (Field& field : f.fields)
            field.name = QString::fromLatin1(cString(b, at, &at));
        at += 2 * fieldCount; // field numbers
        f.sortOrder = QString::fromLatin1(cString(b, at));
    }
    int total = 0;
    for (const Field& field : f.fields)
        total += field.size;
    // An index record holds the key fields and three more words: block, record count and one unused.
    if (f.fileType == 1) total += 6;
    if (total != f.recordSize)
        f.problems << QString("record size %1, fields add up to %2").arg(f.recordSize).arg(total);
    if (f.fileBlocks * f.blockSize + f.headerSize != b.size())
        f.problems << QString("file of %1 bytes, header and %2 blocks make %3")
                          .arg(b.size())
                          .arg(f.fileBlocks)
                          .arg(f.fileBlocks * f.blockSize + f.headerSize);

    // Data blocks: a list from the first block; each begins with next, previous and the offset of its last
    // record (negative when the block is empty).
    int seen = 0;
    int previous = 0;
    for (int block = f.firstBlock; block != 0 && f.blockSize > 0;) {
        if (++seen > f.fileBlocks) {
            f.problems << "block list runs in a circle";
            break;
        }
        const int start = f.headerSize + (block - 1) * f.blockSize;
        if (block < 1 || start + f.blockSize > b.size()) {
            f.problems << QString("block %1 outside the file").arg(block);
            break;
        }
        const int next = u16(b, start);
        if (u16(b, start + 2) != previous)
            f.problems << QString("block %1 names the wrong previous block").arg(block);
        const int lastOffset = s16(b, start + 4);
        const int records = lastOffset < 0 ? 0 : lastOffset / f.recordSize + 1;
        if (lastOffset >= 0 && lastOffset % f.recordSize != 0)
            f.problems << QString("block %1: last record offset %2 not a multiple of the record size")
                              .arg(block)
                              .arg(lastOffset);
        if (6 + records * f.recordSize > f.blockSize) f.problems << QString("block %1 overfull").arg(block);
        f.blocks.append({block, records});
        for (int r = 0; r < records; ++r) {
            QList<QByteArray> rec;
            int offset = start + 6 + r * f.recordSize;
            for (const Field& field : f.fields) {
                rec.append(b.mid(offset, field.size));
                offset += field.size;
            }
            if (f.fileType == 1) rec.append(b.mid(offset, 6));
            f.raw.append(rec);
        }
        if (next == 0 && block != f.lastBlock)
            f.problems << "the last block of the list is not the header's last block";
        previous = block;
        block = next;
    }
    if (f.raw.size() != f.recordCount)
        f.problems
            << QString("header counts %1 records, blocks hold %2").arg(f.recordCount).arg(f.raw.size());
    return f;
}

QVariant decode(const Field& field, const QByteArray& bytes) {
    switch (field.type) {
    case 1: {
        const int end = bytes.indexOf('\0');
        const QByteArray text = end < 0 ? bytes : bytes.left(end);
        return text.isEmpty() ? QVariant() : QVariant(platform::cp874::decode(text));
    }
    case 2: {
        const quint32 v = quint32(u8(bytes, 0)) << 24 | quint32(u8(bytes, 1)) << 16 |
                          quint32(u8(bytes, 2)) << 8 | quint32(u8(bytes, 3));
        if (v == 0) return QVariant();
        const qint32 days = qint32(v ^ 0x80000000u); // day 1 is 1 January of year 1
        return QDate(1, 1, 1).addDays(days - 1);
    }
    case 3: {
        const quint16 v = quint16(u8(bytes, 0) << 8 | u8(bytes, 1));
        if (v == 0) return QVariant();
        return int(qint16(v ^ 0x8000));
    }
    case 9:
        if (u8(bytes, 0) == 0) return QVariant();
        return u8(bytes, 0) == 0x81;
    default:
        return QVariant(bytes);
    }
}

QStringList checkIndex(const File& table, const File& index) {
    QStringList problems;
    if (index.fileType != 1) problems << "the index is not a primary index file";
    if (index.fields.size() != table.keyFields) problems << "the index has another number of key fields";
    for (int i = 0; i < index.fields.size() && i < table.fields.size(); ++i)
        if (index.fields[i].type != table.fields[i].type || index.fields[i].size != table.fields[i].size)
            problems << QString("index field %1 differs from the table's").arg(i + 1);
    // With one index level every index record stands for one data block of the table, in list order.
    QList<Block> nonEmpty;
    int first = 0;
    QList<QList<QByteArray>> firstKeys;
    for (const Block& block : table.blocks) {
        if (block.records > 0) {
            nonEmpty.append(block);
            QList<QByteArray> key = table.raw[first].mid(0, table.keyFields);
            firstKeys.append(key);
        }
        first += block.records;
    }
    if (index.indexLevels > 1) return problems << "index with more than one level: not checked here";
    if (index.raw.size() != nonEmpty.size())
        return problems << QString("the index has %1 entries for %2 data blocks")
                               .arg(index.raw.size())
                               .arg(nonEmpty.size());
    for (int i = 0; i < nonEmpty.size(); ++i) {
        const QByteArray tail = index.raw[i].last();
        const int block = int(quint16(u8(tail, 0) << 8 | u8(tail, 1)) ^ 0x8000);
        const int count = int(quint16(u8(tail, 2) << 8 | u8(tail, 3)) ^ 0x8000);
        if (block != nonEmpty[i].number)
            problems
                << QString("index entry %1 names block %2, not %3").arg(i).arg(block).arg(nonEmpty[i].number);
        if (count != nonEmpty[i].records)
            problems << QString("index entry %1 counts %2 records, not %3")
                            .arg(i)
                            .arg(count)
                            .arg(nonEmpty[i].records);
        if (index.raw[i].mid(0, table.keyFields) != firstKeys[i])
            problems << QString("index entry %1 has another key than its block's first record").arg(i);
    }
    return problems;
}

} // namespace paradoxcheck
