#include "platform/Codepage874.h"

#include <array>

namespace platform::cp874 {
namespace {

constexpr char16_t kUnmapped = 0xFFFD;

// 0x80..0xFF; 0xA1..0xFB is the Thai block U+0E01..U+0E5B with holes at 0xDB..0xDE.
constexpr std::array<char16_t, 128> upperHalf() {
    std::array<char16_t, 128> table{};
    for (auto& c : table)
        c = kUnmapped;
    table[0x80 - 0x80] = 0x20AC;
    table[0x85 - 0x80] = 0x2026;
    table[0x91 - 0x80] = 0x2018;
    table[0x92 - 0x80] = 0x2019;
    table[0x93 - 0x80] = 0x201C;
    table[0x94 - 0x80] = 0x201D;
    table[0x95 - 0x80] = 0x2022;
    table[0x96 - 0x80] = 0x2013;
    table[0x97 - 0x80] = 0x2014;
    table[0xA0 - 0x80] = 0x00A0;
    for (int b = 0xA1; b <= 0xFB; ++b) {
        if (b >= 0xDB && b <= 0xDE) continue;
        table[b - 0x80] = char16_t(0x0E01 + (b - 0xA1));
    }
    return table;
}

constexpr auto kUpper = upperHalf();

} // namespace

QByteArray encode(const QString& text, bool* ok) {
    QByteArray out;
    out.reserve(text.size());
    bool allMapped = true;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        int found = -1;
        if (u >= 0x0E01 && u <= 0x0E5B) {
            found = 0xA1 + (u - 0x0E01);
            if (kUpper[found - 0x80] != u) found = -1;
        } else {
            for (int i = 0; i < 128; ++i)
                if (kUpper[i] == u && u != kUnmapped) found = 0x80 + i;
        }
        if (found < 0) {
            allMapped = false;
            out.append('?');
        } else {
            out.append(char(found));
        }
    }
    if (ok) *ok = allMapped;
    return out;
}

QString decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(b) : QChar(kUpper[b - 0x80]));
    }
    return out;
}

} // namespace platform::cp874
