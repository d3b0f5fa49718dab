#pragma once

#include <QProcess>
#include <QString>
#include <memory>

// A real FTP server on 127.0.0.1: pyftpdlib from Debian (run by /usr/bin/python3) on a free port,
// serving its own folder to one user with full rights. Its control connection speaks the Thai code
// page, as the insurer's server does. The server stops when the fixture goes.
class FtpServer {
public:
    // `options` go to the server script as they stand (e.g. "--read-limit", "200000").
    explicit FtpServer(const QString& rootFolder, const QString& user = QStringLiteral("online"),
                       const QString& password = QStringLiteral("zqvbrtkmw"),
                       const QStringList& options = {});
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return port_; }
    QString root() const { return root_; }
    QString user() const { return user_; }
    QString password() const { return password_; }
    QString log() const; // the server's log, for a failing test to show

    static QString script(); // tests/support/ftp_server.py

private:
    QString root_;
    QString user_;
    QString password_;
    QString logFile_;
    quint16 port_ = 0;
    std::unique_ptr<QProcess> process_;
};
