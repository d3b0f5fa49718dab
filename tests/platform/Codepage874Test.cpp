#include "platform/Codepage874.h"

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

TEST(Codepage874, EveryByteDecodesAndMappedOnesEncodeBack) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString text = cp874::decode(one);
        if (text.at(0).unicode() == 0xFFFD) continue;
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
