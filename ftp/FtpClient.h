#pragma once

#include "ftp/ServerReply.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QFile;

namespace ftp {

class LineConnection;

enum class TransferType { Binary, Ascii };

// What SIZE (RFC 3659) told about a remote file.
struct RemoteSize {
    enum class State { Known, Absent, NotSupported };
    State state = State::NotSupported;
    qint64 bytes = 0; // for Known
};

// How one upload goes beyond the plain put.
struct PutOptions {
    // The first byte of the local file to send; with APPE the server's file grows from there on.
    qint64 offset = 0;
    // After each block sent: bytes of the file sent so far (offset included) and the file's size.
    std::function<void(qint64 sent, qint64 size)> progress;
    // Asked after each block; true breaks the upload off with TransferCancelled, the data connection
    // reset, so that the server holds the bytes up to the last whole block at most.
    std::function<bool()> cancelled;
};

// What went over the control connection, for a caller that shows it. A PASS command is shown as
// "PASS ****".
struct FtpTrace {
    std::function<void(const QString& commandLine)> command;
    std::function<void(const ServerReply& reply)> reply;
};

// An FTP client that logs in, changes directory and uploads files over passive data connections.
// Every wait (connect, each read, each send) gives up after the time-out without progress; a reply
// must also come whole within it.
class FtpClient {
public:
    static constexpr quint16 kDefaultPort = 21;
    static constexpr int kDefaultTimeoutMs = 60000;
    static constexpr int kDefaultMaxLineLength = 16384;

    FtpClient();
    ~FtpClient(); // disconnects
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    QString host() const { return host_; }
    void setHost(const QString& host) { host_ = host; }
    quint16 port() const { return port_; }
    void setPort(quint16 port) { port_ = port; }
    QString user() const { return user_; }
    void setUser(const QString& user) { user_ = user; }
    void setPassword(const QString& password) { password_ = password; }
    TransferType transferType() const { return transferType_; }
    void setTransferType(TransferType type) { transferType_ = type; }
    int timeout() const { return timeoutMs_; }
    // In milliseconds; a value below 1 restores the default.
    void setTimeout(int milliseconds);
    int maxLineLength() const { return maxLineLength_; }
    void setMaxLineLength(int length) { maxLineLength_ = length; }
    void setTrace(FtpTrace trace) { trace_ = std::move(trace); }

    // Opens the control connection and reads the 220 greeting; with autoLogin also logs in and sends
    // TYPE and SYST. A connect time-out below 0 means the client's time-out. On failure the client is
    // left not connected.
    void connect(bool autoLogin = true, int connectTimeoutMs = -1);
    // USER, and PASS only when USER is answered 331.
    void login();
    void changeDirectory(const QString& path);
    // Sends the local file (a system path) under remoteName: APPE with append, STOR without, STOU
    // for an empty remote name. Returns once the server has confirmed the whole file.
    void put(const QString& localFile, const QString& remoteName, bool append);
    void put(const QString& localFile, const QString& remoteName, bool append, const PutOptions& options);
    // SIZE of a remote file: 213 gives its size, 550 says there is no such file, 500, 502 and 504 say
    // the server cannot tell. Any other reply is a ReplyError.
    RemoteSize size(const QString& remoteName);
    // Closes the control connection; no QUIT is sent.
    void disconnect();
    bool connected() const;

    // Writes the line, reads one reply, checks it against `accepted` (empty: any code) and returns
    // its code.
    int sendCommand(const QString& text, const QList<int>& accepted = {});
    int getReply(const QList<int>& accepted = {});
    void writeLine(const QString& text);

    const ServerReply& lastReply() const { return lastReply_; }
    const ServerReply& greeting() const { return greeting_; }
    const ServerReply& loginReply() const { return loginReply_; }
    QString systemDescription() const { return systemDescription_; }

private:
    LineConnection& control();
    void sendFile(QFile& file, const QString& localFile, LineConnection& data, const PutOptions& options);
    void finishTransfer();

    QString host_;
    quint16 port_ = kDefaultPort;
    QString user_;
    QString password_;
    TransferType transferType_ = TransferType::Binary;
    int timeoutMs_ = kDefaultTimeoutMs;
    int maxLineLength_ = kDefaultMaxLineLength;
    FtpTrace trace_;

    std::unique_ptr<LineConnection> control_;
    ServerReply lastReply_;
    ServerReply greeting_;
    ServerReply loginReply_;
    QString systemDescription_;
};

} // namespace ftp
