#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// The one error type the system raises; its message is the text the user sees.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// Formats a message pattern holding one "%s" or "%d" the way the system's messages are written.
QString formatMessage(const QString& pattern, const QString& argument);

} // namespace platform
