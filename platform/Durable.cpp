#include "platform/Durable.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform::durable {

bool syncFile(const QString& hostPath) {
    const int fd = ::open(QFile::encodeName(hostPath).constData(), O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool syncFolder(const QString& hostFolder) {
    const int fd = ::open(QFile::encodeName(hostFolder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool renameReplacing(const QString& fromHost, const QString& toHost, QString* reason) {
    if (::rename(QFile::encodeName(fromHost).constData(), QFile::encodeName(toHost).constData()) == 0)
        return true;
    if (reason) *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

void crashPoint(const char* area, int number) {
    static const QByteArray wanted = qgetenv("VORLEX_CRASH_AT");
    if (wanted.isEmpty()) return;
    if (wanted != QByteArray(area) + ':' + QByteArray::number(number)) return;
    std::fflush(nullptr);
    ::kill(::getpid(), SIGKILL);
    std::abort();
}

} // namespace platform::durable
