#include "register/SearchStatement.h"
#include "tests/support/QtPrinters.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

TEST(SearchStatement, UnfinishedCarsLeaveOutTheFinishedClaims) {
    const struct {
        QStringList finished;
        QStringList lines;
    } cases[] = {
        {{}, {"select * from vorlex"}},
        {{"12345678"}, {"select * from vorlex", "where claimno not in ('12345678')"}},
        {{"12345678", "87654321"}, {"select * from vorlex", "where claimno not in ('12345678','87654321')"}},
        {{"AB'12345"}, {"select * from vorlex", "where claimno not in ('AB''12345')"}},
        {{"''''''''", "A"}, {"select * from vorlex", "where claimno not in ('''''''''''''''''','A')"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reg::unfinishedStatement(c.finished), c.lines) << c.finished.join(',').toStdString();
}

TEST(SearchStatement, DayAndClaimStatementsTakeTheParameter) {
    EXPECT_EQ(reg::dayStatement(), QStringList({"select * from vorlex", "where reportdate=:prm"}));
    EXPECT_EQ(reg::claimStatement(), QStringList({"select * from vorlex", "where Claimno=:prm"}));
}

// The not-in list runs in the engine as it is built: claims holding quotes are left out exactly, and a
// quote cannot end the literal early and add a condition of its own.
TEST(SearchStatement, NotInListWithQuotesRunsInTheEngine) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("notin"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("create table vorlex (claimno text, seq integer)")));
        const QStringList claims = {"AB'12345", "CD123456", "x') or ('1'='1", "O''BRIEN"};
        for (const QString& claim : claims) {
            q.prepare(QStringLiteral("insert into vorlex values (?, 1)"));
            q.addBindValue(claim);
            ASSERT_TRUE(q.exec());
        }
        const QStringList finished = {"AB'12345", "x') or ('1'='1", "O''BRIEN"};
        ASSERT_TRUE(q.exec(reg::unfinishedStatement(finished).join('\n'))) << q.lastQuery().toStdString();
        QStringList listed;
        while (q.next())
            listed << q.value(0).toString();
        EXPECT_EQ(listed, QStringList{"CD123456"});
    }
    QSqlDatabase::removeDatabase(QStringLiteral("notin"));
}

TEST(TitleLine, DayMonthNameAndYearInTheLocale) {
    const struct {
        QDate day;
        QLocale locale;
        QString text;
    } cases[] = {
        {QDate(2026, 12, 11), QLocale(QLocale::Thai, QLocale::Thailand),
         QStringLiteral("รายงานรถยนต์คงค้างประจำวันที่ 11 ธันวาคม 2026")},
        {QDate(2027, 1, 5), QLocale(QLocale::Thai, QLocale::Thailand),
         QStringLiteral("รายงานรถยนต์คงค้างประจำวันที่ 05 มกราคม 2027")},
        {QDate(2027, 1, 5), QLocale(QLocale::English, QLocale::UnitedKingdom),
         QStringLiteral("รายงานรถยนต์คงค้างประจำวันที่ 05 January 2027")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reg::titleLine(c.day, c.locale), c.text);
}
