#include "ftp/PassiveAddress.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace {

platform::Ipv4Address address(const char* dotted) {
    platform::Ipv4Address value = 0;
    EXPECT_TRUE(platform::parseDottedAddress(QString::fromLatin1(dotted), &value)) << dotted;
    return value;
}

} // namespace

TEST(PassiveAddress, AddressAndPortAreRead) {
    struct Case {
        const char* line;
        const char* address;
        int port;
    };
    const Case cases[] = {
        {"Entering Passive Mode (192,168,1,20,19,137)", "192.168.1.20", 5001},
        {"Entering Passive Mode 10,0,0,5,4,1", "10.0.0.5", 1025},
        {"Entering Passive Mode (127,0,0,1,200,10).", "127.0.0.1", 51210},
        {"  Entering Passive Mode (127,0,0,2,0,21)  ", "127.0.0.2", 21},
        {"Entering Passive Mode ( 127, 0, 0, 1, 4, 1 )", "127.0.0.1", 1025},
        {"(1,2,3,4,5,6,7,8)", "1.2.3.4", 1286},
        {"Entering Passive Mode (127,0,0,1,0,5001)", "127.0.0.1", 5001},
        {"Port ) first (203,0,113,9,255,255)", "203.0.113.9", 65535},
        {"127,0,0,1,0,1", "127.0.0.1", 1},
    };
    for (const Case& c : cases) {
        const ftp::PassiveAddress result = ftp::parsePassiveReply(QString::fromLatin1(c.line));
        EXPECT_EQ(platform::formatAddress(result.address), QString::fromLatin1(c.address)) << c.line;
        EXPECT_EQ(result.port, c.port) << c.line;
    }
}

TEST(PassiveAddress, MalformedRepliesFailWithClearErrors) {
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"Entering Passive Mode (192,168,1,20,19)", "'' is not a valid integer value"},
        {"Entering Passive Mode (192,168,1,x,19,137)", "'x' is not a valid integer value"},
        {"Entering Passive Mode =127,0,0,1,4,1", "'=127' is not a valid integer value"},
        {"Entering Passive Mode", "'Mode' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"(127,0,0,1,4,1.5)", "'1.5' is not a valid integer value"},
        {"(127,0,0,1,4,99999999999)", "'99999999999' is not a valid integer value"},
        {"(127,0,0,1,4,-)", "'-' is not a valid integer value"},
        {"(127,0,0,1,4,0x10)", "'0x10' is not a valid integer value"},
        {"(256,0,0,1,4,1)", "Passive address 256.0.0.1 is out of range."},
        {"(127,0,-1,1,4,1)", "Passive address 127.0.-1.1 is out of range."},
        {"(127,0,0,1,256,0)", "Passive port 256,0 is out of range."},
        {"(127,0,0,1,0,65536)", "Passive port 0,65536 is out of range."},
        {"(127,0,0,1,0,0)", "Passive port 0,0 is out of range."},
        {"(127,0,0,1,-1,300)", "Passive port -1,300 is out of range."},
    };
    for (const Case& c : cases) {
        try {
            ftp::parsePassiveReply(QString::fromLatin1(c.line));
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(c.error)) << c.line;
        }
    }
}

TEST(PassiveAddress, InternalAddressesFromAnOutsideServerGoToTheServerItself) {
    struct Case {
        const char* controlPeer;
        const char* offered;
        const char* used;
    };
    const Case cases[] = {
        // A server on the internet naming an internal address: the client stays with the server.
        {"203.0.113.5", "192.168.1.20", "203.0.113.5"},
        {"203.0.113.5", "127.0.0.1", "203.0.113.5"},
        {"203.0.113.5", "10.0.0.5", "203.0.113.5"},
        {"203.0.113.5", "172.16.0.1", "203.0.113.5"},
        {"203.0.113.5", "172.31.255.255", "203.0.113.5"},
        {"203.0.113.5", "169.254.10.1", "203.0.113.5"},
        {"203.0.113.5", "0.0.0.0", "203.0.113.5"},
        // Outside addresses are followed as named.
        {"203.0.113.5", "198.51.100.7", "198.51.100.7"},
        {"203.0.113.5", "172.32.0.1", "172.32.0.1"},
        {"203.0.113.5", "192.169.0.1", "192.169.0.1"},
        // A server inside the garage's own network or on this machine is followed too.
        {"192.168.1.1", "192.168.1.20", "192.168.1.20"},
        {"10.1.1.1", "198.51.100.7", "198.51.100.7"},
        {"127.0.0.1", "127.0.0.2", "127.0.0.2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            platform::formatAddress(ftp::dataConnectionAddress(address(c.controlPeer), address(c.offered))),
            QString::fromLatin1(c.used))
            << c.controlPeer << " offers " << c.offered;
}
