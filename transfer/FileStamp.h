#pragma once

#include <QString>
#include <QtGlobal>

namespace transfer {

// What identifies the content of a file to send: its size and CRC-32.
struct FileStamp {
    qint64 size = 0;
    quint32 crc = 0;
    bool operator==(const FileStamp&) const = default;
};

// Reads the whole file (a system path) once; an Error naming it when it cannot be read.
FileStamp stampOf(const QString& path);
QString crcText(quint32 crc); // eight hex digits

} // namespace transfer
