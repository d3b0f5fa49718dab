#include "platform/DurableFile.h"

#include "platform/DrivePaths.h"
#include "platform/Durable.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::durable {
namespace {

[[noreturn]] void fail(const char* what, const QString& path, int error) {
    throw Error(QStringLiteral("Cannot %1 \"%2\". %3")
                    .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(error))));
}

void syncFolderOf(const QString& hostPath, const QString& path) {
    if (!syncFolder(QFileInfo(hostPath).absolutePath())) fail("flush the folder of", path, errno);
}

void writeAll(int fd, const QByteArray& bytes, const QString& path) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t wrote = ::write(fd, data, size_t(left));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : ENOSPC;
            ::close(fd);
            fail("write", path, error);
        }
        data += wrote;
        left -= wrote;
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        fail("flush", path, error);
    }
    if (::close(fd) != 0) fail("close", path, errno);
}

} // namespace

void appendSynced(const QString& path, const QByteArray& bytes) {
    const QString host = drive::toHost(path);
    const bool isNew = !QFileInfo::exists(host);
    const int fd =
        ::open(QFile::encodeName(host).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) fail("open", path, errno);
    writeAll(fd, bytes, path);
    if (isNew) syncFolderOf(host, path);
}

void replaceSynced(const QString& path, const QByteArray& bytes) {
    const QString host = drive::toHost(path);
    const QString temporary = host + QStringLiteral(".new");
    const QByteArray temporaryName = QFile::encodeName(temporary);
    const int fd = ::open(temporaryName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fail("open", path + QStringLiteral(".new"), errno);
    writeAll(fd, bytes, path);
    if (::rename(temporaryName.constData(), QFile::encodeName(host).constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        fail("replace", path, error);
    }
    syncFolderOf(host, path);
}

QByteArray readWhole(const QString& path) {
    QFile file(drive::toHost(path));
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return file.readAll();
}

} // namespace platform::durable
