#include "platform/Socket.h"

#include <QStringList>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

sockaddr_in socketAddress(Ipv4Address address, quint16 port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    return a;
}

// Waits for one poll event, going on after signals until the limit has passed.
int waitFor(int handle, short events, int timeoutMs) {
    if (handle < 0) return EBADF;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{handle, events, 0};
        const int ready = ::poll(&entry, 1, int(std::max<qint64>(0, left.count())));
        if (ready > 0) return 0; // errors and hang-ups show in the call that follows
        if (ready == 0) return ETIMEDOUT;
        if (errno != EINTR) return errno;
    }
}

} // namespace

bool parseDottedAddress(const QString& text, Ipv4Address* address) {
    const QStringList fields = text.split(QLatin1Char('.'));
    if (fields.size() != 4) return false;
    Ipv4Address value = 0;
    for (const QString& field : fields) {
        if (field.isEmpty() || field.size() > 3) return false;
        for (const QChar c : field)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        const int number = field.toInt();
        if (number > 255) return false;
        value = (value << 8) | Ipv4Address(number);
    }
    *address = value;
    return true;
}

QString formatAddress(Ipv4Address address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

Socket::~Socket() {
    close();
}

Socket::Socket(Socket&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

int Socket::create() {
    close();
    const int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (handle < 0) return errno;
    handle_ = handle;
    return 0;
}

int Socket::bindAny() {
    const sockaddr_in any = socketAddress(INADDR_ANY, 0);
    if (::bind(handle_, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) return errno;
    return 0;
}

int Socket::connect(Ipv4Address address, quint16 port, int timeoutMs) {
    const sockaddr_in peer = socketAddress(address, port);
    if (::connect(handle_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return errno;
    if (const int waited = waitFor(handle_, POLLOUT, timeoutMs)) return waited;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(handle_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

Socket::Transfer Socket::send(const char* data, qint64 size) {
    for (;;) {
        const ssize_t sent = ::send(handle_, data, size_t(size), MSG_NOSIGNAL);
        if (sent >= 0) return {sent, 0};
        if (errno == EINTR) continue;
        return {0, errno == EWOULDBLOCK ? EAGAIN : errno};
    }
}

Socket::Transfer Socket::receive(char* data, qint64 size) {
    for (;;) {
        const ssize_t got = ::recv(handle_, data, size_t(size), 0);
        if (got >= 0) return {got, 0};
        if (errno == EINTR) continue;
        return {0, errno == EWOULDBLOCK ? EAGAIN : errno};
    }
}

int Socket::waitReadable(int timeoutMs) {
    return waitFor(handle_, POLLIN, timeoutMs);
}

int Socket::waitWritable(int timeoutMs) {
    return waitFor(handle_, POLLOUT, timeoutMs);
}

int Socket::shutdownSend() {
    return ::shutdown(handle_, SHUT_WR) == 0 ? 0 : errno;
}

void Socket::close() {
    if (handle_ < 0) return;
    ::close(handle_);
    handle_ = -1;
}

void Socket::abort() {
    if (handle_ < 0) return;
    const linger reset{1, 0};
    ::setsockopt(handle_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close();
}

qint64 Socket::unacknowledgedBytes() const {
    int count = 0;
    if (handle_ < 0 || ::ioctl(handle_, SIOCOUTQ, &count) != 0) return -1;
    return count;
}

Ipv4Address Socket::peerAddress() const {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(handle_, reinterpret_cast<sockaddr*>(&peer), &length) != 0) return 0;
    return ntohl(peer.sin_addr.s_addr);
}

quint16 Socket::localPort() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &length) != 0) return 0;
    return ntohs(local.sin_port);
}

int Socket::lookup(const QString& hostName, Ipv4Address* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(hostName.toUtf8().constData(), nullptr, &hints, &found);
    if (status != 0) return status == EAI_SYSTEM && errno != 0 ? errno : status;
    *address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return 0;
}

// Error numbers are errno values; name lookups give their own negative codes.
QString Socket::errorText(int error) {
    QString text = QString::fromLocal8Bit(error < 0 ? ::gai_strerror(error) : std::strerror(error));
    if (!text.isEmpty() && text.back().isLetterOrNumber()) text += QLatin1Char('.');
    return text;
}

int Socket::wouldBlock() {
    return EAGAIN;
}

int Socket::timedOut() {
    return ETIMEDOUT;
}

bool Socket::isConnectionLost(int error) {
    return error == ECONNRESET || error == ECONNABORTED || error == EPIPE || error == ENOTCONN ||
           error == ESHUTDOWN;
}

} // namespace platform
