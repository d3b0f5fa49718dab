#include "archive/MemberEncoder.h"

#include <QFile>
#include <zlib.h>

#include <algorithm>

namespace archive {
namespace {

using Sink = std::function<bool(const char* data, qint64 length)>;

int zlibLevel(TDeflateType type) {
    switch (type) {
    case dtDeflateF:
        return 1;
    case dtDeflateX:
        return 9;
    default:
        return Z_DEFAULT_COMPRESSION;
    }
}

quint16 flagBits(TDeflateType type) {
    switch (type) {
    case dtDeflateF:
        return 0x04;
    case dtDeflateX:
        return 0x02;
    default:
        return 0;
    }
}

bool readFully(QFile& file, char* data, qint64 length) {
    while (length > 0) {
        const qint64 got = file.read(data, length);
        if (got <= 0) return false;
        data += got;
        length -= got;
    }
    return true;
}

// Frees the stream however the member ends.
struct DeflateStream {
    z_stream z{};
    bool ready = false;
    explicit DeflateStream(int level) {
        ready = deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~DeflateStream() {
        if (ready) deflateEnd(&z);
    }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
};

EncodeOutcome deflateFile(QFile& source, qint64 size, int level, const Sink& sink, EncoderJob& job,
                          uLong& crc) {
    DeflateStream stream(level);
    if (!stream.ready) return EncodeOutcome::WriteFailed;
    z_stream& z = stream.z;
    QByteArray in(int(std::min(size, kDeflateReadBlock)), Qt::Uninitialized);
    QByteArray out(int(kDeflateWriteBlock), Qt::Uninitialized);
    const auto outStart = reinterpret_cast<Bytef*>(out.data());
    z.next_out = outStart;
    z.avail_out = uInt(kDeflateWriteBlock);
    crc = crc32(0L, Z_NULL, 0);

    for (qint64 remaining = size; remaining > 0;) {
        job.beforeBlock();
        if (job.cancelled()) return EncodeOutcome::Cancelled;
        const qint64 length = std::min(kDeflateReadBlock, remaining);
        if (!readFully(source, in.data(), length)) return EncodeOutcome::ReadFailed;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(in.constData()), uInt(length));
        *job.bytesLeft -= length;
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(length);
        do {
            if (deflate(&z, Z_NO_FLUSH) == Z_STREAM_ERROR) return EncodeOutcome::WriteFailed;
            job.progress(qint64(z.total_in), size);
            if (z.avail_out == 0) {
                if (!sink(out.constData(), kDeflateWriteBlock)) return EncodeOutcome::WriteFailed;
                z.next_out = outStart;
                z.avail_out = uInt(kDeflateWriteBlock);
            }
        } while (z.avail_in > 0);
        remaining -= length;
    }
    for (;;) {
        const int result = deflate(&z, Z_FINISH);
        if (result != Z_OK && result != Z_STREAM_END) return EncodeOutcome::WriteFailed;
        if (z.avail_out == 0 || result == Z_STREAM_END) {
            const qint64 pending = kDeflateWriteBlock - z.avail_out;
            if (pending > 0 && !sink(out.constData(), pending)) return EncodeOutcome::WriteFailed;
            z.next_out = outStart;
            z.avail_out = uInt(kDeflateWriteBlock);
        }
        if (result == Z_STREAM_END) return EncodeOutcome::Done;
    }
}

EncodeOutcome storeFile(QFile& source, qint64 size, const Sink& sink, EncoderJob& job, uLong& crc) {
    QByteArray block(int(std::min(std::max<qint64>(size, 1), kStoreBlock)), Qt::Uninitialized);
    crc = crc32(0L, Z_NULL, 0);
    for (qint64 done = 0; done < size;) {
        job.beforeBlock();
        if (job.cancelled()) return EncodeOutcome::Cancelled;
        const qint64 length = std::min(kStoreBlock, size - done);
        if (!readFully(source, block.data(), length)) return EncodeOutcome::ReadFailed;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(block.constData()), uInt(length));
        *job.bytesLeft -= length;
        if (!sink(block.constData(), length)) return EncodeOutcome::WriteFailed;
        done += length;
        job.progress(done, size);
    }
    return EncodeOutcome::Done;
}

} // namespace

QString extensionOf(const QString& storedName) {
    const qsizetype dot = storedName.lastIndexOf(QLatin1Char('.'));
    const qsizetype separator =
        std::max({storedName.lastIndexOf(QLatin1Char('\\')), storedName.lastIndexOf(QLatin1Char('/')),
                  storedName.lastIndexOf(QLatin1Char(':'))});
    return dot > separator ? storedName.mid(dot) : QString();
}

bool isStoredType(const QString& storedName, const QStringList& storeFilesOfType) {
    const QString extension = extensionOf(storedName);
    if (extension.isEmpty()) return false;
    return std::any_of(storeFilesOfType.begin(), storeFilesOfType.end(), [&](const QString& entry) {
        return entry.compare(extension, Qt::CaseInsensitive) == 0;
    });
}

bool crcOfFile(const QString& hostPath, quint32& crc) {
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return false;
    QByteArray block(int(kDeflateReadBlock), Qt::Uninitialized);
    uLong running = crc32(0L, Z_NULL, 0);
    for (qint64 got; (got = file.read(block.data(), block.size())) != 0;) {
        if (got < 0) return false;
        running = crc32(running, reinterpret_cast<const Bytef*>(block.constData()), uInt(got));
    }
    crc = quint32(running);
    return true;
}

EncodedMember encodeMember(const QString& hostPath, const QString& storedName,
                           const EncoderSettings& settings, QIODevice& out, EncoderJob& job) {
    EncodedMember result;
    QFile source(hostPath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return result;
    const qint64 size = source.size();
    if (size > qint64(0xFFFFFFFE)) return result; // sizes are 32-bit fields
    result.uncompressedSize = size;
    const Sink toOutput = [&out](const char* data, qint64 length) {
        return out.write(data, length) == length;
    };
    uLong crc = 0;

    const auto store = [&] {
        result.method = 0;
        result.flags = 0;
        result.outcome =
            source.seek(0) ? storeFile(source, size, toOutput, job, crc) : EncodeOutcome::ReadFailed;
    };
    if (settings.deflateType == dtDeflateS || isStoredType(storedName, settings.storeFilesOfType)) {
        store();
    } else if (size < kTrialLimit) {
        QByteArray trial;
        const Sink toMemory = [&trial](const char* data, qint64 length) {
            trial.append(data, length);
            return true;
        };
        result.outcome = deflateFile(source, size, zlibLevel(settings.deflateType), toMemory, job, crc);
        if (result.outcome == EncodeOutcome::Done) {
            if (trial.size() > size) {
                store();
            } else {
                result.method = 8;
                result.flags = flagBits(settings.deflateType);
                if (!toOutput(trial.constData(), trial.size())) result.outcome = EncodeOutcome::WriteFailed;
            }
        }
    } else {
        result.method = 8;
        result.flags = flagBits(settings.deflateType);
        result.outcome = deflateFile(source, size, zlibLevel(settings.deflateType), toOutput, job, crc);
    }
    result.crc = size == 0 ? 0 : quint32(crc);
    return result;
}

} // namespace archive
