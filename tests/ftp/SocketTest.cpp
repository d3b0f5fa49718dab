#include "platform/Socket.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using platform::Socket;

namespace {

constexpr platform::Ipv4Address kLoopback = 0x7F000001;

// The peer, made with the operating system's own calls rather than the class under test.
class Listener {
public:
    Listener() {
        handle_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(kLoopback);
        ::bind(handle_, reinterpret_cast<sockaddr*>(&local), sizeof local);
        ::listen(handle_, 4);
        socklen_t length = sizeof local;
        ::getsockname(handle_, reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }
    ~Listener() { close(); }
    quint16 port() const { return port_; }
    int accept() { return ::accept(handle_, nullptr, nullptr); }
    void close() {
        if (handle_ >= 0) ::close(handle_);
        handle_ = -1;
    }

private:
    int handle_ = -1;
    quint16 port_ = 0;
};

void connectTo(Socket& socket, quint16 port) {
    ASSERT_EQ(socket.create(), 0);
    ASSERT_EQ(socket.bindAny(), 0);
    ASSERT_EQ(socket.connect(kLoopback, port, 5000), 0);
}

} // namespace

TEST(Socket, DottedAddressesAreParsedStrictly) {
    platform::Ipv4Address value = 0;
    EXPECT_TRUE(platform::parseDottedAddress("127.0.0.1", &value));
    EXPECT_EQ(value, kLoopback);
    EXPECT_TRUE(platform::parseDottedAddress("255.255.255.255", &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_EQ(platform::formatAddress(0xC0A80114), "192.168.1.20");
    for (const char* text : {"", "127.0.0", "127.0.0.1.5", "256.0.0.1", "1.2.3.", "a.b.c.d", "1.2.3.-4",
                             "1..2.3", " 1.2.3.4", "1.2.3.0004", "localhost"})
        EXPECT_FALSE(platform::parseDottedAddress(QString::fromLatin1(text), &value)) << text;
}

TEST(Socket, BytesTravelBothWaysAndEndsAreSeen) {
    Listener listener;
    Socket client;
    connectTo(client, listener.port());
    const int server = listener.accept();
    ASSERT_GE(server, 0);
    EXPECT_EQ(client.peerAddress(), kLoopback);
    EXPECT_NE(client.localPort(), 0);

    const Socket::Transfer sent = client.send("hello", 5);
    EXPECT_EQ(sent.bytes, 5);
    char in[16] = {};
    EXPECT_EQ(::recv(server, in, sizeof in, 0), 5);
    EXPECT_EQ(QByteArray(in, 5), "hello");

    // Nothing to read yet: the wait ends at its limit, a receive would block.
    EXPECT_EQ(client.waitReadable(50), Socket::timedOut());
    EXPECT_EQ(client.receive(in, sizeof in).error, Socket::wouldBlock());
    ::send(server, "ok", 2, 0);
    EXPECT_EQ(client.waitReadable(5000), 0);
    EXPECT_EQ(client.receive(in, sizeof in).bytes, 2);

    // Every byte acknowledged, then the end of data reaches the peer.
    EXPECT_EQ(client.unacknowledgedBytes(), 0);
    EXPECT_EQ(client.shutdownSend(), 0);
    EXPECT_EQ(::recv(server, in, sizeof in, 0), 0);

    // The peer's close is a receive of no bytes.
    ::close(server);
    EXPECT_EQ(client.waitReadable(5000), 0);
    const Socket::Transfer end = client.receive(in, sizeof in);
    EXPECT_EQ(end.bytes, 0);
    EXPECT_EQ(end.error, 0);
    client.close();
    EXPECT_FALSE(client.isOpen());
}

TEST(Socket, AbortResetsThePeer) {
    Listener listener;
    Socket client;
    connectTo(client, listener.port());
    const int server = listener.accept();
    client.send("partial", 7);
    client.abort();
    EXPECT_FALSE(client.isOpen());
    char in[16];
    ssize_t got = 0;
    while ((got = ::recv(server, in, sizeof in, 0)) > 0) {
    }
    EXPECT_EQ(got, -1);
    EXPECT_EQ(errno, ECONNRESET);
    ::close(server);
}

TEST(Socket, FailuresGiveTheirNumberAndThePlatformsText) {
    Listener listener;
    const quint16 closedPort = listener.port();
    listener.close();
    Socket client;
    ASSERT_EQ(client.create(), 0);
    const int refused = client.connect(kLoopback, closedPort, 5000);
    EXPECT_EQ(refused, ECONNREFUSED);
    EXPECT_EQ(Socket::errorText(refused), "Connection refused.");
    EXPECT_TRUE(Socket::isConnectionLost(ECONNRESET));
    EXPECT_FALSE(Socket::isConnectionLost(ECONNREFUSED));
    EXPECT_EQ(Socket::errorText(Socket::timedOut()), "Connection timed out.");
}

TEST(Socket, NamesAreLookedUp) {
    platform::Ipv4Address value = 0;
    EXPECT_EQ(Socket::lookup("localhost", &value), 0);
    EXPECT_EQ(value >> 24, 127u);
}
