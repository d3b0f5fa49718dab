#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace ftp {

// Where reply lines come from: the control connection, or bytes in a test or fuzzer.
class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line, already trimmed; raises when no line can come.
    virtual QByteArray readLine() = 0;
};

struct ServerReply {
    int code = 0;      // 0 when the code text is not a number
    QString codeText;  // "220"
    QStringList text;  // each line from its fifth character on, the code and separator removed
    QStringList lines; // the lines as they came

    static ServerReply parse(const QStringList& lines);
};

// A reply with more lines than this (empty ones counted) is refused, so that a server cannot keep a
// reply going for ever.
constexpr int kMaxReplyLines = 1000;

// Reads one reply: empty lines are skipped; a first line "nnn-" opens a multi-line reply that ends at
// the first line beginning "nnn " (without regard to case) or at a line shorter than four characters.
// Lines are Thai code page text.
ServerReply readReply(LineSource& source);

// Raises a ReplyError when `accepted` is not empty and does not hold the reply's code.
void checkReply(const ServerReply& reply, const QList<int>& accepted);

} // namespace ftp
