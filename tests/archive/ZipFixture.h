#pragma once

#include "archive/Zip.h"
#include "tests/support/TempDrive.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <gtest/gtest.h>

// A drive of the test's own with the transfer folder, a TZip set up as the transfer run sets it, and a
// record of every event the job fires. Local time is fixed at UTC+7 so DOS times are known.
class ZipFixture : public ::testing::Test {
protected:
    struct Report {
        QString fileName;
        QString detail;
        QString archiveFile;
        int code = 0;
    };
    struct Progress {
        int byFile;
        int byArchive;
        bool operator==(const Progress&) const = default;
    };

    ZipFixture();

    static QString transferPath(const QString& name) {
        return QStringLiteral("c:\\Picture\\Transfer\\") + name;
    }
    static QDateTime scanTime() { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 39)); }
    static quint32 scanDosTime() {
        return (quint32(44 * 512 + 3 * 32 + 5) << 16) | quint32(14 * 2048 + 7 * 32 + 39 / 2);
    }

    // Writes a file in the transfer folder with the given last-write time.
    void writeScan(const QString& name, const QByteArray& bytes, const QDateTime& lastWrite = scanTime());
    void setLastWrite(const QString& systemPath, const QDateTime& lastWrite);
    // One archive job as the transfer run makes it: the scan into its claim's archive.
    int addScan(const QString& name);
    int addToArchive(const QString& archivePath, const QString& fileSpec);
    QString host(const QString& systemPath) const { return drive.host(systemPath); }
    QString archiveHost(const QString& scanName) const;
    QByteArray archiveBytes(const QString& scanName) const;
    bool scanIsThere(const QString& name) const;
    // The file as it lies in the test's own trash.
    QString trashed(const QString& name) const;
    QList<int> errorCodes() const;
    QStringList leftoverTempFiles(const QString& hostFolder) const;

    TempDrive drive;
    archive::TZip zip;
    QList<Report> errors;
    QList<QPair<QString, int>> begins;
    QList<Progress> progress;
    QStringList deleted;
};
