#include "ftp/ServerReply.h"

#include "ftp/FtpErrors.h"
#include "platform/Codepage874.h"

namespace ftp {
namespace {

int codeValue(const QString& codeText) {
    if (codeText.isEmpty()) return 0;
    for (const QChar c : codeText)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
    return codeText.toInt();
}

class CountedLines {
public:
    explicit CountedLines(LineSource& source) : source_(source) {}
    QString next() {
        if (++count_ > kMaxReplyLines)
            throw platform::Error(QStringLiteral("Reply longer than %1 lines.").arg(kMaxReplyLines));
        return platform::cp874::decode(source_.readLine());
    }

private:
    LineSource& source_;
    int count_ = 0;
};

} // namespace

ServerReply ServerReply::parse(const QStringList& lines) {
    ServerReply reply;
    reply.lines = lines;
    reply.codeText = lines.value(0).left(4).trimmed();
    if (reply.codeText.endsWith(QLatin1Char('-'))) reply.codeText.chop(1);
    reply.code = codeValue(reply.codeText);
    for (const QString& line : lines)
        reply.text.append(line.mid(4));
    return reply;
}

ServerReply readReply(LineSource& source) {
    CountedLines input(source);
    QStringList lines;
    QString line;
    do
        line = input.next();
    while (line.isEmpty());
    lines.append(line);
    if (line.size() > 3 && line.at(3) == QLatin1Char('-')) {
        const QString endMarker = line.left(3) + QLatin1Char(' ');
        for (;;) {
            line = input.next();
            if (line.isEmpty()) continue;
            lines.append(line);
            if (line.size() < 4 || line.left(4).compare(endMarker, Qt::CaseInsensitive) == 0) break;
        }
    }
    return ServerReply::parse(lines);
}

void checkReply(const ServerReply& reply, const QList<int>& accepted) {
    if (!accepted.isEmpty() && !accepted.contains(reply.code)) throw ReplyError(reply.code, reply.text);
}

} // namespace ftp
