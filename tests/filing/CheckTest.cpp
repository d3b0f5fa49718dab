#include "filing/Category.h"
#include "filing/ClaimNumber.h"
#include "filing/Messages.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using filing::PictureCategory;

TEST(ClaimNumber, LengthIsCheckedFirst) {
    EXPECT_EQ(filing::claimNumberRefusal(""), QStringLiteral("กรุณาป้อนเลขรับแจ้ง"));
    for (const char* text : {"A", "AB12345", "AB1234567", "AB/1234", "AB/123456"})
        EXPECT_EQ(filing::claimNumberRefusal(text), QStringLiteral("เลขรับแจ้งต้องมี 8 ตัว")) << text;
}

TEST(ClaimNumber, NumbersThatCanNameAFolderAreAccepted) {
    for (const QString& text :
         {QStringLiteral("AB123456"), QStringLiteral("12345678"), QStringLiteral("ab-12_34"),
          QStringLiteral(" AB12345"), QStringLiteral("AB 12345"), QStringLiteral("กข123456"),
          QStringLiteral("A.123456"), QStringLiteral("CONSOLE1"), QStringLiteral("COM12345")})
        EXPECT_EQ(filing::claimNumberRefusal(text), QString()) << text.toStdString();
}

TEST(ClaimNumber, CharactersAFileNameCannotHoldAreRefused) {
    for (const QString& text : {QStringLiteral("AB/23456"),
                                QStringLiteral("AB\\23456"),
                                QStringLiteral("../12345"),
                                QStringLiteral("AB..3456"),
                                QStringLiteral("AB:23456"),
                                QStringLiteral("AB*23456"),
                                QStringLiteral("AB?23456"),
                                QStringLiteral("AB\"23456"),
                                QStringLiteral("AB<23456"),
                                QStringLiteral("AB>23456"),
                                QStringLiteral("AB|23456"),
                                QStringLiteral("AB\t23456"),
                                QStringLiteral("AB123456").replace(2, 1, QChar(0)),
                                QStringLiteral("AB12345 "),
                                QStringLiteral("AB12345."),
                                QStringLiteral("AB12345") + QChar(0x4E2D),
                                QStringLiteral("CON.1234"),
                                QStringLiteral("nul.abcd"),
                                QStringLiteral("LPT1.abc"),
                                QStringLiteral("com9.123")})
        EXPECT_EQ(filing::claimNumberRefusal(text), filing::messages::ClaimNumberCharacters.arg(text))
            << text.toStdString();
}

TEST(Category, RangesLabelsAndAcceptedKinds) {
    const struct {
        PictureCategory category;
        int low, high;
        const char* label;
        const char* word;
    } cases[] = {{PictureCategory::BeforeRepair, 1, 299, "ก่อนซ่อม", "before"},
                 {PictureCategory::DuringRepair, 300, 499, "ระหว่างซ่อม", "during"},
                 {PictureCategory::AfterRepair, 500, 799, "หลังซ่อม", "after"},
                 {PictureCategory::Document, 800, 999, "เอกสาร", "document"}};
    for (const auto& c : cases) {
        EXPECT_EQ(filing::rangeOf(c.category).low, c.low);
        EXPECT_EQ(filing::rangeOf(c.category).high, c.high);
        EXPECT_EQ(filing::labelOf(c.category), QString::fromUtf8(c.label));
        PictureCategory parsed{};
        ASSERT_TRUE(filing::categoryFromWord(QString::fromLatin1(c.word), &parsed));
        EXPECT_EQ(parsed, c.category);
        const bool document = c.category == PictureCategory::Document;
        for (const char* name : {"a.jpg", "IMG_1.JPG", "x.Jpg"})
            EXPECT_EQ(filing::kindRefusal(c.category, name),
                      document ? filing::messages::DocumentsOnly : QString())
                << name;
        for (const char* name : {"scan.gif", "SCAN.GIF", "s.Gif"})
            EXPECT_EQ(filing::kindRefusal(c.category, name),
                      document ? QString() : filing::messages::PhotographsOnly)
                << name;
    }
    PictureCategory unused{};
    EXPECT_FALSE(filing::categoryFromWord("Before", &unused));
}
