#pragma once

#include "archive/ZipTypes.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>

// Encodes one new member's data area: stored or raw-deflated, with its CRC-32.
namespace archive {

inline constexpr qint64 kDeflateReadBlock = 131072;
inline constexpr qint64 kDeflateWriteBlock = 131070;
inline constexpr qint64 kStoreBlock = 102400;
inline constexpr qint64 kTrialLimit =
    257; // files shorter than this are stored when deflate does not shrink them

struct EncoderSettings {
    TDeflateType deflateType = dtDeflateN;
    QStringList storeFilesOfType;
};

// What the running job lends the encoder.
struct EncoderJob {
    std::function<void()> beforeBlock; // lets window messages through before each block is read
    std::function<bool()> cancelled;
    std::function<void(qint64 consumed, qint64 fileSize)> progress;
    qint64* bytesLeft = nullptr;
};

enum class EncodeOutcome { Done, OpenFailed, ReadFailed, WriteFailed, Cancelled };

struct EncodedMember {
    EncodeOutcome outcome = EncodeOutcome::OpenFailed;
    quint32 crc = 0;
    quint16 method = 0;
    quint16 flags = 0;
    qint64 uncompressedSize = 0;
};

// The extension of a stored name: from its last "." on, when that comes after the last "\", "/" or ":".
QString extensionOf(const QString& storedName);
bool isStoredType(const QString& storedName, const QStringList& storeFilesOfType);

// The CRC-32 of a whole file (0 for an empty one); false when it cannot be read.
bool crcOfFile(const QString& hostPath, quint32& crc);

// Writes the data area of `hostPath` at the current position of `out`.
EncodedMember encodeMember(const QString& hostPath, const QString& storedName,
                           const EncoderSettings& settings, QIODevice& out, EncoderJob& job);

} // namespace archive
