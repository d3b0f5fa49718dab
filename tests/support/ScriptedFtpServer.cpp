#include "tests/support/ScriptedFtpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kWaitLimitMs = 10000;
constexpr int kCloseWaitLimitMs = 30000;

struct ScriptFailure {
    QString why;
};

// The client closed the control connection, which ends the script where it stands.
struct ClientGone {};

int listenOn(const QByteArray& address, int receiveBufferBytes) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (::inet_pton(AF_INET, address.constData(), &local.sin_addr) != 1 || !address.startsWith("127."))
        throw std::runtime_error("the scripted server listens on loopback only");
    const int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0) throw std::runtime_error("socket");
    if (receiveBufferBytes > 0)
        ::setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
    if (::bind(handle, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(handle, 4) != 0) {
        ::close(handle);
        throw std::runtime_error("cannot listen on " + address.toStdString());
    }
    return handle;
}

quint16 localPort(int handle) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ::getsockname(handle, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

void closeHandle(int& handle) {
    if (handle >= 0) ::close(handle);
    handle = -1;
}

} // namespace

ScriptedFtpServer::ScriptedFtpServer() : listener_(listenOn("127.0.0.1", 0)), port_(localPort(listener_)) {}

ScriptedFtpServer::~ScriptedFtpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    closeHandle(data_);
    closeHandle(dataListener_);
    closeHandle(control_);
    closeHandle(listener_);
}

void ScriptedFtpServer::fail(const QString& why) {
    throw ScriptFailure{why};
}

void ScriptedFtpServer::waitFor(int handle, short events, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!stop_) {
        pollfd entry{handle, events, 0};
        if (::poll(&entry, 1, 50) > 0) return;
        if (std::chrono::steady_clock::now() > deadline)
            fail(QStringLiteral("the client kept the server waiting"));
    }
    fail(QStringLiteral("stopped"));
}

QByteArray ScriptedFtpServer::readCommandLine() {
    for (;;) {
        const qsizetype lf = input_.indexOf('\n');
        if (lf >= 0) {
            QByteArray line = input_.left(lf);
            input_.remove(0, lf + 1);
            if (line.endsWith('\r')) line.chop(1);
            return line;
        }
        waitFor(control_, POLLIN, kWaitLimitMs);
        char block[4096];
        const ssize_t got = ::recv(control_, block, sizeof block, 0);
        if (got <= 0)
            fail(QStringLiteral("the client closed the control connection while a command was awaited"));
        input_.append(block, got);
    }
}

ScriptedFtpServer& ScriptedFtpServer::send(const QByteArray& raw) {
    steps_.push_back([this, raw] {
        if (::send(control_, raw.constData(), size_t(raw.size()), MSG_NOSIGNAL) != raw.size())
            fail(QStringLiteral("cannot send: %1").arg(QString::fromLatin1(raw)));
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::command() {
    steps_.push_back([this] { commands_.append(readCommandLine()); });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::passive(const QByteArray& pattern, const QByteArray& address,
                                              int receiveBufferBytes) {
    steps_.push_back([this, pattern, address, receiveBufferBytes] {
        commands_.append(readCommandLine());
        closeHandle(dataListener_);
        dataListener_ = listenOn(address, receiveBufferBytes);
        const quint16 port = localPort(dataListener_);
        QByteArray hostPort = address;
        hostPort.replace('.', ',');
        hostPort += ',' + QByteArray::number(port / 256) + ',' + QByteArray::number(port % 256);
        QByteArray line = pattern;
        line.replace("%s", hostPort);
        if (::send(control_, line.constData(), size_t(line.size()), MSG_NOSIGNAL) != line.size())
            fail(QStringLiteral("cannot send the passive reply"));
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::acceptData() {
    steps_.push_back([this] {
        waitFor(dataListener_, POLLIN, kWaitLimitMs);
        closeHandle(data_);
        data_ = ::accept4(dataListener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (data_ < 0) fail(QStringLiteral("cannot accept the data connection"));
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::receiveData(int pauseMsPerBlock, int blockBytes,
                                                  std::function<void()> afterFirstBlock) {
    steps_.push_back([this, pauseMsPerBlock, blockBytes, afterFirstBlock] {
        Upload upload;
        QByteArray block(blockBytes, Qt::Uninitialized);
        for (;;) {
            waitFor(data_, POLLIN, kWaitLimitMs);
            const ssize_t got = ::recv(data_, block.data(), size_t(block.size()), 0);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                upload.endedCleanly = got == 0;
                break;
            }
            const bool first = upload.bytes.isEmpty();
            upload.bytes.append(block.constData(), got);
            if (first && afterFirstBlock) afterFirstBlock();
            if (pauseMsPerBlock > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMsPerBlock));
        }
        uploads_.append(upload);
        closeHandle(data_);
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::stopAfterData(qsizetype bytes) {
    steps_.push_back([this, bytes] {
        Upload upload;
        QByteArray block(4096, Qt::Uninitialized);
        while (upload.bytes.size() < bytes) {
            waitFor(data_, POLLIN, kWaitLimitMs);
            const ssize_t got =
                ::recv(data_, block.data(),
                       size_t(std::min<qsizetype>(block.size(), bytes - upload.bytes.size())), 0);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            upload.bytes.append(block.constData(), got);
        }
        uploads_.append(upload);
        closeHandle(data_);
        closeHandle(control_);
        clientClosed_ = true;
        throw ClientGone{};
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::trickle(const QByteArray& raw, int times, int pauseMs) {
    steps_.push_back([this, raw, times, pauseMs] {
        for (int i = 0; i < times; ++i) {
            bool gone = false;
            pollfd entry{control_, POLLIN, 0};
            if (::poll(&entry, 1, pauseMs) > 0) {
                char block[4096];
                const ssize_t got = ::recv(control_, block, sizeof block, 0);
                gone = got <= 0;
                if (!gone) input_.append(block, got);
            }
            gone = gone || ::send(control_, raw.constData(), size_t(raw.size()), MSG_NOSIGNAL) != raw.size();
            if (gone) {
                clientClosed_ = true;
                throw ClientGone{};
            }
        }
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::closeControl() {
    steps_.push_back([this] {
        ::shutdown(control_, SHUT_WR);
        drainUntilClientCloses();
        closeHandle(control_);
    });
    return *this;
}

ScriptedFtpServer& ScriptedFtpServer::waitForClose() {
    steps_.push_back([this] { drainUntilClientCloses(); });
    return *this;
}

void ScriptedFtpServer::drainUntilClientCloses() {
    for (;;) {
        waitFor(control_, POLLIN, kCloseWaitLimitMs);
        char block[4096];
        const ssize_t got = ::recv(control_, block, sizeof block, 0);
        if (got <= 0) break;
        input_.append(block, got); // commands sent to a server that no longer answers
    }
    clientClosed_ = true;
    while (input_.contains('\n'))
        commands_.append(readCommandLine());
}

ScriptedFtpServer& ScriptedFtpServer::upload() {
    return passive()
        .command()
        .acceptData()
        .send("150 Ok to send data.\r\n")
        .receiveData()
        .send("226 Transfer complete.\r\n");
}

void ScriptedFtpServer::start() {
    thread_ = std::thread([this] { run(); });
}

void ScriptedFtpServer::run() {
    try {
        waitFor(listener_, POLLIN, kWaitLimitMs);
        control_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (control_ < 0) fail(QStringLiteral("cannot accept the control connection"));
        for (const Step& step : steps_)
            step();
    } catch (const ClientGone&) {
    } catch (const ScriptFailure& failure) {
        failure_ = failure.why;
    } catch (const std::exception& e) {
        failure_ = QString::fromLocal8Bit(e.what());
    }
}

QString ScriptedFtpServer::finish() {
    if (thread_.joinable()) thread_.join();
    return failure_;
}
