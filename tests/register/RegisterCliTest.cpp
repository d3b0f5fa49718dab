#include "register/DateText.h"
#include "tests/register/RegisterFixture.h"

#include <QFile>

namespace {

struct CliRun {
    int exitCode;
    QString output;
};

} // namespace

// vorlex-cli register, run as a program over the tables of the test's own drive.
class RegisterCliTest : public RegisterTest {
protected:
    CliRun cli(const QStringList& args) {
        QByteArray out;
        const int rc =
            runProgram(QStringLiteral(VORLEX_CLI), QStringList{"--drive-c", drive.root()} + args, &out);
        return {rc, QString::fromUtf8(out)};
    }
    CliRun add(const QString& claim, const QString& status = QStringLiteral("กำลังซ่อม"),
               const QString& garageDate = QStringLiteral("01/12/2026")) {
        return cli({"register", "add", "--claim", claim, "--garage-date", garageDate, "--brand", "TOYOTA",
                    "--regno", "กข 1234", "--garage", "อู่ช่างเอก", "--status", status});
    }
    const QString today = reg::dateText(QDate::currentDate());
};

TEST_F(RegisterCliTest, AddStoresAReportAndPrintsIt) {
    const CliRun first = add("AB123456");
    EXPECT_EQ(first.exitCode, 0) << first.output.toStdString();
    EXPECT_EQ(first.output,
              QString("Claimno\tAB123456\nSeq\t1\nGarage\tอู่ช่างเอก\nBrand\tTOYOTA\nRegno\tกข 1234\n"
                      "Status\tกำลังซ่อม\nVorlexDate\t\nGarageDate\t01/12/2026\nReportDate\t%1\n"
                      "Send\tfalse\n")
                  .arg(today));
    EXPECT_TRUE(add("AB123456").output.contains("Seq\t2\n"));
    EXPECT_TRUE(add("CD123456").output.contains("Seq\t1\n"));
    // The stored rows, read by sqlite3 from the register's file.
    EXPECT_EQ(sqlite3(reg::files::hostPath(reg::files::Register),
                      "select claimno, seq, send from vorlex order by claimno, seq"),
              "AB123456|1|0\nAB123456|2|0\nCD123456|1|0\n");
}

TEST_F(RegisterCliTest, AddStopsAtTheFirstFailingCheck) {
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--garage-date", "01/12/2026"}, "กรุณาป้อนเลขรับแจ้ง"},
        {{"--claim", "AB123456", "--garage-date", "31/12/1999"}, "กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ."},
        {{"--claim", "AB123456", "--garage-date", "31/02/2026"}, "กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ."},
        {{"--claim", "AB123456", "--garage-date", reg::dateText(QDate::currentDate().addDays(1))},
         "ห้ามป้อนวันที่รถเข้าอู่ล่วงหน้า"},
        {{"--claim", "AB123456", "--garage-date", "01/12/2026"}, "กรุณาป้อนยี่ห้อรถ"},
        {{"--claim", "AB123456", "--garage-date", "01/12/2026", "--brand", "B", "--regno", "R", "--garage",
          "G", "--status", "ไม่มีสถานะนี้"},
         "กรุณาป้อนเลือกสถานะการซ่อม"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(QStringList{"register", "add"} + c.args);
        EXPECT_EQ(run.exitCode, 1) << c.message.toStdString();
        EXPECT_EQ(run.output, c.message + "\n");
    }
    EXPECT_EQ(sqlite3(reg::files::hostPath(reg::files::Register), "select count(*) from vorlex"), "0\n");
    EXPECT_EQ(cli({"register", "add", "--claim"}).exitCode, 2) << "an option without its value";
    EXPECT_EQ(cli({"register", "add", "--colour", "red"}).exitCode, 2);
}

TEST_F(RegisterCliTest, SearchPrintsTheGridsRows) {
    ASSERT_EQ(add("AB123456").exitCode, 0);
    ASSERT_EQ(add("AB123456", "ซ่อมเสร็จ").exitCode, 0);
    ASSERT_EQ(add("O'123456").exitCode, 0);
    ASSERT_EQ(add("CD123456", "รออะไหล่", today).exitCode, 0);
    const QString quoted = QString("O'123456\t1\t01/12/2026\tอู่ช่างเอก\tTOYOTA\tกข 1234\tกำลังซ่อม\n");
    const QString cd = QString("CD123456\t1\t%1\tอู่ช่างเอก\tTOYOTA\tกข 1234\tรออะไหล่\n").arg(today);
    const CliRun unfinished = cli({"register", "search", "unfinished"});
    EXPECT_EQ(unfinished.exitCode, 0);
    QStringList lines = unfinished.output.split('\n', Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines.join('\n') + '\n', cd + quoted) << "rows come in the engine's order";
    ASSERT_EQ(add("O'123456", "ซ่อมเสร็จ").exitCode, 0);
    EXPECT_EQ(cli({"register", "search", "unfinished"}).output, cd)
        << "a finished claim with a quote is left out";
    EXPECT_EQ(cli({"register", "search", "claim", "AB123456"}).output,
              "AB123456\t1\t01/12/2026\tอู่ช่างเอก\tTOYOTA\tกข 1234\tกำลังซ่อม\n"
              "AB123456\t2\t01/12/2026\tอู่ช่างเอก\tTOYOTA\tกข 1234\tซ่อมเสร็จ\n");
    EXPECT_EQ(cli({"register", "search", "claim", "AB12345"}).output, "");
    EXPECT_EQ(cli({"register", "search", "date", today}).output.count('\n'), 5);
    EXPECT_EQ(cli({"register", "search", "date", "01/01/2001"}).output, "");
    EXPECT_EQ(cli({"register", "search", "sideways"}).exitCode, 2);
}

TEST_F(RegisterCliTest, WithoutTablesTheEnginesMessageNamesTheFile) {
    QFile::remove(reg::files::hostPath(reg::files::Register));
    const CliRun run = add("AB123456");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("Vorlex.DB")) << run.output.toStdString();
}
