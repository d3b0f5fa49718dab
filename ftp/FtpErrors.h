#pragma once

#include "platform/Error.h"

#include <QStringList>

namespace ftp {

// A reply whose code the command does not accept. The message is the reply's text lines, each
// followed by CR LF.
class ReplyError : public platform::Error {
public:
    ReplyError(int code, const QStringList& textLines);
    int code() const { return code_; }

private:
    int code_;
};

// A socket call that failed: "Socket Error # <number>" and the platform's description on a second line.
class SocketError : public platform::Error {
public:
    explicit SocketError(int number);
    int number() const { return number_; }

private:
    int number_;
};

// An upload broken off on the caller's request.
class TransferCancelled : public platform::Error {
public:
    TransferCancelled() : platform::Error(QStringLiteral("The upload was cancelled.")) {}
};

} // namespace ftp
