#include "tests/register/ParadoxReader.h"
#include "tests/register/RegisterFixture.h"

#include "platform/Codepage874.h"
#include "register/Export.h"
#include "register/ParadoxFile.h"

#include <QFile>
#include <QFileInfo>

using reg::RegisterRow;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The export table as the independent reader sees it, its index checked against it.
struct ExportFiles {
    paradoxcheck::File table;
    paradoxcheck::File index;
    QStringList indexProblems;
    QList<QVariantList> rows;
};

ExportFiles readExport() {
    ExportFiles e;
    e.table = paradoxcheck::read(reg::exportTableHostPath());
    e.index = paradoxcheck::read(reg::exportIndexHostPath());
    e.indexProblems = paradoxcheck::checkIndex(e.table, e.index);
    for (const auto& raw : e.table.raw) {
        QVariantList row;
        for (int i = 0; i < e.table.fields.size(); ++i)
            row << paradoxcheck::decode(e.table.fields[i], raw[i]);
        e.rows << row;
    }
    return e;
}

} // namespace

TEST_F(RegisterTest, ExportTableHoldsTheUnsentRowsAsAParadoxTableWithItsIndex) {
    RegisterRow thai = row("AB123456", 1, QStringLiteral("ซ่อมเสร็จ"), QDate(2026, 12, 11));
    thai.garage = QStringLiteral("อู่ช่างเอกการช่างยนต์ สาขาบางนา ๒"); // longer than 30 bytes
    RegisterRow sent = row("SENT0001", 1);
    sent.send = true;
    RegisterRow noDates = row("CD000001", 2);
    noDates.garageDate = QDate();
    noDates.reportDate = QDate();
    store({row("ZZ999999", 1), thai, sent, noDates, row("AB123456", 2)});

    const QList<reg::RowKey> keys = reg::exportUnsentRows(tables());
    EXPECT_EQ(keys.size(), 4);
    EXPECT_FALSE(keys.contains(reg::RowKey{"SENT0001", 1}));
    EXPECT_TRUE(tables().VorlexQ2.isOpen()) << "the unsent rows stay open for the grid";
    EXPECT_FALSE(tables().Vorlex2T.isOpen()) << "closed, so its files are complete";

    const ExportFiles e = readExport();
    EXPECT_EQ(e.table.problems, QStringList());
    EXPECT_EQ(e.index.problems, QStringList());
    EXPECT_EQ(e.indexProblems, QStringList());
    EXPECT_EQ(e.table.fileType, 0) << "a keyed table";
    EXPECT_EQ(e.table.keyFields, 2);
    EXPECT_EQ(e.table.codePage, 874);
    EXPECT_EQ(e.index.fileType, 1);
    struct Expected {
        const char* name;
        int type;
        int size;
    } fields[] = {{"Claimno", 1, 8},    {"Seq", 3, 2},     {"Garage", 1, 30},    {"Brand", 1, 20},
                  {"Regno", 1, 10},     {"Status", 1, 30}, {"VorlexDate", 2, 4}, {"GarageDate", 2, 4},
                  {"ReportDate", 2, 4}, {"Send", 9, 1}};
    ASSERT_EQ(e.table.fields.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(e.table.fields[i].name, fields[i].name);
        EXPECT_EQ(e.table.fields[i].type, fields[i].type) << fields[i].name;
        EXPECT_EQ(e.table.fields[i].size, fields[i].size) << fields[i].name;
    }

    ASSERT_EQ(e.rows.size(), 4);
    QStringList order;
    for (const QVariantList& r : e.rows)
        order << r[0].toString() + "/" + r[1].toString();
    EXPECT_EQ(order, QStringList({"AB123456/1", "AB123456/2", "CD000001/2", "ZZ999999/1"})) << "in key order";
    const QVariantList& first = e.rows[0];
    EXPECT_EQ(e.table.raw[0][2], platform::cp874::encode(thai.garage).left(30)) << "Thai text as cp874 bytes";
    EXPECT_EQ(first[5].toString(), QStringLiteral("ซ่อมเสร็จ"));
    EXPECT_EQ(first[6].toDate(), QDate(1899, 12, 30)) << "blank VorlexDate arrives as day zero";
    EXPECT_EQ(first[7].toDate(), QDate(2026, 12, 1));
    EXPECT_EQ(first[8].toDate(), QDate(2026, 12, 11));
    EXPECT_TRUE(first[9].isNull()) << "Send stays blank";
    EXPECT_EQ(e.rows[2][7].toDate(), QDate(1899, 12, 30));
    EXPECT_EQ(e.rows[2][8].toDate(), QDate(1899, 12, 30));

    // pxlib reads the same.
    const reg::paradox::Table px = reg::paradox::read(reg::exportTableHostPath());
    ASSERT_EQ(px.rows.size(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(px.rows[r], e.rows[r]) << r;
}

TEST_F(RegisterTest, ExportOfManyRowsFillsSeveralBlocksTheIndexNames) {
    QList<RegisterRow> rows;
    for (int i = 0; i < 700; ++i)
        rows << row(QString("C%1").arg((i * 7919) % 700, 7, 10, QChar('0')), 1 + i % 3);
    store(rows);
    EXPECT_EQ(reg::exportUnsentRows(tables()).size(), 700);
    const ExportFiles e = readExport();
    EXPECT_EQ(e.table.problems, QStringList());
    EXPECT_EQ(e.indexProblems, QStringList());
    EXPECT_GT(e.table.blocks.size(), 10);
    EXPECT_EQ(e.rows.size(), 700);
}

TEST_F(RegisterTest, WithoutUnsentRowsTheExportFilesAreNotTouched) {
    store(row("AB123456", 1));
    reg::exportUnsentRows(tables());
    reg::markSent(tables(), {{"AB123456", 1}});
    const QByteArray db = bytesOf(reg::exportTableHostPath());
    const QByteArray px = bytesOf(reg::exportIndexHostPath());
    const QDateTime written = QFileInfo(reg::exportTableHostPath()).lastModified();
    EXPECT_EQ(reg::exportUnsentRows(tables()), QList<reg::RowKey>());
    EXPECT_EQ(bytesOf(reg::exportTableHostPath()), db);
    EXPECT_EQ(bytesOf(reg::exportIndexHostPath()), px);
    EXPECT_EQ(QFileInfo(reg::exportTableHostPath()).lastModified(), written);
    EXPECT_EQ(readExport().rows.size(), 1) << "the last run's rows stay";
}

TEST_F(RegisterTest, EmptyingTheExportTableKeepsItsIndexFile) {
    store({row("AB123456", 1), row("AB123456", 2)});
    reg::exportUnsentRows(tables());
    ASSERT_EQ(readExport().rows.size(), 2);
    EXPECT_EQ(errorOf([&] { tables().Vorlex2T.open(); }), QString());
    EXPECT_FALSE(errorOf([&] { tables().Vorlex2T.emptyTable(); }).isEmpty()) << "not while it is open";
    tables().Vorlex2T.close();
    tables().Vorlex2T.emptyTable();
    const ExportFiles e = readExport();
    EXPECT_EQ(e.rows.size(), 0);
    EXPECT_TRUE(QFileInfo::exists(reg::exportIndexHostPath()));
    EXPECT_EQ(e.index.problems, QStringList());
    EXPECT_EQ(e.index.fileType, 1);
    EXPECT_EQ(e.indexProblems, QStringList());
    EXPECT_EQ(e.table.fields.size(), 10) << "the structure stays";
    EXPECT_EQ(reg::paradox::read(reg::exportTableHostPath()).rows.size(), 0);
}

TEST_F(RegisterTest, MarkSentMarksOnlyTheGivenRowsThatAreStillUnsent) {
    store({row("AB123456", 1), row("AB123456", 2), row("CD000001", 1)});
    const QList<reg::RowKey> exported = reg::exportUnsentRows(tables());
    ASSERT_EQ(exported.size(), 3);
    store(row("AB123456", 3)); // saved while the upload ran
    reg::markSent(tables(), exported + QList<reg::RowKey>{{"NOSUCH01", 1}});
    EXPECT_EQ(select({"select * from vorlex", "where send='0'"}), QStringList{"AB123456/3"});
    EXPECT_EQ(select({"select * from vorlex", "where send='1'"}).size(), 3);

    // An export of the next run holds only the row saved meanwhile.
    EXPECT_EQ(reg::exportUnsentRows(tables()), (QList<reg::RowKey>{{"AB123456", 3}}));
    EXPECT_EQ(readExport().rows.size(), 1);
}
