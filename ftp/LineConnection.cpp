#include "ftp/LineConnection.h"

#include "ftp/FtpErrors.h"
#include "platform/Error.h"

#include <algorithm>

namespace ftp {
namespace {

[[noreturn]] void notConnected() {
    throw platform::Error(QStringLiteral("Not Connected"));
}

int millisecondsUntil(LineConnection::Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - LineConnection::Clock::now());
    return int(std::clamp<qint64>(left.count(), 0, INT32_MAX));
}

platform::Ipv4Address resolveHost(const QString& host) {
    if (host.compare(QLatin1String("LOCALHOST"), Qt::CaseInsensitive) == 0) return 0x7F000001;
    platform::Ipv4Address address = 0;
    if (platform::parseDottedAddress(host, &address)) return address;
    if (const int error = platform::Socket::lookup(host, &address)) throw SocketError(error);
    return address;
}

} // namespace

LineConnection::~LineConnection() {
    disconnect();
}

void LineConnection::connect(const QString& host, quint16 port, int timeoutMs) {
    input_.clear();
    closedGracefully_ = false;
    lostError_ = 0;
    if (socket_.create() != 0) throw platform::Error(QStringLiteral("Cannot allocate socket."));
    try {
        if (const int error = socket_.bindAny()) throw SocketError(error);
        const platform::Ipv4Address address = resolveHost(host);
        if (const int error = socket_.connect(address, port, timeoutMs)) throw SocketError(error);
    } catch (...) {
        socket_.close();
        throw;
    }
}

QByteArray LineConnection::readLine(Clock::time_point deadline) {
    for (;;) {
        if (std::optional<QByteArray> line = input_.takeLine(maxLineLength_)) return *line;
        if (!socket_.isOpen()) {
            if (!closedGracefully_ && lostError_ == 0) notConnected();
            if (!input_.isEmpty()) return input_.takeRest();
            if (lostError_ != 0) throw SocketError(lostError_);
            throw platform::Error(QStringLiteral("Connection Closed Gracefully."));
        }
        receiveMore(deadline);
    }
}

void LineConnection::receiveMore(Clock::time_point deadline) {
    const auto progressLimit = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    if (const int error = socket_.waitReadable(millisecondsUntil(std::min(deadline, progressLimit))))
        fail(error);
    char* room = input_.reserve(kBlockSize);
    const platform::Socket::Transfer got = socket_.receive(room, kBlockSize);
    input_.commit(got.bytes);
    if (got.error == platform::Socket::wouldBlock()) return;
    if (got.error != 0) {
        if (!platform::Socket::isConnectionLost(got.error)) fail(got.error);
        lostError_ = got.error;
        socket_.close();
    } else if (got.bytes == 0) {
        closedGracefully_ = true;
        socket_.close();
    }
}

void LineConnection::write(const char* data, qint64 size) {
    if (!socket_.isOpen()) {
        if (lostError_ != 0) throw SocketError(lostError_);
        if (closedGracefully_) throw platform::Error(QStringLiteral("Connection Closed Gracefully."));
        notConnected();
    }
    while (size > 0) {
        const platform::Socket::Transfer sent = socket_.send(data, std::min<qint64>(size, kBlockSize));
        if (sent.error == platform::Socket::wouldBlock()) {
            if (const int error = socket_.waitWritable(timeoutMs_)) fail(error);
            continue;
        }
        if (sent.error != 0) {
            if (platform::Socket::isConnectionLost(sent.error)) socket_.close();
            fail(sent.error);
        }
        data += sent.bytes;
        size -= sent.bytes;
    }
}

void LineConnection::fail(int error) {
    throw SocketError(error);
}

void LineConnection::disconnect() {
    if (!socket_.isOpen()) return;
    socket_.shutdownSend();
    socket_.close();
}

void LineConnection::disconnectWhenDelivered(const std::function<void(qint64)>& whileWaiting) {
    if (!socket_.isOpen()) notConnected();
    if (const int error = socket_.shutdownSend()) {
        socket_.close();
        fail(error);
    }
    waitUntilDelivered(whileWaiting);
    socket_.close();
}

void LineConnection::waitUntilDelivered(const std::function<void(qint64)>& whileWaiting) {
    qint64 left = socket_.unacknowledgedBytes();
    auto progressLimit = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    int pauseMs = 1;
    while (left > 0) {
        const int waited = socket_.waitReadable(pauseMs);
        if (waited == 0) {
            char scratch[512];
            const platform::Socket::Transfer got = socket_.receive(scratch, sizeof scratch);
            if (got.error != platform::Socket::wouldBlock() && (got.error != 0 || got.bytes == 0))
                return; // the peer closed or broke off: its reply says how the data ended
        } else if (waited != platform::Socket::timedOut()) {
            fail(waited);
        }
        const qint64 now = socket_.unacknowledgedBytes();
        if (now < 0) return;
        if (whileWaiting) whileWaiting(now);
        if (now < left) {
            left = now;
            progressLimit = Clock::now() + std::chrono::milliseconds(timeoutMs_);
        } else if (Clock::now() >= progressLimit) {
            fail(platform::Socket::timedOut());
        }
        pauseMs = std::min(pauseMs * 2, 20);
    }
}

void LineConnection::abort() {
    socket_.abort();
}

} // namespace ftp
