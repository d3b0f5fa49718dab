#pragma once

#include <QByteArray>
#include <optional>

namespace ftp {

// Bytes received but not yet consumed, cut into lines at LF. A line loses the CR before its LF and
// then its blanks and control characters at both ends.
class LineBuffer {
public:
    void clear();
    // Room for up to `size` more bytes at the end; commit() keeps the `used` bytes written there.
    char* reserve(qsizetype size);
    void commit(qsizetype used);
    void append(const char* data, qsizetype size);

    // The next whole line, or nothing while its LF has not come. A line of more than maxLength bytes
    // (CR LF not counted) fails with "Max line length exceeded.", also before its LF has come.
    std::optional<QByteArray> takeLine(qsizetype maxLength);
    // What is left after the last LF, trimmed like a line: the last line of a stream that ended
    // without LF.
    QByteArray takeRest();
    bool isEmpty() const { return pending() == 0; }

private:
    qsizetype pending() const { return bytes_.size() - start_; }

    QByteArray bytes_;
    qsizetype start_ = 0;    // bytes before it are consumed
    qsizetype reserved_ = 0; // bytes at the end that reserve() added and commit() has not settled
};

} // namespace ftp
