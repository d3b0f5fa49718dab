#include "register/ui/DateBox.h"
#include "register/DateText.h"
#include "tests/support/QtPrinters.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(DateText, ReadsDayMonthAndFourDigitYear) {
    const struct {
        const char* text;
        QDate date;
    } cases[] = {
        {"01/01/2000", QDate(2000, 1, 1)},
        {"31/12/1999", QDate(1999, 12, 31)},
        {"1 /2 /2026", QDate(2026, 2, 1)},
        {" 5/ 6/2026", QDate(2026, 6, 5)},
        {"29/02/2024", QDate(2024, 2, 29)},
        {"29/02/2025", QDate()},
        {"31/04/2026", QDate()},
        {"00/01/2026", QDate()},
        {"01/13/2026", QDate()},
        {"01/01/26  ", QDate()},
        {"01/01/26", QDate()},
        {"  /  /  ", QDate()},
        {"  /  /    ", QDate()},
        {"", QDate()},
        {"2026-01-01", QDate()},
        {"01/01/2026/1", QDate()},
        {"0a/01/2026", QDate()},
        {"01/01/+026", QDate()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reg::parseDateText(c.text), c.date) << c.text;
}

TEST(DateText, BlankMeansNoDigits) {
    EXPECT_TRUE(reg::isBlankDateText(reg::BlankDateText));
    EXPECT_TRUE(reg::isBlankDateText(""));
    EXPECT_TRUE(reg::isBlankDateText("  /  /    "));
    EXPECT_FALSE(reg::isBlankDateText(" 1/  /    "));
    EXPECT_EQ(reg::dateText(QDate(2026, 3, 7)), "07/03/2026");
    EXPECT_EQ(reg::dateText(QDate()), reg::BlankDateText);
}

TEST(DateBox, BlankAndUnreadableReadAsDayZero) {
    DateBox box;
    EXPECT_TRUE(box.isBlank()) << "a new box is blank";
    EXPECT_EQ(box.date(), QDate(1899, 12, 30));
    box.setDate(QDate(2026, 12, 11));
    EXPECT_EQ(box.text(), "11/12/2026");
    EXPECT_FALSE(box.isBlank());
    EXPECT_EQ(box.date(), QDate(2026, 12, 11));
    box.setText("  /  /  ");
    EXPECT_TRUE(box.isBlank());
    EXPECT_EQ(box.date(), QDate(1899, 12, 30));
    box.setText("31/02/2026");
    EXPECT_FALSE(box.isBlank());
    EXPECT_EQ(box.date(), QDate(1899, 12, 30)) << "no such day";
    box.setDate(QDate());
    EXPECT_TRUE(box.isBlank());
}

TEST(DateBox, TypedDigitsFillDayMonthAndYear) {
    DateBox box;
    QSignalSpy typed(&box, &DateBox::keyTyped);
    QSignalSpy edited(&box, &DateBox::edited);
    box.show();
    box.lineEdit()->setFocus();
    box.lineEdit()->home(false);
    QTest::keyClicks(box.lineEdit(), "01012000");
    EXPECT_EQ(box.text(), "01/01/2000");
    EXPECT_EQ(box.date(), QDate(2000, 1, 1));
    EXPECT_EQ(typed.count(), 8) << "every key typed is reported";
    EXPECT_GE(edited.count(), 1);
    QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(typed.count(), 9) << "backspace is a typed key too";
    QTest::keyClick(box.lineEdit(), Qt::Key_Left);
    EXPECT_EQ(typed.count(), 9) << "moving the cursor types nothing";
    box.setEnabled(false);
    QTest::keyClick(box.lineEdit(), Qt::Key_1);
    EXPECT_EQ(typed.count(), 9) << "a disabled box takes no keys";
}

TEST(DateBox, TheCalendarDropsDownOnTheDateAndSetsTheChosenDay) {
    DateBox box;
    QSignalSpy pressed(&box, &DateBox::buttonClicked);
    QSignalSpy edited(&box, &DateBox::edited);
    box.show();
    box.setDate(QDate(2026, 5, 20));
    QTest::mouseClick(box.dropDownButton(), Qt::LeftButton);
    EXPECT_EQ(pressed.count(), 1);
    ASSERT_TRUE(box.calendar()->isVisible());
    EXPECT_EQ(box.calendar()->selectedDate(), QDate(2026, 5, 20));
    emit box.calendar()->clicked(QDate(2026, 5, 3));
    EXPECT_FALSE(box.calendar()->isVisible());
    EXPECT_EQ(box.text(), "03/05/2026");
    EXPECT_EQ(edited.count(), 1);

    box.setDate(QDate());
    QTest::mouseClick(box.dropDownButton(), Qt::LeftButton);
    EXPECT_EQ(box.calendar()->selectedDate(), QDate::currentDate()) << "a blank box drops down on today";
}
