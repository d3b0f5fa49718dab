#pragma once

#include <QString>
#include <QtGlobal>

// IPv4 TCP sockets, as little as the FTP client needs. Calls give back 0 or an error number that
// errorText() describes; every wait takes a limit in milliseconds. POSIX sockets here; another
// platform's sockets (Winsock) can take their place behind the same class.
namespace platform {

// An IPv4 address in host byte order: 127.0.0.1 is 0x7F000001.
using Ipv4Address = quint32;

// "a.b.c.d" with four decimal fields of 0 to 255; false for anything else.
bool parseDottedAddress(const QString& text, Ipv4Address* address);
QString formatAddress(Ipv4Address address);

class Socket {
public:
    // Outcome of one send or receive: bytes moved, or an error number. A receive of 0 bytes without
    // an error means the peer closed its side.
    struct Transfer {
        qint64 bytes = 0;
        int error = 0;
    };

    Socket() = default;
    ~Socket();
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int create();
    bool isOpen() const { return handle_ >= 0; }
    int bindAny(); // any local address, a port the system chooses
    // Gives up with timedOut() when the connection does not stand within the limit.
    int connect(Ipv4Address address, quint16 port, int timeoutMs);
    // Moves what can be moved now without waiting; wouldBlock() as the error when nothing can.
    Transfer send(const char* data, qint64 size);
    Transfer receive(char* data, qint64 size);
    // 0 once the socket is readable (or writable), timedOut() when the limit passes first.
    int waitReadable(int timeoutMs);
    int waitWritable(int timeoutMs);
    int shutdownSend();
    void close();
    // Closes with a reset, so that the peer learns the connection broke off rather than ended.
    void abort();
    // Bytes sent that the peer has not yet acknowledged; -1 where the platform cannot tell.
    qint64 unacknowledgedBytes() const;
    Ipv4Address peerAddress() const;
    quint16 localPort() const;

    // Looks a host name up (IPv4 only).
    static int lookup(const QString& hostName, Ipv4Address* address);
    // The platform's description of an error number, as a sentence.
    static QString errorText(int error);
    static int wouldBlock();
    static int timedOut();
    // The peer shut the connection down, aborted or reset it.
    static bool isConnectionLost(int error);

private:
    int handle_ = -1;
};

} // namespace platform
