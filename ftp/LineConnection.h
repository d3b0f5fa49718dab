#pragma once

#include "ftp/LineBuffer.h"
#include "platform/Socket.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace ftp {

// One TCP connection that reads lines and writes bytes, every wait bounded by its time-out.
class LineConnection {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kBlockSize = 32768; // bytes per receive and per send

    LineConnection() = default;
    ~LineConnection();
    LineConnection(const LineConnection&) = delete;
    LineConnection& operator=(const LineConnection&) = delete;

    // A wait without progress that lasts this long fails with a SocketError "timed out".
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    void setMaxLineLength(int length) { maxLineLength_ = length; }

    // "LOCALHOST" (in any case) is 127.0.0.1, a dotted address stands for itself, any other name is
    // looked up. A connect that fails leaves the socket closed.
    void connect(const QString& host, quint16 port, int timeoutMs);
    bool connected() const { return socket_.isOpen(); }
    platform::Ipv4Address peerAddress() const { return socket_.peerAddress(); }

    // The next line, trimmed. Gives up at the deadline, and also when one wait for bytes lasts longer
    // than the time-out.
    QByteArray readLine(Clock::time_point deadline);
    // Sends every byte, in blocks of kBlockSize.
    void write(const char* data, qint64 size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }

    // Shuts the sending side down and closes: the peer sees the end of the data.
    void disconnect();
    // Ends the data like disconnect(), after waiting until the peer has every byte sent, for as long
    // as it keeps taking them. A slow line may still be draining the platform's send buffer when the
    // last send returns; a reply awaited only then would otherwise be cut off by its time-out.
    // whileWaiting, when given, is called with the bytes the peer has still to acknowledge each time
    // the wait looks; it may throw to stop waiting.
    void disconnectWhenDelivered(const std::function<void(qint64 unacknowledged)>& whileWaiting = {});
    // Closes with a reset: the peer sees the data broke off.
    void abort();

private:
    [[noreturn]] void fail(int error);
    void receiveMore(Clock::time_point deadline);
    void waitUntilDelivered(const std::function<void(qint64 unacknowledged)>& whileWaiting);

    platform::Socket socket_;
    LineBuffer input_;
    int timeoutMs_ = 60000;
    int maxLineLength_ = 16384;
    bool closedGracefully_ = false;
    int lostError_ = 0; // the error that closed the socket while reading
};

} // namespace ftp
