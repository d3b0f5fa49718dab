#include "platform/Codepage874.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

namespace cp874 = platform::cp874;

TEST(Codepage874, ThaiLettersRoundTrip) {
    const QString garage = QString::fromUtf8("อู่ช่างเอก 2");
    bool ok = false;
    const QByteArray bytes = cp874::encode(garage, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes.size(), garage.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 0xCD); // อ
    EXPECT_EQ(cp874::decode(bytes), garage);
}

// Python's cp874 codec is the independent reference: every byte it decodes must decode and encode back
// the same way here, and every byte it leaves undefined must be undefined here too.
TEST(Codepage874, EveryByteAgreesWithPythonsCodec) {
    QByteArray out;
    ASSERT_EQ(runProgram("/usr/bin/python3",
                         {"-c", "for b in range(256):\n"
                                "    try: print(ord(bytes([b]).decode('cp874')))\n"
                                "    except UnicodeDecodeError: print(-1)\n"},
                         &out),
              0);
    const QList<QByteArray> codes = out.trimmed().split('\n');
    ASSERT_EQ(codes.size(), 256);
    for (int b = 0; b < 256; ++b) {
        const int expected = codes[b].toInt();
        const QByteArray one(1, char(b));
        const QString text = cp874::decode(one);
        ASSERT_EQ(text.size(), 1);
        if (expected < 0) {
            EXPECT_EQ(text.at(0).unicode(), 0xFFFD) << b;
            continue;
        }
        EXPECT_EQ(text.at(0).unicode(), expected) << b;
        bool ok = false;
        EXPECT_EQ(cp874::encode(text, &ok), one) << b;
        EXPECT_TRUE(ok) << b;
    }
}

TEST(Codepage874, UnmappableCharactersBecomeQuestionMarks) {
    bool ok = true;
    EXPECT_EQ(cp874::encode(QString::fromUtf8("a€ä中"), &ok), QByteArray("a\x80??"));
    EXPECT_FALSE(ok);
}

TEST(Codepage874, TheReplacementCharacterIsNotMapped) {
    bool ok = true;
    EXPECT_EQ(cp874::encode(QString(QChar(0xFFFD)), &ok), QByteArray("?"));
    EXPECT_FALSE(ok);
}
