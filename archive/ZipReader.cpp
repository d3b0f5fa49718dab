#include "archive/ZipReader.h"

#include "platform/Codepage874.h"

#include <algorithm>
#include <cstring>

namespace archive {
namespace {

constexpr qint64 kMaxEndRecordSearch = kEndRecordSize + 0xFFFF;
constexpr qint64 kLocalHeaderSearch = 4 * 32768;

ArchiveContents unreadable(const QString& problem) {
    ArchiveContents contents;
    contents.problem = problem;
    return contents;
}

bool hasSignature(ArchiveSource& source, qint64 offset, quint32 signature) {
    char bytes[4];
    return offset >= 0 && source.readAt(offset, bytes, 4) && get32(bytes) == signature;
}

QString nameFromBytes(const QByteArray& raw) {
    return platform::cp874::decode(raw).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// Checks the member's local header at `member.localOffset` and works out how many bytes the member takes.
bool measureLocalMember(ArchiveSource& source, KeptMember& member, QString& problem) {
    LocalHeader local{};
    if (member.localOffset < 0 || !source.readAt(member.localOffset, local.data(), kLocalHeaderSize) ||
        get32(local.data()) != kLocalSignature) {
        problem = QStringLiteral("no local header at the offset of %1").arg(member.name);
        return false;
    }
    quint32 compressed = get32(local.data() + local::CompressedSize);
    if (compressed == 0 || get32(local.data() + local::UncompressedSize) == 0)
        compressed = get32(member.header.data() + central::CompressedSize);
    qint64 length = qint64(kLocalHeaderSize) + get16(local.data() + local::NameLength) +
                    get16(local.data() + local::ExtraLength) + compressed;
    if (get16(local.data() + local::Flags) & kFlagDataDescriptor)
        length += hasSignature(source, member.localOffset + length, kDescriptorSignature) ? 16 : 12;
    if (member.localOffset + length > source.size()) {
        problem = QStringLiteral("%1 runs past the end of the file").arg(member.name);
        return false;
    }
    member.copyLength = length;
    return true;
}

// Members taken from the local headers alone, for an archive whose central directory cannot be found.
ArchiveContents readLocalHeaders(ArchiveSource& source) {
    QByteArray head(std::min(source.size(), kLocalHeaderSearch), '\0');
    if (!source.readAt(0, head.data(), head.size())) return unreadable(QStringLiteral("read error"));
    const qsizetype first = head.indexOf(QByteArray("PK\x03\x04", 4));
    if (first < 0) return unreadable(QStringLiteral("no central directory and no local header"));
    ArchiveContents contents;
    qint64 at = first;
    LocalHeader local{};
    while (at + kLocalHeaderSize <= source.size() && source.readAt(at, local.data(), kLocalHeaderSize) &&
           get32(local.data()) == kLocalSignature) {
        if (get16(local.data() + local::Flags) & kFlagDataDescriptor)
            return unreadable(QStringLiteral("a member without sizes in its local header"));
        KeptMember member;
        member.rawName.resize(get16(local.data() + local::NameLength));
        if (!source.readAt(at + kLocalHeaderSize, member.rawName.data(), member.rawName.size()))
            return unreadable(QStringLiteral("a local header runs past the end of the file"));
        member.name = nameFromBytes(member.rawName);
        member.header = centralHeaderFor(local, 0, 0);
        member.localOffset = at;
        member.copyLength = qint64(kLocalHeaderSize) + member.rawName.size() +
                            get16(local.data() + local::ExtraLength) +
                            get32(local.data() + local::CompressedSize);
        if (at + member.copyLength > source.size())
            return unreadable(QStringLiteral("%1 runs past the end of the file").arg(member.name));
        contents.members.append(member);
        at += member.copyLength;
    }
    contents.readable = true;
    return contents;
}

} // namespace

bool MemorySource::readAt(qint64 offset, char* data, qint64 length) {
    if (offset < 0 || length < 0 || offset > bytes_.size() || length > bytes_.size() - offset) return false;
    if (length > 0) std::memcpy(data, bytes_.constData() + offset, size_t(length));
    return true;
}

bool FileSource::readAt(qint64 offset, char* data, qint64 length) {
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset) return false;
    if (!file_.seek(offset)) return false;
    while (length > 0) {
        const qint64 got = file_.read(data, length);
        if (got <= 0) return false;
        data += got;
        length -= got;
    }
    return true;
}

ArchiveContents readArchive(ArchiveSource& source) {
    const qint64 size = source.size();
    if (size == 0) return ArchiveContents{true, {}, {}};
    if (size < kEndRecordSize) return unreadable(QStringLiteral("too short for a ZIP archive"));

    const qint64 tailStart = size - std::min(size, kMaxEndRecordSearch);
    QByteArray tail(size - tailStart, '\0');
    if (!source.readAt(tailStart, tail.data(), tail.size())) return unreadable(QStringLiteral("read error"));
    qint64 endAt = -1;
    for (qint64 i = tail.size() - kEndRecordSize; i >= 0; --i) {
        const char* at = tail.constData() + i;
        if (get32(at) == kEndSignature &&
            i + kEndRecordSize + get16(at + endrecord::CommentLength) <= tail.size()) {
            endAt = tailStart + i;
            break;
        }
    }
    if (endAt < 0) return unreadable(QStringLiteral("no end of central directory record"));
    const char* end = tail.constData() + (endAt - tailStart);
    const qint64 centralSize = get32(end + endrecord::CentralSize);
    const qint64 recordedOffset = get32(end + endrecord::CentralOffset);
    if (centralSize == 0 && get16(end + endrecord::EntriesTotal) == 0) return ArchiveContents{true, {}, {}};

    qint64 centralStart = recordedOffset;
    qint64 dataStart = 0;
    const auto holdsCentralHeader = [&](qint64 offset) {
        return offset >= 0 && offset + kCentralHeaderSize <= endAt &&
               hasSignature(source, offset, kCentralSignature);
    };
    if (!holdsCentralHeader(centralStart)) {
        centralStart = endAt - centralSize;
        if (!holdsCentralHeader(centralStart)) return readLocalHeaders(source);
        dataStart = centralStart - recordedOffset;
    }

    ArchiveContents contents;
    qint64 at = centralStart;
    qint64 memberBytes = 0;
    QString problem;
    while (at + kCentralHeaderSize <= endAt) {
        KeptMember member;
        if (!source.readAt(at, member.header.data(), kCentralHeaderSize))
            return unreadable(QStringLiteral("read error"));
        if (get32(member.header.data()) != kCentralSignature) break;
        const qint64 nameLength = get16(member.header.data() + central::NameLength);
        const qint64 extraLength = get16(member.header.data() + central::ExtraLength);
        const qint64 commentLength = get16(member.header.data() + central::CommentLength);
        const qint64 next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > endAt) return unreadable(QStringLiteral("the central directory runs into its end record"));
        member.rawName.resize(nameLength);
        member.extra.resize(extraLength);
        member.comment.resize(commentLength);
        if (!source.readAt(at + kCentralHeaderSize, member.rawName.data(), nameLength) ||
            !source.readAt(at + kCentralHeaderSize + nameLength, member.extra.data(), extraLength) ||
            !source.readAt(at + kCentralHeaderSize + nameLength + extraLength, member.comment.data(),
                           commentLength))
            return unreadable(QStringLiteral("read error"));
        member.name = nameFromBytes(member.rawName);
        member.localOffset = dataStart + get32(member.header.data() + central::LocalHeaderOffset);
        if (!measureLocalMember(source, member, problem)) return unreadable(problem);
        // Members of a sound archive never share bytes; a directory that points at the same bytes over and
        // over would make the new archive many times the old one.
        memberBytes += member.copyLength;
        if (memberBytes > source.size()) return unreadable(QStringLiteral("members overlap"));
        contents.members.append(member);
        at = next;
    }
    contents.readable = true;
    return contents;
}

bool copyMember(ArchiveSource& source, const KeptMember& member,
                const std::function<bool(const char* data, qint64 length)>& write,
                const std::function<void(qint64 length)>& beforeBlock) {
    QByteArray block(int(std::min(member.copyLength, kCopyBlockSize)), Qt::Uninitialized);
    for (qint64 done = 0; done < member.copyLength;) {
        const qint64 length = std::min(kCopyBlockSize, member.copyLength - done);
        if (beforeBlock) beforeBlock(length);
        if (!source.readAt(member.localOffset + done, block.data(), length) ||
            !write(block.constData(), length))
            return false;
        done += length;
    }
    return true;
}

} // namespace archive
