#pragma once

#include "archive/Zip.h"
#include "tests/support/FtpServer.h"
#include "tests/support/TempDrive.h"
#include "transfer/RowStore.h"
#include "transfer/TransferRun.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// A register that keeps its rows in memory and writes its export files as text: enough to follow which
// rows travel in which export.
class MemoryRows : public transfer::RowStore {
public:
    explicit MemoryRows(const TempDrive& drive) : drive_(drive) {}
    void add(const QString& claimno, int seq) { rows_.append({{claimno, seq}, false}); }
    QList<transfer::RowKey> unsent() const;
    QList<transfer::RowKey> sent() const;
    int exports = 0;
    int markings = 0;
    bool failExport = false;

    QList<transfer::RowKey> exportUnsentRows() override;
    void markSent(const QList<transfer::RowKey>& keys) override;
    QString exportTableFile() const override { return QStringLiteral("C:\\claim\\db\\Vorlex2.DB"); }
    QString exportIndexFile() const override { return QStringLiteral("C:\\claim\\db\\Vorlex2.PX"); }
    // The keys an export file written by exportUnsentRows() holds.
    static QList<transfer::RowKey> keysIn(const QByteArray& exportTable);

private:
    struct Row {
        transfer::RowKey key;
        bool send;
    };
    const TempDrive& drive_;
    QList<Row> rows_;
};

// What the run showed: steps, the upload window's bar and labels.
class RecordingHooks : public transfer::RunHooks, public transfer::UploadObserver {
public:
    RecordingHooks() { archive::applyTransferSettings(zip_); }
    void step(const QString& text) override { steps.append(text); }
    archive::TZip& zip() override { return zip_; }
    transfer::UploadObserver& uploadObserver() override { return *this; }
    void beforeJob(const QString& scan, const QString&) override {
        archiveJobs.append(scan);
        if (duringArchiving) duringArchiving();
    }
    void started(int files) override {
        barMaximum = files + 1;
        barPosition = 1;
    }
    void fileStarted(const QString& name, const QString& destination) override {
        labels.append(name + " | " + destination);
    }
    void fileProgress(qint64 sent, qint64) override {
        ++blocks;
        lastProgress = sent;
    }
    void fileDone(const transfer::SentFile&) override { ++barPosition; }
    void finished() override { ++windowClosed; }
    bool cancelRequested() override { return cancelAfterBlocks >= 0 && blocks >= cancelAfterBlocks; }

    QStringList steps;
    QStringList archiveJobs;
    QStringList labels;
    int barMaximum = -1;
    int barPosition = -1;
    int blocks = 0;
    qint64 lastProgress = 0;
    int windowClosed = 0;
    int cancelAfterBlocks = -1;
    std::function<void()> duringArchiving;

private:
    archive::TZip zip_;
};

class TransferFixture : public ::testing::Test {
protected:
    TransferFixture();

    static QString transferPath(const QString& name) {
        return QStringLiteral("c:\\picture\\transfer\\") + name;
    }
    void writeTransferFile(const QString& name, const QByteArray& bytes) {
        drive.writeFile(transferPath(name), bytes);
    }
    bool isLocal(const QString& name) const;
    QStringList localFiles() const; // the transfer folder's names, sorted
    // The garage's folder on the server and what it holds.
    QString remoteFolder() const;
    QByteArray remoteFile(const QString& name) const;
    QStringList remoteFiles() const;
    void writeRemoteFile(const QString& name, const QByteArray& bytes) const;
    // The insurer takes the files away.
    void collectRemoteFiles() const;

    transfer::RunOutcome run();
    transfer::RunSettings settings() const;

    TempDrive drive;
    std::unique_ptr<FtpServer> server;
    QString garage = QStringLiteral("Garage 1");
    MemoryRows rows{drive};
    RecordingHooks hooks;
};

// The members of a ZIP archive, each with its bytes, as unzip reads them.
QList<QPair<QString, QByteArray>> unzipMembers(const QString& archiveHostPath);
