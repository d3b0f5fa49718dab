#include "ftp/PassiveAddress.h"

#include "platform/Error.h"

#include <QStringList>
#include <cstdint>

namespace ftp {
namespace {

// A decimal integer of 32 bits with an optional sign; blanks around it are allowed.
qint64 integerField(const QString& field) {
    const QString text = field.trimmed();
    qsizetype at = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+'))) at = 1;
    qint64 value = 0;
    bool valid = at < text.size();
    for (; valid && at < text.size(); ++at) {
        const char16_t c = text.at(at).unicode();
        valid = c >= u'0' && c <= u'9' && value <= (qint64(1) << 31);
        value = value * 10 + (c - u'0');
    }
    if (negative) value = -value;
    if (!valid || value > INT32_MAX || value < INT32_MIN)
        throw platform::Error(QStringLiteral("'%1' is not a valid integer value").arg(field));
    return value;
}

QString addressPart(const QString& line) {
    const qsizetype open = line.indexOf(QLatin1Char('('));
    const qsizetype close = open < 0 ? -1 : line.indexOf(QLatin1Char(')'), open + 1);
    if (open >= 0 && close >= 0) return line.mid(open + 1, close - open - 1);
    return line.mid(line.lastIndexOf(QLatin1Char(' ')) + 1);
}

bool inRange(platform::Ipv4Address address, platform::Ipv4Address network, int prefixLength) {
    const platform::Ipv4Address mask =
        prefixLength == 0 ? 0 : ~platform::Ipv4Address(0) << (32 - prefixLength);
    return (address & mask) == network;
}

} // namespace

PassiveAddress parsePassiveReply(const QString& textLine) {
    const QStringList fields = addressPart(textLine.trimmed()).split(QLatin1Char(','));
    qint64 values[6];
    for (int i = 0; i < 6; ++i)
        values[i] = integerField(fields.value(i));

    PassiveAddress result;
    for (int i = 0; i < 4; ++i) {
        if (values[i] < 0 || values[i] > 255)
            throw platform::Error(QStringLiteral("Passive address %1.%2.%3.%4 is out of range.")
                                      .arg(values[0])
                                      .arg(values[1])
                                      .arg(values[2])
                                      .arg(values[3]));
        result.address = (result.address << 8) | platform::Ipv4Address(values[i]);
    }
    const qint64 port = values[4] * 256 + values[5];
    if (values[4] < 0 || values[5] < 0 || port < 1 || port > 65535)
        throw platform::Error(
            QStringLiteral("Passive port %1,%2 is out of range.").arg(values[4]).arg(values[5]));
    result.port = quint16(port);
    return result;
}

bool isInternalAddress(platform::Ipv4Address address) {
    return inRange(address, 0x00000000, 8)      // 0.0.0.0/8, this network
           || inRange(address, 0x0A000000, 8)   // 10.0.0.0/8
           || inRange(address, 0x7F000000, 8)   // 127.0.0.0/8
           || inRange(address, 0xA9FE0000, 16)  // 169.254.0.0/16
           || inRange(address, 0xAC100000, 12)  // 172.16.0.0/12
           || inRange(address, 0xC0A80000, 16); // 192.168.0.0/16
}

platform::Ipv4Address dataConnectionAddress(platform::Ipv4Address controlPeer,
                                            platform::Ipv4Address offered) {
    return !isInternalAddress(controlPeer) && isInternalAddress(offered) ? controlPeer : offered;
}

} // namespace ftp
