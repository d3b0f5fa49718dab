#include "codecs/GifLzw.h"

#include <cstring>

namespace codecs::gif {

namespace {
constexpr int kMaxCodes = 4096; // 12-bit codes
}

// Every new table entry is the string just written plus the first value written after it, and the two
// stand side by side in out: so an entry is kept as the place and length where it already stands in
// out, and writing it again is a copy. No chain of codes is ever followed, so none can run away.
bool expandLzw(const uchar* data, qsizetype size, int minCodeSize, uchar valueMask, uchar* out,
               qsizetype count) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    qsizetype start[kMaxCodes];
    int length[kMaxCodes];

    int codeSize = minCodeSize + 1;
    int next = clearCode + 2;
    int previous = -1;
    qsizetype previousPos = 0; // where the previous code's string was written
    qsizetype pos = 0;
    const auto lengthOf = [&](int code) { return code < clearCode ? 1 : length[code]; };
    quint64 bits = 0;
    int bitCount = 0;
    qsizetype in = 0;

    for (;;) {
        if (bitCount < codeSize) {
            // Refill whole bytes; the last code may be cut off when the data runs out.
            while (bitCount <= 56 && in < size) {
                bits |= quint64(data[in++]) << bitCount;
                bitCount += 8;
            }
            if (bitCount < codeSize) return true;
        }
        const int code = int(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;

        if (code == clearCode) {
            codeSize = minCodeSize + 1;
            next = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode) return true;

        if (previous < 0) {
            if (code > clearCode) return false;
            out[pos] = uchar(code) & valueMask;
            previousPos = pos;
            if (++pos >= count) return true;
            previous = code;
            continue;
        }
        if (code > next) return false;

        const qsizetype here = pos;
        if (code == next) {
            // The string of the previous code followed by its own first value.
            const int n = lengthOf(previous) + 1;
            const qsizetype from = previousPos;
            const qsizetype fit = qMin<qsizetype>(n, count - pos);
            for (qsizetype i = 0; i < fit; ++i)
                out[pos + i] = out[from + i];
            pos += fit;
        } else if (code < clearCode) {
            out[pos++] = uchar(code) & valueMask;
        } else {
            const qsizetype fit = qMin<qsizetype>(length[code], count - pos);
            std::memcpy(out + pos, out + start[code], size_t(fit));
            pos += fit;
        }
        if (next < kMaxCodes) {
            start[next] = previousPos;
            length[next] = lengthOf(previous) + 1;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
        previousPos = here;
        if (pos >= count) return true;
    }
}

} // namespace codecs::gif
