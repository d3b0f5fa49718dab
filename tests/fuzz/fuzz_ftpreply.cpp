// Server bytes into the reply reader, as they would come over the control connection in pieces, and
// every reply line into the passive address reader.
#include "ftp/LineBuffer.h"
#include "ftp/PassiveAddress.h"
#include "ftp/ServerReply.h"
#include "platform/Error.h"

#include <cstddef>
#include <cstdint>

namespace {

// Hands the input over in pieces of one size, as receives would, and ends like a closed connection.
class PiecewiseSource : public ftp::LineSource {
public:
    PiecewiseSource(const char* data, size_t size, size_t piece, qsizetype maxLineLength)
        : data_(data), size_(size), piece_(piece), maxLineLength_(maxLineLength) {}

    QByteArray readLine() override {
        for (;;) {
            if (std::optional<QByteArray> line = buffer_.takeLine(maxLineLength_)) {
                check(*line);
                return *line;
            }
            if (at_ == size_) break;
            const size_t n = std::min(piece_, size_ - at_);
            buffer_.append(data_ + at_, qsizetype(n));
            at_ += n;
        }
        if (!buffer_.isEmpty()) {
            QByteArray rest = buffer_.takeRest();
            check(rest);
            return rest;
        }
        throw platform::Error(QStringLiteral("Connection Closed Gracefully."));
    }

private:
    void check(const QByteArray& line) const {
        if (line.size() > maxLineLength_) __builtin_trap();
        if (!line.isEmpty() && (uchar(line.front()) <= ' ' || uchar(line.back()) <= ' ')) __builtin_trap();
    }

    const char* data_;
    size_t size_;
    size_t piece_;
    size_t at_ = 0;
    qsizetype maxLineLength_;
    ftp::LineBuffer buffer_;
};

void readPassive(const QString& line) {
    try {
        const ftp::PassiveAddress address = ftp::parsePassiveReply(line);
        if (address.port == 0) __builtin_trap();
        ftp::dataConnectionAddress(0x7F000001, address.address);
    } catch (const platform::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the piece size and a short or the usual line limit.
    const size_t piece = 1 + data[0] % 64;
    const qsizetype maxLineLength = data[0] & 0x80 ? 16384 : 48;
    PiecewiseSource source(reinterpret_cast<const char*>(data + 1), size - 1, piece, maxLineLength);
    try {
        for (;;) {
            const ftp::ServerReply reply = ftp::readReply(source);
            if (reply.lines.isEmpty() || reply.lines.size() != reply.text.size()) __builtin_trap();
            if (reply.lines.size() > ftp::kMaxReplyLines || reply.code < 0 || reply.code > 9999)
                __builtin_trap();
            try {
                ftp::checkReply(reply, {227});
            } catch (const platform::Error&) {
            }
            for (const QString& text : reply.text)
                readPassive(text);
        }
    } catch (const platform::Error&) {
    }
    return 0;
}
