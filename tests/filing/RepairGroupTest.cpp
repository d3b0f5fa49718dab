#include "filing/RepairGroup.h"
#include "filing/Category.h"
#include "platform/Error.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using filing::PictureCategory;

namespace {

QStringList claimFiles(const QString& claim, std::initializer_list<const char*> sequences,
                       const char* extension = ".JPG") {
    QStringList names;
    for (const char* sequence : sequences)
        names << claim + sequence + extension;
    return names;
}

std::optional<QString> next(const QStringList& names, PictureCategory category) {
    const filing::SequenceRange range = filing::rangeOf(category);
    return filing::repairGroup(filing::sequenceFields(names), range.low, range.high);
}

} // namespace

TEST(RepairGroup, FieldsAreCharactersNineToEleven) {
    EXPECT_EQ(filing::sequenceFields({"AB123456003.JPG", "AB1234560", "AB12345", "AB123456", "AB12345601"}),
              QStringList({"003", "0", "", "", "01"}));
}

TEST(RepairGroup, AUsedUpRangeGivesNoNumberInsteadOfTheNextCategorysFirst) {
    const QString claim = QStringLiteral("AB123456");
    EXPECT_FALSE(next(claimFiles(claim, {"299"}), PictureCategory::BeforeRepair));
    EXPECT_FALSE(next(claimFiles(claim, {"300", "499"}), PictureCategory::DuringRepair));
    EXPECT_FALSE(next(claimFiles(claim, {"799"}), PictureCategory::AfterRepair));
    EXPECT_FALSE(next(claimFiles(claim, {"999"}, ".gif"), PictureCategory::Document));
    // A used-up category leaves the others free.
    EXPECT_EQ(next(claimFiles(claim, {"299"}), PictureCategory::DuringRepair), QStringLiteral("300"));
}

TEST(RepairGroup, AFieldThatIsNotADecimalNumberStopsTheNumbering) {
    const struct {
        const char* name;
        const char* field;
    } cases[] = {{"AB123456x01.JPG", "x01"}, {"notes.jpg", "g"},         {"a.jpg", ""},
                 {"AB123456 12.jpg", " 12"}, {"AB123456$1F.jpg", "$1F"}, {"AB1234560x1.jpg", "0x1"}};
    for (const auto& c : cases) {
        try {
            next({QStringLiteral("AB123456001.JPG"), QString::fromLatin1(c.name)},
                 PictureCategory::BeforeRepair);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(c.field))
                << c.name;
        }
    }
}

TEST(RepairGroup, DecimalValuesWithSigns) {
    EXPECT_EQ(filing::decimalValue("007"), 7);
    EXPECT_EQ(filing::decimalValue("+12"), 12);
    EXPECT_EQ(filing::decimalValue("-01"), -1);
    EXPECT_THROW(filing::decimalValue("-"), platform::Error);
    EXPECT_THROW(filing::decimalValue("1.5"), platform::Error);
}
