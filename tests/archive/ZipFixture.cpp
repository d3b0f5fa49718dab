#include "tests/archive/ZipFixture.h"

#include "app/WorkingFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ctime>

ZipFixture::ZipFixture() {
    qputenv("TZ", "ICT-7");
    tzset();
    drive.makeFolder(QStringLiteral("c:\\picture\\transfer"));
    archive::applyTransferSettings(zip);
    zip.OnError = [this](archive::TZip&, const QString& fileName, const QString& detail,
                         const QString& archiveFile, int code) {
        errors.append({fileName, detail, archiveFile, code});
    };
    zip.OnBegin = [this](archive::TZip&, const QString& fileName, int count, bool&) {
        begins.append({fileName, count});
    };
    zip.OnProgress = [this](archive::TZip&, quint8 byFile, quint8 byArchive) {
        progress.append({byFile, byArchive});
    };
    zip.OnDeleteFile = [this](archive::TZip&, const QString& fileName, int, int) {
        deleted.append(fileName);
    };
}

void ZipFixture::writeScan(const QString& name, const QByteArray& bytes, const QDateTime& lastWrite) {
    drive.writeFile(transferPath(name), bytes);
    setLastWrite(transferPath(name), lastWrite);
}

void ZipFixture::setLastWrite(const QString& systemPath, const QDateTime& lastWrite) {
    QFile file(host(systemPath));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(lastWrite, QFileDevice::FileModificationTime));
}

int ZipFixture::addScan(const QString& name) {
    return addToArchive(folders::archivePath(name), transferPath(name));
}

int ZipFixture::addToArchive(const QString& archivePath, const QString& fileSpec) {
    zip.setArchiveFile(archivePath);
    zip.FileSpec.clear();
    zip.FileSpec.append(fileSpec);
    return zip.Compress();
}

QString ZipFixture::archiveHost(const QString& scanName) const {
    return host(folders::archivePath(scanName));
}

QByteArray ZipFixture::archiveBytes(const QString& scanName) const {
    QFile file(archiveHost(scanName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ZipFixture::scanIsThere(const QString& name) const {
    return QFileInfo::exists(host(transferPath(name)));
}

QString ZipFixture::trashed(const QString& name) const {
    return QDir(drive.root()).filePath(QStringLiteral("../xdg-data/Trash/files/") + name);
}

QList<int> ZipFixture::errorCodes() const {
    QList<int> codes;
    for (const Report& report : errors)
        codes.append(report.code);
    return codes;
}

QStringList ZipFixture::leftoverTempFiles(const QString& hostFolder) const {
    return QDir(hostFolder).entryList({QStringLiteral("qmb*")}, QDir::Files | QDir::Hidden);
}
