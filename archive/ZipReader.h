#pragma once

#include "archive/ZipHeaders.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <functional>

// Reading an archive that a later job extends: its members, each checked to lie wholly inside the file.
namespace archive {

// Random access to the old archive's bytes.
class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual qint64 size() const = 0;
    // Reads exactly `length` bytes at `offset`; false when they are not all there or reading fails.
    virtual bool readAt(qint64 offset, char* data, qint64 length) = 0;
};

class MemorySource : public ArchiveSource {
public:
    explicit MemorySource(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }
    bool readAt(qint64 offset, char* data, qint64 length) override;

private:
    QByteArray bytes_;
};

class FileSource : public ArchiveSource {
public:
    explicit FileSource(QFile& file) : file_(file), size_(file.size()) {}
    qint64 size() const override { return size_; }
    bool readAt(qint64 offset, char* data, qint64 length) override;

private:
    QFile& file_;
    qint64 size_;
};

// A member of the old archive, carried into the new one unchanged.
struct KeptMember {
    QString name;       // stored name read from the code page, "/" turned into "\"
    QByteArray rawName; // the stored name's bytes as they are in the archive
    CentralHeader header{};
    QByteArray extra;
    QByteArray comment;
    qint64 localOffset = 0; // where its local header starts in the old archive
    qint64 copyLength = 0;  // local header, name, extra field, data and any data descriptor
};

struct ArchiveContents {
    bool readable = false;
    QString problem; // why the file is not a readable archive
    QList<KeptMember> members;
};

ArchiveContents readArchive(ArchiveSource& source);

inline constexpr qint64 kCopyBlockSize = 100000;

// Copies a kept member's bytes in blocks of up to kCopyBlockSize; `beforeBlock` runs before each block is
// read with its length. False when a read or `write` fails.
bool copyMember(ArchiveSource& source, const KeptMember& member,
                const std::function<bool(const char* data, qint64 length)>& write,
                const std::function<void(qint64 length)>& beforeBlock = {});

} // namespace archive
