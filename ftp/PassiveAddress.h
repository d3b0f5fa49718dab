#pragma once

#include "platform/Socket.h"

#include <QString>

namespace ftp {

struct PassiveAddress {
    platform::Ipv4Address address = 0;
    quint16 port = 0;
};

// Reads the address of a 227 reply from its first text line: the text between "(" and ")", or else
// the last word, holds six comma-separated decimal fields h1,h2,h3,h4,p1,p2 giving the address
// h1.h2.h3.h4 and the port p1 * 256 + p2. A field that is not an integer fails with
// "'<field>' is not a valid integer value"; an address field over 255 or a port outside 1 to 65535
// fails too.
PassiveAddress parsePassiveReply(const QString& textLine);

// Loopback, private, link-local and "this network" addresses: ones that only mean something inside
// the server's own network.
bool isInternalAddress(platform::Ipv4Address address);

// Where the data connection goes. A server reached over the internet that names an internal address
// is either misconfigured or steering the client at a machine of the garage's own network; the data
// connection then goes to the server itself, on the port it named.
platform::Ipv4Address dataConnectionAddress(platform::Ipv4Address controlPeer, platform::Ipv4Address offered);

} // namespace ftp
