#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// A small FTP server on 127.0.0.1 that plays a script: it sends the replies it is given word for word
// and records the command lines the client sends and the bytes of each upload. For checking a
// client's exact transcript and its handling of odd servers. One client connection per server.
class ScriptedFtpServer {
public:
    struct Upload {
        QByteArray bytes;
        bool endedCleanly = false; // the client ended the data with a close, not a reset
    };

    ScriptedFtpServer();
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;

    quint16 port() const { return port_; }

    // The script's steps, played in order once the client has connected.
    ScriptedFtpServer& send(const QByteArray& raw);
    ScriptedFtpServer& command(); // reads one command line
    ScriptedFtpServer& reply(const QByteArray& raw) { return command().send(raw); }
    // Reads one command line (PASV), listens on `address` and sends `pattern` with its "%s" replaced by
    // the address and port as h1,h2,h3,h4,p1,p2. A receive buffer size, when given, makes the data
    // connection a slow one to fill.
    ScriptedFtpServer& passive(const QByteArray& pattern = "227 Entering Passive Mode (%s).\r\n",
                               const QByteArray& address = "127.0.0.1", int receiveBufferBytes = 0);
    ScriptedFtpServer& acceptData();
    // Reads the data connection to its end, pausing after each block when asked; `afterFirstBlock`
    // runs once the first block is in.
    ScriptedFtpServer& receiveData(int pauseMsPerBlock = 0, int blockBytes = 65536,
                                   std::function<void()> afterFirstBlock = nullptr);
    // Reads `bytes` bytes of the data connection, then drops the data and the control connection, as a
    // server that stops in the middle of a file. The bytes read count as an upload that did not end cleanly.
    ScriptedFtpServer& stopAfterData(qsizetype bytes);
    // Sends `raw` again and again with a pause before each, as a server that never stops talking; the
    // script ends once the client closes the control connection.
    ScriptedFtpServer& trickle(const QByteArray& raw, int times, int pauseMs);
    // Ends the server's side of the control connection (the client reads its end) and answers nothing
    // more.
    ScriptedFtpServer& closeControl();
    // Answers nothing more; waits until the client closes the control connection.
    ScriptedFtpServer& waitForClose();
    // One upload as a sound server answers it: PASV, the upload command, the data, 150 and 226.
    ScriptedFtpServer& upload();

    void start();
    // Waits for the script to end and tells what went wrong in it; empty when it ran through.
    QString finish();
    // After finish():
    QList<QByteArray> commands() const { return commands_; }
    QList<Upload> uploads() const { return uploads_; }
    bool clientClosed() const { return clientClosed_; }

private:
    using Step = std::function<void()>;
    void run();
    QByteArray readCommandLine();
    void drainUntilClientCloses();
    void waitFor(int handle, short events, int limitMs);
    [[noreturn]] void fail(const QString& why);

    int listener_ = -1;
    int control_ = -1;
    int dataListener_ = -1;
    int data_ = -1;
    quint16 port_ = 0;
    QByteArray input_;
    std::vector<Step> steps_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    QString failure_;
    QList<QByteArray> commands_;
    QList<Upload> uploads_;
    bool clientClosed_ = false;
};
