#pragma once

#include <QString>

namespace filing {

// The message that refuses a claim number typed for filing, or an empty text when it is accepted.
// The number must be exactly 8 characters and must be able to name a folder and begin file names on
// every platform the pictures travel to: no path separators, "..", wildcard or reserved characters,
// control characters, characters outside the Thai code page, trailing space or dot, or device names.
QString claimNumberRefusal(const QString& claimNumber);

} // namespace filing
