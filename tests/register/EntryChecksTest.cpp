#include "register/EntryChecks.h"
#include "register/EntryFlow.h"
#include "register/EntryMessages.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using reg::EntryControl;

namespace {

const QDate Today(2026, 12, 11);

reg::EntryInput completeInput() {
    return {QStringLiteral("AB123456"), QDate(2026, 12, 1),       QStringLiteral("โตโยต้า"),
            QStringLiteral("กข 1234"),  QStringLiteral("อู่สมชาย"), QStringLiteral("กำลังซ่อม")};
}

} // namespace

namespace reg {
void PrintTo(const reg::CheckFailure& failure, std::ostream* os) {
    *os << failure.message.toStdString() << " -> control " << static_cast<int>(failure.focus);
}
} // namespace reg

TEST(EntryChecks, ACompleteEntryPasses) {
    EXPECT_EQ(reg::checkEntry(completeInput(), Today), std::nullopt);
}

TEST(EntryChecks, EachCheckHasItsMessageAndFocus) {
    const struct {
        const char* name;
        void (*spoil)(reg::EntryInput&);
        QString message;
        EntryControl focus;
    } cases[] = {
        {"claim", [](reg::EntryInput& in) { in.claimNumber.clear(); }, reg::messages::EnterClaimNumber,
         EntryControl::ClaimNumber},
        {"blank date", [](reg::EntryInput& in) { in.garageDate = QDate(); }, reg::messages::GarageDateYear,
         EntryControl::GarageDate},
        {"year", [](reg::EntryInput& in) { in.garageDate = QDate(1999, 12, 31); },
         reg::messages::GarageDateYear, EntryControl::GarageDate},
        {"future", [](reg::EntryInput& in) { in.garageDate = Today.addDays(1); },
         reg::messages::GarageDateInFuture, EntryControl::GarageDate},
        {"brand", [](reg::EntryInput& in) { in.brand.clear(); }, reg::messages::EnterBrand,
         EntryControl::Brand},
        {"regno", [](reg::EntryInput& in) { in.regno.clear(); }, reg::messages::EnterRegno,
         EntryControl::Regno},
        {"garage", [](reg::EntryInput& in) { in.garage.clear(); }, reg::messages::EnterGarage,
         EntryControl::Garage},
        {"status", [](reg::EntryInput& in) { in.status.clear(); }, reg::messages::ChooseStatus,
         EntryControl::Status},
    };
    for (const auto& c : cases) {
        reg::EntryInput input = completeInput();
        c.spoil(input);
        EXPECT_EQ(reg::checkEntry(input, Today), (reg::CheckFailure{c.message, c.focus})) << c.name;
    }
}

TEST(EntryChecks, TheFirstFailingCheckInOrderIsReported) {
    // Every box empty, then filled one by one from the top: each time the next check down reports.
    reg::EntryInput input;
    const QList<EntryControl> order = {EntryControl::ClaimNumber, EntryControl::GarageDate,
                                       EntryControl::Brand,       EntryControl::Regno,
                                       EntryControl::Garage,      EntryControl::Status};
    const reg::EntryInput full = completeInput();
    for (EntryControl expected : order) {
        const auto failure = reg::checkEntry(input, Today);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->focus, expected);
        switch (expected) {
        case EntryControl::ClaimNumber:
            input.claimNumber = full.claimNumber;
            break;
        case EntryControl::GarageDate:
            input.garageDate = full.garageDate;
            break;
        case EntryControl::Brand:
            input.brand = full.brand;
            break;
        case EntryControl::Regno:
            input.regno = full.regno;
            break;
        case EntryControl::Garage:
            input.garage = full.garage;
            break;
        case EntryControl::Status:
            input.status = full.status;
            break;
        }
    }
    EXPECT_EQ(reg::checkEntry(input, Today), std::nullopt);
}

TEST(EntryChecks, BoxesHoldingOnlySpacesAreNotEmpty) {
    const reg::EntryInput input{QStringLiteral(" "), QDate(2026, 1, 1),   QStringLiteral("  "),
                                QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
    EXPECT_EQ(reg::checkEntry(input, Today), std::nullopt);
}

TEST(EntryChecks, GarageDatesAroundTodayAndTheCentury) {
    const struct {
        QDate date;
        std::optional<QString> message;
    } cases[] = {
        {Today, std::nullopt},
        {Today.addDays(1), reg::messages::GarageDateInFuture},
        {Today.addYears(1), reg::messages::GarageDateInFuture},
        {QDate(1999, 12, 31), reg::messages::GarageDateYear},
        {QDate(2000, 1, 1), std::nullopt},
    };
    for (const auto& c : cases) {
        reg::EntryInput input = completeInput();
        input.garageDate = c.date;
        const auto failure = reg::checkEntry(input, Today);
        EXPECT_EQ(failure ? std::optional(failure->message) : std::nullopt, c.message)
            << c.date.toString().toStdString();
    }
}

TEST(EntryChecks, TheYearCheckLooksAtTheLastTwoDigitsOnly) {
    const struct {
        int year;
        bool passes;
    } cases[] = {{2000, true}, {2025, true}, {2040, true}, {2041, false}, {1941, false}, {1999, false},
                 {1940, true}, {1900, true}, {2100, true}, {2140, true},  {2141, false}, {2546, false},
                 {2540, true}, {40, true},   {99, false},  {1899, false}};
    for (const auto& c : cases)
        EXPECT_EQ(reg::yearCheckPasses(QDate(c.year, 6, 15)), c.passes) << c.year;
    EXPECT_FALSE(reg::yearCheckPasses(QDate())) << "a blank date reads as 30/12/1899";
    EXPECT_EQ(reg::readDate(QDate()), QDate(1899, 12, 30));
}

TEST(EntryChecks, AChosenStatusShowsOnlyWhenItsCutNameIsInTheList) {
    const QString longName = QStringLiteral("รอชิ้นส่วนอะไหล่จากต่างประเทศนานกว่าหนึ่งเดือน");
    const QStringList names = {QStringLiteral("กำลังซ่อม"), longName, QStringLiteral("ซ่อมเสร็จ")};
    EXPECT_EQ(reg::chosenStatusText(names, QStringLiteral("ซ่อมเสร็จ")), QStringLiteral("ซ่อมเสร็จ"));
    EXPECT_EQ(reg::chosenStatusText(names, longName), QString()) << "cut to 30 letters it names no status";
    EXPECT_EQ(reg::chosenStatusText(names + QStringList{longName.left(30)}, longName), longName.left(30));
    EXPECT_EQ(reg::chosenStatusText(names, QStringLiteral("ไม่มี")), QString());
}
