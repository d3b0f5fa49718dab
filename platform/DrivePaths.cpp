#include "platform/DrivePaths.h"

#include "platform/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace platform::drive {
namespace {

QString& configuredFolder() {
    static QString folder;
    return folder;
}

bool& folderChosen() {
    static bool chosen = false;
    return chosen;
}

// The entry of `dir` whose name equals `component` ignoring case; an exact match wins.
QString matchEntry(const QString& dir, const QString& component) {
    QDir d(dir);
    if (!d.exists()) return component;
    if (QFileInfo::exists(d.filePath(component))) return component;
    const QStringList entries =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(component, Qt::CaseInsensitive) == 0) return entry;
    return component;
}

} // namespace

void setDriveFolder(const QString& hostFolder) {
    configuredFolder() = hostFolder.isEmpty() ? QString() : QDir(hostFolder).absolutePath();
    folderChosen() = !hostFolder.isEmpty();
}

QString defaultDriveFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("drive_c");
}

QString driveFolder() {
    if (configuredFolder().isEmpty()) configuredFolder() = defaultDriveFolder();
    return configuredFolder();
}

void prepareDriveFolder() {
#ifndef Q_OS_WIN
    const QString folder = driveFolder();
    if (QFileInfo(folder).isDir()) return;
    if (folderChosen())
        throw Error(QStringLiteral("Drive C: is not available: the folder %1 does not exist").arg(folder));
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("Drive C: is not available: the folder %1 cannot be made").arg(folder));
#endif
}

QString toHost(const QString& systemPath) {
#ifdef Q_OS_WIN
    return systemPath;
#else
    if (systemPath.startsWith('/')) return systemPath;
    QString rest = systemPath;
    if (rest.size() >= 2 && rest.at(1) == ':') {
        if (rest.at(0).toLower() != 'c')
            throw Error(QStringLiteral("Drive %1: is not available").arg(rest.at(0).toUpper()));
        rest = rest.mid(2);
    }
    if (rest.startsWith(QLatin1String("\\\\")))
        throw Error(QStringLiteral("Network paths are not available: %1").arg(systemPath));
    QString host = driveFolder();
    const QStringList parts = rest.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String(".")) continue;
        if (part == QLatin1String("..") || part.contains(':'))
            throw Error(QStringLiteral("Path leaves drive C: %1").arg(systemPath));
        host += '/' + matchEntry(host, part);
    }
    return host;
#endif
}

} // namespace platform::drive
