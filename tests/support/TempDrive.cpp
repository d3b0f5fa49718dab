#include "tests/support/TempDrive.h"

#include "platform/DrivePaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <random>
#include <stdexcept>

TempDrive::TempDrive() {
    if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
    QDir(dir_.path()).mkpath(QStringLiteral("drive_c"));
    QDir(dir_.path()).mkpath(QStringLiteral("settings"));
    platform::drive::setDriveFolder(root());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder());
    // The trash of the test's own; Qt needs the folder to exist to put its Trash there. Qt takes the home
    // folder's trash only for files on the home's file system, so the home is the test's too.
    QDir(dir_.path()).mkpath(QStringLiteral("xdg-data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/xdg-data")));
    qputenv("HOME", QFile::encodeName(dir_.path()));
    // Programs the test starts find the same settings.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsFolder()));
}

TempDrive::~TempDrive() {
    platform::drive::setDriveFolder(QString());
}

QString TempDrive::root() const {
    return dir_.path() + QStringLiteral("/drive_c");
}

QString TempDrive::settingsFolder() const {
    return dir_.path() + QStringLiteral("/settings");
}

QString TempDrive::host(const QString& systemPath) const {
    return platform::drive::toHost(systemPath);
}

void TempDrive::makeFolder(const QString& systemPath) const {
    QDir().mkpath(host(systemPath));
}

void TempDrive::writeFile(const QString& systemPath, const QByteArray& bytes) const {
    const QString path = host(systemPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray TempDrive::readFile(const QString& systemPath) const {
    QFile file(host(systemPath));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + systemPath.toStdString());
    return file.readAll();
}

int runProgram(const QString& program, const QStringList& args, QByteArray* out, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForStarted(10000)) return -1;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out) *out = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray randomBytes(qsizetype size, unsigned seed) {
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator());
    return bytes;
}

QString imageMagickConvert() {
    return QStringLiteral("/usr/bin/convert");
}
