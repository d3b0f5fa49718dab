#include "ftp/CommandLine.h"

#include "platform/Codepage874.h"
#include "platform/Error.h"

namespace ftp {

QByteArray encodeCommandLine(const QString& text) {
    for (const QChar c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            throw platform::Error(QStringLiteral("A command cannot hold CR, LF or NUL."));
    bool mapped = true;
    QByteArray line = platform::cp874::encode(text, &mapped);
    if (!mapped)
        throw platform::Error(QStringLiteral("A command cannot hold characters outside the Thai code page."));
    line.append("\r\n");
    return line;
}

} // namespace ftp
