#include "tests/support/FtpServer.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

FtpServer::FtpServer(const QString& rootFolder, const QString& user, const QString& password,
                     const QStringList& options)
    : root_(QDir::cleanPath(QDir(rootFolder).absolutePath())), user_(user), password_(password),
      logFile_(root_ + QStringLiteral(".log")), process_(std::make_unique<QProcess>()) {
    QDir().mkpath(root_);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QStringList arguments =
        QStringList{script(), QStringLiteral("--root"),     root_,     QStringLiteral("--user"),
                    user_,    QStringLiteral("--password"), password_, QStringLiteral("--log"),
                    logFile_} +
        options;
    process_->start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process_->waitForStarted(10000)) throw std::runtime_error("cannot start the FTP server");
    QByteArray firstLine;
    while (!firstLine.endsWith('\n') && process_->waitForReadyRead(20000))
        firstLine += process_->readLine();
    if (!firstLine.startsWith("PORT "))
        throw std::runtime_error("the FTP server did not start: " + firstLine.toStdString());
    port_ = quint16(firstLine.mid(5).trimmed().toUInt());
}

FtpServer::~FtpServer() {
    process_->closeWriteChannel(); // the server ends when its input closes
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

QString FtpServer::log() const {
    QFile file(logFile_);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString FtpServer::script() {
    return QStringLiteral(VORLEX_SOURCE_DIR "/tests/support/ftp_server.py");
}
