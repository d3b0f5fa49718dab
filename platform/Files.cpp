#include "platform/Files.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace platform::files {
namespace {

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
}

// "*" and "?" without regard to case; "*.*" is every name on Windows, also one without a dot.
QRegularExpression wildcardExpression(const QString& pattern) {
    const QString effective = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    QString rx;
    for (const QChar c : effective) {
        if (c == '*')
            rx += QLatin1String(".*");
        else if (c == '?')
            rx += '.';
        else
            rx += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(rx),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

QString folderOf(const QString& path) {
    const qsizetype at = lastSeparator(path);
    return at < 0 ? QString() : path.left(at);
}

QString nameOf(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

bool exists(const QString& path) {
    return QFileInfo::exists(drive::toHost(path));
}

bool fileExists(const QString& path) {
    return QFileInfo(drive::toHost(path)).isFile();
}

bool folderExists(const QString& path) {
    return QFileInfo(drive::toHost(path)).isDir();
}

bool createFolder(const QString& path) {
    const QString host = drive::toHost(path);
    if (QFileInfo(host).isDir()) return true;
    QDir parent(QFileInfo(host).absolutePath());
    return parent.exists() && parent.mkdir(QFileInfo(host).fileName());
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(drive::toHost(path));
    if (!info.isFile()) throw Error(QStringLiteral("File not found"));
    return info.size();
}

bool copyFile(const QString& from, const QString& to) {
    QFile source(drive::toHost(from));
    if (!source.open(QIODevice::ReadOnly)) return false;
    QSaveFile target(drive::toHost(to));
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly)) return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(block.data(), block.size());
        if (got < 0) return false;
        if (got == 0) break;
        if (target.write(block.constData(), got) != got) return false;
    }
    if (!target.commit()) return false;
    QFile::setPermissions(target.fileName(), source.permissions());
    return true;
}

bool deleteFile(const QString& path) {
    const QString host = drive::toHost(path);
    return QFileInfo(host).isFile() && QFile::remove(host);
}

bool moveToTrash(const QString& path) {
    const QString host = drive::toHost(path);
    if (!QFileInfo::exists(host)) return false;
#ifndef Q_OS_WIN
    // Without the data folder the trash lives in, Qt falls back to "files" and "info" folders in the
    // current folder.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder)) return false;
#endif
    return QFile::moveToTrash(host);
}

quint32 attributesOfHostPath(const QString& hostPath) {
#ifdef Q_OS_WIN
    const QFileInfo info(hostPath);
    if (!info.exists()) return kInvalidAttributes;
    quint32 attrs = info.isDir() ? Directory : Archive;
    if (!info.isWritable()) attrs |= ReadOnly;
    if (info.isHidden()) attrs |= Hidden;
    return attrs;
#else
    struct stat st {};
    if (::stat(QFile::encodeName(hostPath).constData(), &st) != 0) return kInvalidAttributes;
    quint32 attrs = 0;
    if (S_ISDIR(st.st_mode))
        attrs |= Directory;
    else if (S_ISREG(st.st_mode))
        attrs |= Archive;
    else
        attrs |= SysFile; // a device, pipe or socket: nothing a file list or an archive should take
    if ((st.st_mode & S_IWUSR) == 0) attrs |= ReadOnly;
    if (QFileInfo(hostPath).fileName().startsWith('.')) attrs |= Hidden;
    return attrs;
#endif
}

quint32 attributes(const QString& path) {
    return attributesOfHostPath(drive::toHost(path));
}

bool wildcardMatch(const QString& name, const QString& pattern) {
    return wildcardExpression(pattern).match(name).hasMatch();
}

QList<FoundFile> find(const QString& pattern) {
    QList<FoundFile> found;
    const QDir dir(drive::toHost(folderOf(pattern)));
    if (!dir.exists()) return found;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const QRegularExpression matches = wildcardExpression(nameOf(pattern));
    for (const QFileInfo& info : entries) {
        if (!matches.match(info.fileName()).hasMatch()) continue;
        const quint32 attrs = attributesOfHostPath(info.filePath());
        if (attrs == kInvalidAttributes) continue;
        found.append({info.fileName(), attrs, info.size(), info.lastModified()});
    }
    return found;
}

} // namespace platform::files
