#include "tests/register/RegisterFixture.h"

#include "platform/Codepage874.h"
#include "register/QueryModel.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>

using reg::RegisterRow;

TEST_F(RegisterTest, StoredRowsReadBackWithAlphaCutInCodePageBytesAndDaysOnly) {
    RegisterRow r = row("AB123456", 1);
    r.garage = QString(40, QChar(0x0E01)); // 40 Thai letters: one byte each, cut to 30
    r.brand = QStringLiteral("MERCEDES-BENZ E-CLASS 2026");
    r.regno = QStringLiteral("1กข 12345678");
    r.status = QStringLiteral("ซ่อมเสร็จ");
    r.vorlexDate = QDate();
    r.garageDate = QDate(2000, 1, 1);
    r.reportDate = QDate(2026, 12, 11);
    store(r);
    RegisterRow blank;
    blank.claimno = "ZZ000001";
    blank.seq = 3;
    store(blank);

    const QStringList got = select({"select * from vorlex"});
    ASSERT_EQ(got, QStringList({"AB123456/1", "ZZ000001/3"}));
    const RegisterRow back = tables().VorlexQ2.registerRow(0);
    EXPECT_EQ(back.garage, QString(30, QChar(0x0E01)));
    EXPECT_EQ(back.brand, QStringLiteral("MERCEDES-BENZ E-CLAS"));
    EXPECT_EQ(back.regno, QStringLiteral("1กข 123456"));
    EXPECT_EQ(platform::cp874::encode(back.regno).size(), 10);
    EXPECT_EQ(back.status, r.status);
    EXPECT_FALSE(back.vorlexDate.isValid());
    EXPECT_EQ(back.garageDate, QDate(2000, 1, 1));
    EXPECT_EQ(back.reportDate, QDate(2026, 12, 11));
    EXPECT_FALSE(back.send);
    const RegisterRow blankBack = tables().VorlexQ2.registerRow(1);
    EXPECT_FALSE(blankBack.garageDate.isValid());
    EXPECT_FALSE(blankBack.reportDate.isValid());
    EXPECT_TRUE(tables().VorlexQ2.value(1, "GarageDate").isNull())
        << "a blank date stays blank in the register";

    // An independent reader of the engine's file sees the same stored values.
    EXPECT_EQ(
        sqlite3(
            drive.host("C:\\claim\\db\\Vorlex.DB"),
            "select Claimno, Seq, length(Garage), Regno, VorlexDate is null, GarageDate, ReportDate, Send "
            "from vorlex order by Claimno"),
        QStringLiteral("AB123456|1|30|1กข 123456|1|2000-01-01|2026-12-11|0\nZZ000001|3|0||1|||0\n"));
}

TEST_F(RegisterTest, StoredRowIsSeenByANewConnectionAtOnce) {
    store(row("AB123456", 1));
    reg::RegisterTables other;
    other.VorlexQ2.open();
    EXPECT_EQ(other.VorlexQ2.rowCount(), 1);
}

TEST_F(RegisterTest, SecondRowWithTheSameClaimAndSeqIsRefusedWithTheEnginesMessage) {
    store(row("AB123456", 1));
    const QString message = errorOf([&] { store(row("AB123456", 1)); });
    EXPECT_TRUE(message.contains("UNIQUE")) << message.toStdString();
    EXPECT_EQ(select({"select * from vorlex"}), QStringList{"AB123456/1"});
}

TEST_F(RegisterTest, MaxOfSeqIsTheColumnNameAndReadsZeroForAClaimWithoutRows) {
    store({row("AB123456", 1), row("AB123456", 2), row("CD000001", 9)});
    reg::Query& q = tables().VorlexQ;
    struct Case {
        QString claim;
        int expected;
    } cases[] = {{"AB123456", 2}, {"CD000001", 9}, {"EF999999", 0}, {"AB12345", 0}};
    for (const Case& c : cases) {
        q.close();
        q.setParameter(c.claim);
        q.open();
        ASSERT_EQ(q.columnNames(), QStringList{"MAX OF Seq"});
        EXPECT_EQ(q.shortValue(0, "MAX OF Seq"), c.expected) << c.claim.toStdString();
        EXPECT_EQ(q.shortValue(0, "max of seq"), c.expected) << "column names without regard to case";
    }
}

TEST_F(RegisterTest, StatementsRunAsTheyStand) {
    RegisterRow sent = row("SENT0001", 1, "กำลังซ่อม", QDate(2026, 12, 10));
    sent.send = true;
    store({row("AB123456", 1, "รออะไหล่", QDate(2026, 12, 10)),
           row("AB123456", 2, "ซ่อมเสร็จ", QDate(2026, 12, 11)),
           row("CD000001", 1, "กำลังซ่อม", QDate(2026, 12, 11)), sent});
    struct Case {
        const char* what;
        QStringList lines;
        QVariant parameter;
        QStringList expected;
    } cases[] = {
        {"unsent rows",
         {"select * from vorlex", "where send='0'"},
         {},
         {"AB123456/1", "AB123456/2", "CD000001/1"}},
        {"a day, as a date-time with a time of day",
         {"select * from vorlex", "where reportdate=:prm"},
         QDateTime(QDate(2026, 12, 10), QTime(14, 30)),
         {"AB123456/1", "SENT0001/1"}},
        {"a day as a date",
         {"select * from vorlex", "where reportdate=:prm"},
         QDate(2026, 12, 11),
         {"AB123456/2", "CD000001/1"}},
        {"day zero matches no row",
         {"select * from vorlex", "where reportdate=:prm"},
         QDate(1899, 12, 30),
         {}},
        {"a claim, field name in another case",
         {"select * from vorlex", "where Claimno=:prm"},
         QString("AB123456"),
         {"AB123456/1", "AB123456/2"}},
        {"part of a claim finds nothing",
         {"select * from vorlex", "where Claimno=:prm"},
         QString("AB1234"),
         {}},
        {"keywords and names in capitals",
         {"SELECT * FROM VORLEX", "WHERE CLAIMNO=:prm"},
         QString("CD000001"),
         {"CD000001/1"}},
        {"not in",
         {"select * from vorlex", "where claimno not in ('AB123456')"},
         {},
         {"CD000001/1", "SENT0001/1"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(select(c.lines, c.parameter), c.expected) << c.what;

    tables().VorlexQ4.close();
    tables().VorlexQ4.open();
    EXPECT_EQ(tables().VorlexQ4.columnNames().size(), 1);
    EXPECT_EQ(tables().VorlexQ4.columnIndex("claimno"), 0);
    ASSERT_EQ(tables().VorlexQ4.rowCount(), 1);
    EXPECT_EQ(tables().VorlexQ4.value(0, "Claimno").toString(), "AB123456");

    tables().VorlexQ3.execute();
    EXPECT_EQ(select({"select * from vorlex", "where send='0'"}), QStringList());
    EXPECT_EQ(select({"select * from vorlex", "where send='1'"}).size(), 4) << "'1' made Send true";
    EXPECT_EQ(tables().VorlexQ2.value(0, "Send"), QVariant(true));
}

TEST_F(RegisterTest, NotInTakesThousandsOfClaimsIncludingOneWithAQuote) {
    QList<RegisterRow> rows;
    QStringList list;
    for (int i = 0; i < 3000; ++i) {
        const QString claim = QString("C%1").arg(i, 7, 10, QChar('0'));
        rows << row(claim, 1);
        if (i % 3 != 0) list << "'" + claim + "'";
    }
    rows << row("O'BRIEN1", 1);
    list << "'O''BRIEN1'";
    store(rows);
    const QStringList got = select({"select * from vorlex", "where claimno not in (" + list.join(",") + ")"});
    EXPECT_EQ(got.size(), 1000);
    EXPECT_FALSE(got.contains("O'BRIEN1/1"));
    EXPECT_TRUE(got.contains("C0000000/1"));
}

TEST_F(RegisterTest, AMissingOrUnreadableTableIsReportedWithItsFileWhenFirstOpened) {
    struct Case {
        const char* file;
        QByteArray replacement; // empty: the file is removed
        std::function<void(reg::RegisterTables&)> open;
        QString expected;
    } cases[] = {
        {"Vorlex.DB", {}, [](reg::RegisterTables& t) { t.VorlexT.open(); }, "C:\\claim\\db\\Vorlex.DB"},
        {"Vorlex.DB", {}, [](reg::RegisterTables& t) { t.VorlexQ2.open(); }, "C:\\claim\\db\\Vorlex.DB"},
        {"Status.DB", {}, [](reg::RegisterTables& t) { t.StatusT.open(); }, "C:\\claim\\db\\Status.DB"},
        {"Vorlex2.PX", {}, [](reg::RegisterTables& t) { t.Vorlex2T.open(); }, "C:\\claim\\db\\Vorlex2.PX"},
        {"Vorlex.DB", QByteArray(4096, 'x'), [](reg::RegisterTables& t) { t.VorlexT.open(); },
         "C:\\claim\\db\\Vorlex.DB"},
    };
    for (const Case& c : cases) {
        reopen();
        drive.writeFile(QStringLiteral("C:\\claim\\db\\") + c.file, "");
        QFile::remove(drive.host(QStringLiteral("C:\\claim\\db\\") + c.file));
        reg::install::run(); // every table back
        const QString path = drive.host(QStringLiteral("C:\\claim\\db\\") + c.file);
        if (c.replacement.isEmpty())
            QFile::remove(path);
        else
            drive.writeFile(QStringLiteral("C:\\claim\\db\\") + c.file, c.replacement);
        reg::RegisterTables t;
        const QString message = errorOf([&] { c.open(t); });
        EXPECT_TRUE(message.contains(c.expected)) << c.file << ": " << message.toStdString();
        EXPECT_FALSE(QFile::exists(path) && c.replacement.isEmpty()) << "nothing is made to make up for it";
    }
}

TEST_F(RegisterTest, StatusListComesInTableOrder) {
    tables().StatusT.open();
    QStringList expected;
    for (const auto& status : reg::install::defaultStatuses())
        expected << status.second;
    EXPECT_EQ(tables().StatusT.names(), expected);
    EXPECT_TRUE(expected.contains(QStringLiteral("ซ่อมเสร็จ")));
}

TEST_F(RegisterTest, GridModelFollowsTheQueryOpeningAndClosing) {
    store({row("AB123456", 1), row("CD000001", 2)});
    reg::QueryModel model(tables().VorlexQ2);
    model.setColumns({"Claimno", "Seq", "GarageDate"}, {"เลขรับแจ้ง", "ครั้งที่", "วันที่รถเข้าอู่"});
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    EXPECT_EQ(model.rowCount(), 0) << "closed: empty";
    tables().VorlexQ2.setLines({"select * from vorlex"});
    tables().VorlexQ2.open();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ครั้งที่"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "2");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "01/12/2026");
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    tables().VorlexQ2.close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets.count(), 2);
}

TEST_F(RegisterTest, AReopenedQueryHoldsOnlyItsNewResult) {
    QList<RegisterRow> rows;
    for (int i = 0; i < 1500; ++i) // several chunks of rows
        rows << row(QString("C%1").arg(i, 7, 10, QChar('0')), 1 + i % 7);
    store(rows);
    reg::Query& q = tables().VorlexQ2;
    EXPECT_EQ(select({"select * from vorlex"}).size(), 1500);
    EXPECT_EQ(q.value(1499, "Claimno").toString(), "C0001499");
    EXPECT_EQ(
        select({"select Claimno, Seq * 4294967296 as big, 'x' || Seq as t from vorlex", "where Seq=:prm"}, 3)
            .size(),
        214);
    EXPECT_EQ(q.value(0, "big"), QVariant(qint64(3) << 32)) << "an integer wider than 32 bits";
    EXPECT_EQ(q.value(0, "t"), QVariant(QString("x3")));
    EXPECT_TRUE(q.value(214, "t").isNull()) << "past the last row";
    EXPECT_EQ(select({"select * from vorlex", "where Claimno=:prm"}, QString("C0000700")),
              QStringList{"C0000700/1"});
    EXPECT_EQ(q.registerRow(0).regno, QStringLiteral("กข 1234"));
}

TEST_F(RegisterTest, AFailingStatementRaisesTheEnginesMessageAndLeavesTheQueryClosed) {
    reg::Query& q = tables().VorlexQ2;
    q.setLines({"select nosuch from vorlex"});
    EXPECT_EQ(errorOf([&] { q.open(); }), "no such column: nosuch");
    EXPECT_FALSE(q.isOpen());
    q.setLines({"update vorlex set Seq=Seq+"});
    EXPECT_EQ(errorOf([&] { q.execute(); }), "incomplete input");
}
