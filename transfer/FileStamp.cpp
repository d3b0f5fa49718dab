#include "transfer/FileStamp.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QFile>
#include <vector>
#include <zlib.h>

namespace transfer {

FileStamp stampOf(const QString& path) {
    QFile file(platform::drive::toHost(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw platform::Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    FileStamp stamp;
    uLong crc = crc32(0, nullptr, 0);
    std::vector<char> block(1 << 20);
    for (;;) {
        const qint64 got = file.read(block.data(), qint64(block.size()));
        if (got < 0)
            throw platform::Error(
                QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
        if (got == 0) break;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(block.data()), uInt(got));
        stamp.size += got;
    }
    stamp.crc = quint32(crc);
    return stamp;
}

QString crcText(quint32 crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0'));
}

} // namespace transfer
