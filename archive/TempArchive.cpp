#include "archive/TempArchive.h"

#include "platform/Durable.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace archive {
namespace {

bool onSameFileSystem(const QString& hostA, const QString& hostB) {
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(hostA).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(hostB).constData(), &b) == 0 && a.st_dev == b.st_dev;
}

ReplaceOutcome failure(int error) {
    return error == ENOSPC || error == EDQUOT ? ReplaceOutcome::DiskFull : ReplaceOutcome::Failed;
}

// The archive's own permissions, or for a new archive those any new file gets.
mode_t permissionsFor(const QString& archiveHostPath) {
    struct stat st {};
    if (::stat(QFile::encodeName(archiveHostPath).constData(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

ReplaceOutcome renameOver(const QString& fromHost, const QString& toHost) {
    ::chmod(QFile::encodeName(fromHost).constData(), permissionsFor(toHost));
    if (::rename(QFile::encodeName(fromHost).constData(), QFile::encodeName(toHost).constData()) != 0)
        return failure(errno);
    platform::durable::syncFolder(QFileInfo(toHost).absolutePath());
    return ReplaceOutcome::Replaced;
}

// A copy of the temporary file beside the archive, flushed to disk, then renamed over it.
ReplaceOutcome copyThenRename(const QString& tempHostPath, const QString& archiveHostPath) {
    QFile source(tempHostPath);
    if (!source.open(QIODevice::ReadOnly)) return ReplaceOutcome::Failed;
    auto copy = createTempFile(QFileInfo(archiveHostPath).absolutePath());
    if (!copy) return failure(errno);
    QByteArray block(1 << 20, Qt::Uninitialized);
    bool ok = true;
    for (qint64 got; ok && (got = source.read(block.data(), block.size())) != 0;)
        ok = got > 0 && copy->write(block.constData(), got) == got;
    const int error = errno;
    ok = ok && flushToDisk(*copy);
    copy->close();
    const ReplaceOutcome outcome = ok ? renameOver(copy->fileName(), archiveHostPath) : failure(error);
    if (outcome != ReplaceOutcome::Replaced) {
        QFile::remove(copy->fileName());
        return outcome;
    }
    QFile::remove(tempHostPath);
    return outcome;
}

} // namespace

std::unique_ptr<QTemporaryFile> createTempFile(const QString& hostFolder) {
    auto file = std::make_unique<QTemporaryFile>(QDir(hostFolder).filePath(QLatin1String(kTempFileTemplate)));
    file->setAutoRemove(false);
    if (!file->open()) return nullptr;
    // Qt may create the file without a name and give it one on first asking; it gets it now.
    if (!QFileInfo::exists(file->fileName())) return nullptr;
    return file;
}

bool folderIsWritable(const QString& hostFolder) {
    auto probe = createTempFile(hostFolder);
    if (!probe) return false;
    probe->close();
    return QFile::remove(probe->fileName());
}

bool flushToDisk(QFile& file) {
    return file.flush() && ::fsync(file.handle()) == 0;
}

ReplaceOutcome replaceArchive(const QString& tempHostPath, const QString& archiveHostPath) {
    const QString archiveFolder = QFileInfo(archiveHostPath).absolutePath();
    if (onSameFileSystem(QFileInfo(tempHostPath).absolutePath(), archiveFolder))
        return renameOver(tempHostPath, archiveHostPath);
    return copyThenRename(tempHostPath, archiveHostPath);
}

} // namespace archive
