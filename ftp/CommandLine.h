#pragma once

#include <QByteArray>
#include <QString>

namespace ftp {

// The bytes of one command line: the text in the Thai code page followed by CR LF. A text holding CR,
// LF or NUL (which would let a file or garage name start a command of its own) or a character that
// the code page cannot hold is refused with an Error; the message never repeats the text, which may
// be a password.
QByteArray encodeCommandLine(const QString& text);

} // namespace ftp
