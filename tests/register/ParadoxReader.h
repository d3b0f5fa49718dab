#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// A reader of Paradox table (.DB) and primary index (.PX) files written from the published file layout,
// sharing no code with the library that writes them. It checks the structure as it reads and records
// every inconsistency it finds in `problems`.
namespace paradoxcheck {

struct Field {
    int type = 0; // 1 Alpha, 2 Date, 3 Short, 9 Logical, ...
    int size = 0;
    QString name;
};

struct Block {
    int number = 0;
    int records = 0;
};

struct File {
    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0; // 0 keyed table, 1 primary index, 2 table without key
    int blockSize = 0;
    int recordCount = 0;
    int usedBlocks = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int indexRoot = 0;
    int indexLevels = 0;
    int keyFields = 0;
    int version = 0;
    int codePage = 0;
    QString tableName;
    QString sortOrder;
    QList<Field> fields;
    QList<Block> blocks;          // the data blocks in list order
    QList<QList<QByteArray>> raw; // every record's fields as stored
    QStringList problems;
};

// Reads a whole file. A file too short for its header or with a bad block list gets a problem.
File read(const QString& path);

// A stored field value: QString (Alpha, cp874), QDate (Date), int (Short), bool (Logical); a null
// QVariant for a blank value.
QVariant decode(const Field& field, const QByteArray& bytes);

// Checks that index names the table's data blocks in order with their record counts and first keys.
QStringList checkIndex(const File& table, const File& index);

} // namespace paradoxcheck
