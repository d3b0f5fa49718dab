#include "ftp/LineBuffer.h"

#include "platform/Error.h"

#include <cstring>

namespace ftp {
namespace {

QByteArray trimmed(const char* begin, const char* end) {
    while (begin < end && static_cast<unsigned char>(*begin) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(end[-1]) <= ' ')
        --end;
    return QByteArray(begin, end - begin);
}

[[noreturn]] void lineTooLong() {
    throw platform::Error(QStringLiteral("Max line length exceeded."));
}

} // namespace

void LineBuffer::clear() {
    bytes_.clear();
    start_ = 0;
    reserved_ = 0;
}

char* LineBuffer::reserve(qsizetype size) {
    if (start_ > 0 && start_ >= bytes_.size() / 2) { // drop consumed bytes before growing
        bytes_.remove(0, start_);
        start_ = 0;
    }
    const qsizetype used = bytes_.size();
    bytes_.resize(used + size);
    reserved_ = size;
    return bytes_.data() + used;
}

void LineBuffer::commit(qsizetype used) {
    bytes_.chop(reserved_ - used);
    reserved_ = 0;
}

void LineBuffer::append(const char* data, qsizetype size) {
    std::memcpy(reserve(size), data, size_t(size));
    commit(size);
}

std::optional<QByteArray> LineBuffer::takeLine(qsizetype maxLength) {
    const char* begin = bytes_.constData() + start_;
    const char* end = bytes_.constData() + bytes_.size();
    const char* lf = static_cast<const char*>(std::memchr(begin, '\n', size_t(end - begin)));
    if (!lf) {
        const qsizetype waiting = pending() - (pending() > 0 && end[-1] == '\r' ? 1 : 0);
        if (waiting > maxLength) lineTooLong();
        return std::nullopt;
    }
    const char* lineEnd = lf > begin && lf[-1] == '\r' ? lf - 1 : lf;
    if (lineEnd - begin > maxLength) lineTooLong();
    QByteArray line = trimmed(begin, lineEnd);
    start_ += lf + 1 - begin;
    if (start_ == bytes_.size()) clear();
    return line;
}

QByteArray LineBuffer::takeRest() {
    const char* begin = bytes_.constData() + start_;
    const char* end = bytes_.constData() + bytes_.size();
    if (end > begin && end[-1] == '\r') --end;
    QByteArray rest = trimmed(begin, end);
    clear();
    return rest;
}

} // namespace ftp
