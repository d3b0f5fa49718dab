#include "tests/register/ParadoxReader.h"
#include "tests/register/RegisterFixture.h"

#include "register/ParadoxFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <iostream>
#include <random>

using reg::paradox::Field;
using reg::paradox::Type;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The earlier system's register, its field names in capitals, with one blank Send and, in a table
// without key, one row whose Claimno and Seq repeat another's.
QList<QVariantList> legacyRows(int count) {
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i)
        rows << QVariantList{QString("L%1").arg(i / 3, 7, 10, QChar('0')),
                             1 + i % 3,
                             QStringLiteral("อู่เก่า"),
                             "ISUZU",
                             QStringLiteral("ขก %1").arg(i),
                             QStringLiteral("กำลังซ่อม"),
                             QVariant(),
                             QDate(2003, 5, 1),
                             QDate(2003, 5, 2).addDays(i % 30),
                             i % 2 == 0};
    return rows;
}

void writeLegacyRegister(const QString& host, const QList<QVariantList>& rows, int keyFields) {
    QList<Field> fields = reg::paradox::registerFields();
    for (Field& f : fields)
        f.name = f.name.toUpper();
    reg::paradox::write(host, host.left(host.size() - 3) + ".PX", "Vorlex.DB", fields, keyFields, rows);
}

void writeLegacyStatuses(const QString& host) {
    reg::paradox::write(host, QString(), "Status.DB", reg::paradox::statusFields(), 0,
                        {{"1", QStringLiteral("รออะไหล่")},
                         {"2", QStringLiteral("ซ่อมเสร็จ")},
                         {"3", QStringLiteral("ส่งมอบแล้ว")}});
}

} // namespace

class LegacyImportTest : public RegisterTest {
protected:
    void SetUp() override {
        RegisterTest::SetUp();
        registerPath = drive.host("C:\\claim\\db\\Vorlex.DB");
        statusPath = drive.host("C:\\claim\\db\\Status.DB");
        QFile::remove(registerPath);
        QFile::remove(statusPath);
    }
    QString registerPath;
    QString statusPath;
};

TEST_F(LegacyImportTest, ParadoxTablesAreImportedOnceAndTheOriginalsKept) {
    QList<QVariantList> rows = legacyRows(40);
    rows[5][9] = QVariant(); // Send blank
    rows << rows[7];         // a repeated Claimno and Seq
    writeLegacyRegister(registerPath, rows, 0);
    writeLegacyStatuses(statusPath);
    const QByteArray originalRegister = bytesOf(registerPath);
    const QByteArray originalStatuses = bytesOf(statusPath);

    tables().VorlexT.open();
    tables().StatusT.open();
    const QStringList report = tables().takeImportReport();
    ASSERT_EQ(report.size(), 2);
    EXPECT_TRUE(
        report[0].startsWith("Imported 40 rows from the Paradox table Vorlex.DB; the original is kept as "
                             "Vorlex.DB.paradox; 1 rows left out"))
        << report[0].toStdString();
    EXPECT_TRUE(report[0].contains(rows[7][0].toString() + "/" + rows[7][1].toString()));
    EXPECT_TRUE(report[1].startsWith("Imported 3 rows from the Paradox table Status.DB"))
        << report[1].toStdString();
    EXPECT_EQ(bytesOf(registerPath + ".paradox"), originalRegister);
    EXPECT_EQ(bytesOf(statusPath + ".paradox"), originalStatuses);

    EXPECT_EQ(tables().StatusT.names(), (QStringList{QStringLiteral("รออะไหล่"), QStringLiteral("ซ่อมเสร็จ"),
                                                     QStringLiteral("ส่งมอบแล้ว")}));
    tables().VorlexQ2.open();
    ASSERT_EQ(tables().VorlexQ2.rowCount(), 40);
    const reg::RegisterRow first = tables().VorlexQ2.registerRow(0);
    EXPECT_EQ(first.claimno, "L0000000");
    EXPECT_EQ(first.garage, QStringLiteral("อู่เก่า"));
    EXPECT_EQ(first.garageDate, QDate(2003, 5, 1));
    EXPECT_FALSE(first.vorlexDate.isValid());
    EXPECT_TRUE(first.send);
    EXPECT_EQ(select({"select * from vorlex", "where send='0'"}).size(), 19) << "a blank Send is not unsent";
    EXPECT_EQ(sqlite3(registerPath, "select count(*) from vorlex where Send is null"), "1\n");

    reopen();
    tables().VorlexT.open();
    tables().StatusT.open();
    EXPECT_EQ(tables().takeImportReport(), QStringList()) << "imported once";
    EXPECT_FALSE(QFile::exists(registerPath + ".paradox2"));
}

TEST_F(LegacyImportTest, VorlexCliImportsAndSaysWhat) {
    writeLegacyRegister(registerPath, legacyRows(9), 2);
    writeLegacyStatuses(statusPath);
    QByteArray out;
    EXPECT_EQ(runProgram(VORLEX_CLI, {"--drive-c", drive.root(), "install"}, &out), 0);
    const QString text = QString::fromUtf8(out);
    EXPECT_TRUE(text.contains("Imported 9 rows from the Paradox table Vorlex.DB")) << text.toStdString();
    EXPECT_TRUE(text.contains("Imported 3 rows from the Paradox table Status.DB")) << text.toStdString();
    EXPECT_EQ(sqlite3(registerPath, "select count(*) from vorlex"), "9\n");
}

namespace {

// What a crash may leave: the old table untouched, the import complete, or the original kept already
// and the complete new table waiting under its temporary name for the next start to rename it.
enum class Outcome { Untouched, Complete, Renaming, Broken };

int rowsOf(const QString& path) {
    if (!QFile::exists(path)) return -1; // sqlite3 would make the file
    bool ok = false;
    const int n = sqlite3(path, "select count(*) from vorlex").trimmed().toInt(&ok);
    return ok ? n : -1;
}

Outcome outcome(const QString& path, const QByteArray& original, int rows) {
    const bool kept = bytesOf(path + ".paradox") == original && !QFile::exists(path + ".paradox2");
    if (bytesOf(path) == original && !QFile::exists(path + ".paradox")) return Outcome::Untouched;
    if (kept && rowsOf(path) == rows) return Outcome::Complete;
    if (kept && !QFile::exists(path) && rowsOf(path + ".import") == rows) return Outcome::Renaming;
    return Outcome::Broken;
}

QProcess* startCli(const QString& drive, const QByteArray& crashAt) {
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!crashAt.isEmpty()) env.insert("VORLEX_CRASH_AT", crashAt);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(VORLEX_CLI, {"--drive-c", drive, "install"});
    p->waitForStarted();
    return p;
}

} // namespace

TEST_F(LegacyImportTest, KilledAnywhereTheImportLeavesTheOldTableOrTheWholeImport) {
    const int rows = 3000;
    writeLegacyRegister(registerPath, legacyRows(rows), 2);
    const QByteArray original = bytesOf(registerPath);
    const QString backup = drive.root() + "/original-register.db";
    QFile::copy(registerPath, backup);

    const auto reset = [&] {
        for (const QString& name : QDir(QFileInfo(registerPath).absolutePath()).entryList(QDir::Files))
            if (name.startsWith("Vorlex.DB"))
                QFile::remove(QFileInfo(registerPath).absolutePath() + "/" + name);
        QFile::copy(backup, registerPath);
    };
    const auto recoverAndCheck = [&](const std::string& what) {
        QByteArray out;
        ASSERT_EQ(runProgram(VORLEX_CLI, {"--drive-c", drive.root(), "install"}, &out), 0)
            << what << out.constData();
        EXPECT_EQ(outcome(registerPath, original, rows), Outcome::Complete) << what << " then a clean start";
    };

    // At each numbered step of the import.
    QElapsedTimer clock;
    qint64 cleanRunMs = 0;
    for (int point = 1; point <= 3; ++point) {
        reset();
        std::unique_ptr<QProcess> p(startCli(drive.root(), "import:" + QByteArray::number(point)));
        clock.start();
        p->waitForFinished(60000);
        EXPECT_EQ(p->exitStatus(), QProcess::CrashExit) << "point " << point << " was reached";
        const Outcome expected[] = {Outcome::Untouched, Outcome::Renaming, Outcome::Complete};
        EXPECT_EQ(outcome(registerPath, original, rows), expected[point - 1]) << "point " << point;

        recoverAndCheck("point " + std::to_string(point));
    }
    reset();
    clock.start();
    {
        std::unique_ptr<QProcess> p(startCli(drive.root(), {}));
        p->waitForFinished(60000);
        cleanRunMs = clock.elapsed();
    }

    // And at random moments over the length of a whole run.
    std::mt19937 random(20261211);
    QMap<Outcome, int> seen;
    for (int round = 0; round < 30; ++round) {
        reset();
        const int delayUs = int(std::uniform_int_distribution<qint64>(0, cleanRunMs * 1000)(random));
        std::unique_ptr<QProcess> p(startCli(drive.root(), {}));
        QThread::usleep(delayUs);
        p->kill();
        p->waitForFinished(60000);
        const Outcome o = outcome(registerPath, original, rows);
        EXPECT_NE(o, Outcome::Broken) << "killed after " << delayUs << " us";
        seen[o] += 1;
        recoverAndCheck("killed after " + std::to_string(delayUs) + " us");
    }
    std::cout << "random kills: " << seen[Outcome::Untouched] << " left the old table, "
              << seen[Outcome::Renaming] << " the import before its last rename, " << seen[Outcome::Complete]
              << " the whole import (clean run " << cleanRunMs << " ms)\n";
}

TEST_F(RegisterTest, KilledAnywhereTheExportLeavesTheOldPairOrTheNewOne) {
    const auto tool = [&](const QString& what, const QByteArray& crashAt) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!crashAt.isEmpty()) env.insert("VORLEX_CRASH_AT", crashAt);
        p.setProcessEnvironment(env);
        p.start(CRASH_TOOL, {drive.root(), what});
        p.waitForFinished(60000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -9;
    };
    const QString db = drive.host("C:\\claim\\db\\Vorlex2.DB");
    const QString px = drive.host("C:\\claim\\db\\Vorlex2.PX");
    store({row("AB123456", 1), row("AB123456", 2)});
    ASSERT_EQ(tool("export", {}), 0);
    const auto keysOfExport = [&] {
        const paradoxcheck::File t = paradoxcheck::read(db);
        QStringList keys;
        for (const auto& raw : t.raw)
            keys << paradoxcheck::decode(t.fields[0], raw[0]).toString() + "/" +
                        paradoxcheck::decode(t.fields[1], raw[1]).toString();
        return keys;
    };
    const QByteArray oldDb = bytesOf(db), oldPx = bytesOf(px);
    const QStringList oldKeys = keysOfExport();
    store(row("CD000001", 1));
    ASSERT_EQ(tool("export", {}), 0);
    const QStringList newKeys = keysOfExport();
    ASSERT_EQ(oldKeys, QStringList({"AB123456/1", "AB123456/2"}));
    ASSERT_EQ(newKeys, QStringList({"AB123456/1", "AB123456/2", "CD000001/1"}));

    for (int point = 1; point <= 5; ++point) {
        for (const auto& [path, bytes] : {std::pair{db, oldDb}, std::pair{px, oldPx}}) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        EXPECT_EQ(tool("export", "export:" + QByteArray::number(point)), -9) << point;
        ASSERT_EQ(tool("check", {}), 0) << point;
        const QStringList keys = keysOfExport();
        EXPECT_TRUE(keys == oldKeys || keys == newKeys)
            << "point " << point << ": " << keys.join(" ").toStdString();
        EXPECT_EQ(keys == oldKeys, point <= 2)
            << "the pair is replaced once both new files are on disk; point " << point;
        EXPECT_EQ(QDir(QFileInfo(db).absolutePath()).entryList({"Vorlex2*"}, QDir::Files),
                  QStringList({"Vorlex2.DB", "Vorlex2.PX"}))
            << "point " << point;
        const paradoxcheck::File t = paradoxcheck::read(db), i = paradoxcheck::read(px);
        EXPECT_EQ(paradoxcheck::checkIndex(t, i), QStringList()) << point;
    }
}
