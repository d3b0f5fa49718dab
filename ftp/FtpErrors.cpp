#include "ftp/FtpErrors.h"

#include "platform/Socket.h"

namespace ftp {
namespace {

QString joinReplyText(const QStringList& textLines) {
    QString message;
    for (const QString& line : textLines)
        message += line + QStringLiteral("\r\n");
    return message;
}

} // namespace

ReplyError::ReplyError(int code, const QStringList& textLines)
    : Error(joinReplyText(textLines)), code_(code) {}

SocketError::SocketError(int number)
    : Error(QStringLiteral("Socket Error # %1\r\n%2")
                .arg(QString::number(number), platform::Socket::errorText(number))),
      number_(number) {}

} // namespace ftp
