#include "tests/transfer/TransferFixture.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using transfer::RowKey;

QList<RowKey> MemoryRows::unsent() const {
    QList<RowKey> keys;
    for (const Row& row : rows_)
        if (!row.send) keys.append(row.key);
    return keys;
}

QList<RowKey> MemoryRows::sent() const {
    QList<RowKey> keys;
    for (const Row& row : rows_)
        if (row.send) keys.append(row.key);
    return keys;
}

QList<RowKey> MemoryRows::exportUnsentRows() {
    if (failExport) throw platform::Error(QStringLiteral("Table is busy."));
    const QList<RowKey> keys = unsent();
    if (keys.isEmpty()) return keys;
    ++exports;
    QByteArray table = "export " + QByteArray::number(exports) + '\n';
    for (const RowKey& key : keys)
        table += key.claimno.toUtf8() + ' ' + QByteArray::number(key.seq) + '\n';
    drive_.writeFile(exportTableFile(), table);
    drive_.writeFile(exportIndexFile(), "index of export " + QByteArray::number(exports));
    return keys;
}

void MemoryRows::markSent(const QList<RowKey>& keys) {
    ++markings;
    for (Row& row : rows_)
        if (keys.contains(row.key)) row.send = true;
}

QList<RowKey> MemoryRows::keysIn(const QByteArray& exportTable) {
    QList<RowKey> keys;
    const QList<QByteArray> lines = exportTable.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        if (fields.size() == 2) keys.append({QString::fromUtf8(fields[0]), fields[1].toInt()});
    }
    return keys;
}

TransferFixture::TransferFixture() {
    drive.makeFolder("c:\\picture");
    drive.makeFolder("c:\\picture\\transfer");
    drive.makeFolder("c:\\claim");
    drive.makeFolder("c:\\claim\\db");
    server = std::make_unique<FtpServer>(drive.root() + QStringLiteral("/../insurer"));
    QDir(server->root()).mkpath(remoteFolder());
}

bool TransferFixture::isLocal(const QString& name) const {
    return QFile::exists(drive.host(transferPath(name)));
}

QStringList TransferFixture::localFiles() const {
    return QDir(drive.host("c:\\picture\\transfer")).entryList(QDir::Files, QDir::Name);
}

QString TransferFixture::remoteFolder() const {
    return server->root() + QStringLiteral("/Claim\\") + garage;
}

QByteArray TransferFixture::remoteFile(const QString& name) const {
    QFile file(remoteFolder() + '/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QStringList TransferFixture::remoteFiles() const {
    return QDir(remoteFolder()).entryList(QDir::Files, QDir::Name);
}

void TransferFixture::writeRemoteFile(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(remoteFolder());
    QFile file(remoteFolder() + '/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TransferFixture::collectRemoteFiles() const {
    for (const QString& name : remoteFiles())
        QFile::remove(remoteFolder() + '/' + name);
}

transfer::RunSettings TransferFixture::settings() const {
    transfer::RunSettings s;
    s.upload.host = server->host();
    s.upload.port = server->port();
    s.upload.garageName = garage;
    return s;
}

transfer::RunOutcome TransferFixture::run() {
    return transfer::runTransfer(rows, settings(), hooks);
}

QList<QPair<QString, QByteArray>> unzipMembers(const QString& archiveHostPath) {
    QList<QPair<QString, QByteArray>> members;
    QByteArray listing;
    if (runProgram("unzip", {"-Z1", archiveHostPath}, &listing) != 0) return members;
    for (const QByteArray& line : listing.split('\n')) {
        if (line.isEmpty()) continue;
        QTemporaryDir out;
        QByteArray bytes;
        runProgram("unzip", {"-p", archiveHostPath, QString::fromLocal8Bit(line)}, &bytes);
        members.append({QString::fromLocal8Bit(line), bytes});
    }
    return members;
}
