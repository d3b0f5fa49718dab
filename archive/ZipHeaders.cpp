#include "archive/ZipHeaders.h"

#include <cstring>

namespace archive {

quint16 get16(const char* at) {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return quint16(b[0] | (b[1] << 8));
}

quint32 get32(const char* at) {
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

void put16(char* at, quint16 value) {
    at[0] = char(value & 0xFF);
    at[1] = char(value >> 8);
}

void put32(char* at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

quint32 dosDateTime(const QDateTime& instant) {
    const QDateTime local = instant.toLocalTime();
    QDate date = local.date();
    QTime time = local.time();
    if (!date.isValid() || date.year() < 1980) {
        date = QDate(1980, 1, 1);
        time = QTime(0, 0);
    } else if (date.year() > 2107) {
        date = QDate(2107, 12, 31);
        time = QTime(23, 59, 58);
    }
    const quint32 dosDate = quint32((date.year() - 1980) * 512 + date.month() * 32 + date.day());
    const quint32 dosTime = quint32(time.hour() * 2048 + time.minute() * 32 + time.second() / 2);
    return (dosDate << 16) | dosTime;
}

LocalHeader prepareLocalHeader(quint32 dosTime, quint32 uncompressedSize) {
    LocalHeader h{};
    put32(h.data(), kLocalSignature);
    put16(h.data() + local::VersionNeeded, kVersion20);
    put16(h.data() + local::Method, 8);
    put32(h.data() + local::Time, dosTime);
    put32(h.data() + local::UncompressedSize, uncompressedSize);
    return h;
}

CentralHeader centralHeaderFor(const LocalHeader& written, quint32 externalAttributes, quint32 localOffset) {
    CentralHeader c{};
    put32(c.data(), kCentralSignature);
    put16(c.data() + central::VersionMadeBy, kVersion20);
    put16(c.data() + central::VersionNeeded, kVersion20);
    std::memcpy(c.data() + central::Flags, written.data() + local::Flags, kLocalHeaderSize - local::Flags);
    put16(c.data() + central::ExtraLength, 0);
    put16(c.data() + central::InternalAttributes, 1);
    put32(c.data() + central::ExternalAttributes, externalAttributes & kExternalAttributeMask);
    put32(c.data() + central::LocalHeaderOffset, localOffset);
    return c;
}

QByteArray endRecord(quint16 entries, quint32 centralSize, quint32 centralOffset) {
    QByteArray r(kEndRecordSize, '\0');
    put32(r.data(), kEndSignature);
    put16(r.data() + endrecord::EntriesOnDisk, entries);
    put16(r.data() + endrecord::EntriesTotal, entries);
    put32(r.data() + endrecord::CentralSize, centralSize);
    put32(r.data() + endrecord::CentralOffset, centralOffset);
    return r;
}

} // namespace archive
