#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>
#include <array>

// Byte images of the ZIP records this writer reads and writes; every field little-endian.
namespace archive {

inline constexpr quint32 kLocalSignature = 0x04034B50;
inline constexpr quint32 kCentralSignature = 0x02014B50;
inline constexpr quint32 kEndSignature = 0x06054B50;
inline constexpr quint32 kDescriptorSignature = 0x08074B50;
inline constexpr int kLocalHeaderSize = 30;
inline constexpr int kCentralHeaderSize = 46;
inline constexpr int kEndRecordSize = 22;
inline constexpr quint16 kVersion20 = 20;
inline constexpr quint32 kExternalAttributeMask = 0x40BF;
inline constexpr quint16 kFlagDataDescriptor = 0x08;

quint16 get16(const char* at);
quint32 get32(const char* at);
void put16(char* at, quint16 value);
void put32(char* at, quint32 value);

using LocalHeader = std::array<char, kLocalHeaderSize>;
using CentralHeader = std::array<char, kCentralHeaderSize>;

// Offsets of the local header's fields.
namespace local {
inline constexpr int VersionNeeded = 4, Flags = 6, Method = 8, Time = 10, Date = 12, Crc = 14,
                     CompressedSize = 18, UncompressedSize = 22, NameLength = 26, ExtraLength = 28;
}
// Offsets of the central header's fields.
namespace central {
inline constexpr int VersionMadeBy = 4, VersionNeeded = 6, Flags = 8, Method = 10, Time = 12, Date = 14,
                     Crc = 16, CompressedSize = 20, UncompressedSize = 24, NameLength = 28, ExtraLength = 30,
                     CommentLength = 32, DiskStart = 34, InternalAttributes = 36, ExternalAttributes = 38,
                     LocalHeaderOffset = 42;
}
// Offsets of the end record's fields.
namespace endrecord {
inline constexpr int DiskNumber = 4, CentralDisk = 6, EntriesOnDisk = 8, EntriesTotal = 10, CentralSize = 12,
                     CentralOffset = 16, CommentLength = 20;
}

// Date in the high 16 bits, time in the low 16 bits, from the instant in local time; seconds round down to
// even. Instants before 1980 or after 2107 are clamped to the first or last the format can hold.
quint32 dosDateTime(const QDateTime& instant);

// A new member's local header before its data is known: version 20, method 8, its time and size.
LocalHeader prepareLocalHeader(quint32 dosTime, quint32 uncompressedSize);
// The central header of a written member: bytes 8 to 31 from its local header, made by MS-DOS 2.0,
// internal attributes 1.
CentralHeader centralHeaderFor(const LocalHeader& written, quint32 externalAttributes, quint32 localOffset);
QByteArray endRecord(quint16 entries, quint32 centralSize, quint32 centralOffset);

} // namespace archive
