#include "filing/ClaimNumber.h"

#include "filing/Messages.h"
#include "platform/Codepage874.h"

#include <QStringList>

namespace filing {
namespace {

constexpr int kClaimNumberLength = 8;

bool isDeviceName(const QString& claimNumber) {
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    const QString stem = claimNumber.section('.', 0, 0).trimmed().toUpper();
    if (devices.contains(stem)) return true;
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           stem.at(3) >= '1' && stem.at(3) <= '9';
}

bool canNameAFile(const QString& claimNumber) {
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : claimNumber)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || refused.contains(c)) return false;
    if (claimNumber.contains(QLatin1String(".."))) return false;
    if (claimNumber.endsWith(' ') || claimNumber.endsWith('.')) return false;
    bool encodable = true;
    platform::cp874::encode(claimNumber, &encodable);
    return encodable && !isDeviceName(claimNumber);
}

} // namespace

QString claimNumberRefusal(const QString& claimNumber) {
    if (claimNumber.size() != kClaimNumberLength)
        return claimNumber.isEmpty() ? messages::EnterClaimNumber : messages::ClaimNumberLength;
    if (!canNameAFile(claimNumber)) return messages::ClaimNumberCharacters.arg(claimNumber);
    return {};
}

} // namespace filing
