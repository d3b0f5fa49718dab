#include "tests/register/ParadoxReader.h"
#include "tests/register/RegisterFixture.h"

#include "platform/Codepage874.h"
#include "platform/DrivePaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int exitCode;
    QString output;
};

CliRun cli(const QStringList& args) {
    QByteArray out;
    const int rc = runProgram(QStringLiteral(VORLEX_CLI), args, &out);
    return {rc, QString::fromUtf8(out)};
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QStringList kTables = {"Vorlex.DB", "Status.DB", "Vorlex2.DB", "Vorlex2.PX"};

} // namespace

TEST(Install, MakesEverythingAGarageNeedsOnABareMachine) {
    TempDrive home; // settings and trash of the test's own
    QTemporaryDir parent;
    const QString bare = parent.path() + "/nothing/here/drive_c";
    const CliRun run = cli({"--drive-c", bare, "install"});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    for (const QString& file : kTables) {
        const QString path = bare + "/claim/db/" + file;
        EXPECT_TRUE(QFile::exists(path)) << file.toStdString();
        EXPECT_TRUE(run.output.contains("made table C:\\claim\\db\\" + file) ||
                    run.output.contains("made index C:\\claim\\db\\" + file))
            << run.output.toStdString();
    }
    EXPECT_TRUE(run.output.contains("made drive folder")) << run.output.toStdString();

    // The register is empty and answers the statements; the statuses fit the register's field.
    EXPECT_EQ(sqlite3(bare + "/claim/db/Vorlex.DB", "select count(*) from vorlex"), "0\n");
    const QString statuses = sqlite3(bare + "/claim/db/Status.DB", "select Code, Status from status");
    EXPECT_TRUE(statuses.contains(QStringLiteral("|ซ่อมเสร็จ\n"))) << statuses.toStdString();
    for (const QString& line : statuses.split('\n', Qt::SkipEmptyParts)) {
        const QString name = line.section('|', 1);
        EXPECT_LE(platform::cp874::encode(name).size(), 30) << line.toStdString();
        bool ok = false;
        platform::cp874::encode(name, &ok);
        EXPECT_TRUE(ok) << line.toStdString();
        EXPECT_EQ(line.section('|', 0, 0).size(), 1);
    }
    const paradoxcheck::File table = paradoxcheck::read(bare + "/claim/db/Vorlex2.DB");
    const paradoxcheck::File index = paradoxcheck::read(bare + "/claim/db/Vorlex2.PX");
    EXPECT_EQ(table.problems, QStringList());
    EXPECT_EQ(index.problems, QStringList());
    EXPECT_EQ(paradoxcheck::checkIndex(table, index), QStringList());
    EXPECT_EQ(table.recordCount, 0);
    EXPECT_EQ(table.fields.size(), 10);
    EXPECT_EQ(QDir(bare + "/claim/db").entryList(QDir::Files).size(), 4) << "no temporary file left";
}

TEST_F(RegisterTest, InstallingAgainMakesNothingAndOverwritesNoTable) {
    store(row("AB123456", 1));
    tables().StatusT.open();
    reopen();
    QMap<QString, QByteArray> before;
    for (const QString& file : kTables)
        before[file] = bytesOf(drive.host("C:\\claim\\db\\" + file));
    const CliRun run = cli({"--drive-c", drive.root(), "install"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.output.contains("made ")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("nothing to make")) << run.output.toStdString();
    for (const QString& file : kTables)
        EXPECT_EQ(bytesOf(drive.host("C:\\claim\\db\\" + file)), before[file]) << file.toStdString();

    // One table missing: only that one is made.
    QFile::remove(drive.host("C:\\claim\\db\\Status.DB"));
    const CliRun again = cli({"--drive-c", drive.root(), "install"});
    EXPECT_TRUE(again.output.contains("made table C:\\claim\\db\\Status.DB")) << again.output.toStdString();
    EXPECT_FALSE(again.output.contains("made table C:\\claim\\db\\Vorlex.DB")) << again.output.toStdString();
    EXPECT_EQ(bytesOf(drive.host("C:\\claim\\db\\Vorlex.DB")), before["Vorlex.DB"]);

    // The export index alone missing: the table with its rows is not replaced.
    QFile::remove(drive.host("C:\\claim\\db\\Vorlex2.PX"));
    const CliRun third = cli({"--drive-c", drive.root(), "install"});
    EXPECT_EQ(bytesOf(drive.host("C:\\claim\\db\\Vorlex2.DB")), before["Vorlex2.DB"]);
    EXPECT_TRUE(third.output.contains("not made")) << third.output.toStdString();
}
