#include "app/Settings.h"
#include "platform/Registry.h"
#include "register/Install.h"
#include "register/RegisterTables.h"
#include "tests/register/ParadoxReader.h"
#include "tests/transfer/TransferFixture.h"
#include "transfer/RegisterRows.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace {

// The register's real tables under the test's drive, with a registered garage.
class RealRegister : public TransferFixture {
protected:
    RealRegister() {
        reg::install::run();
        platform::Registry registry;
        registry.openKey(settings::Key, true);
        registry.writeString(settings::GarageNameValue, garage);
    }
    void store(const QString& claim, int seq, const QDate& vorlexDate = {}) {
        reg::RegisterRow row;
        row.claimno = claim;
        row.seq = seq;
        row.brand = QString::fromUtf8("ฮอนด้า");
        row.status = QString::fromUtf8("กำลังซ่อม");
        row.vorlexDate = vorlexDate;
        row.reportDate = QDate(2026, 12, 11);
        reg::RegisterTables tables;
        tables.VorlexT.open();
        tables.VorlexT.store(row);
    }
    int unsentRows() {
        reg::RegisterTables tables;
        tables.VorlexQ2.setLines({"select * from vorlex", "where send='0'"});
        tables.VorlexQ2.open();
        return tables.VorlexQ2.rowCount();
    }
    int cli(const QStringList& args, QByteArray* out, QByteArray* err = nullptr) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLEX_FTP_HOST", server->host());
        env.insert("VORLEX_FTP_PORT", QString::number(server->port()));
        process.setProcessEnvironment(env);
        process.start(VORLEX_CLI, QStringList{"--drive-c", drive.root()} + args);
        process.waitForFinished(60000);
        *out = process.readAllStandardOutput();
        if (err) *err = process.readAllStandardError();
        return process.exitCode();
    }
};

QVariant fieldOf(const paradoxcheck::File& table, int record, const QString& name) {
    for (qsizetype i = 0; i < table.fields.size(); ++i)
        if (table.fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return paradoxcheck::decode(table.fields[i], table.raw[record][i]);
    return QStringLiteral("(no field %1)").arg(name);
}

} // namespace

TEST_F(RealRegister, TheExportTableReachesTheServerAndItsRowsAreMarked) {
    store("AB123456", 1);
    store("AB123456", 2, QDate(2026, 12, 1));
    store("CD000001", 1);
    reg::RegisterTables tables;
    transfer::RegisterRows registerRows(tables);
    const transfer::RunOutcome outcome = transfer::runTransfer(registerRows, settings(), hooks);
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(remoteFiles(), QStringList({"Vorlex2.DB", "Vorlex2.PX"}));
    const paradoxcheck::File table = paradoxcheck::read(remoteFolder() + "/Vorlex2.DB");
    EXPECT_TRUE(table.problems.isEmpty()) << table.problems.join("; ").toStdString();
    EXPECT_TRUE(
        paradoxcheck::checkIndex(table, paradoxcheck::read(remoteFolder() + "/Vorlex2.PX")).isEmpty());
    ASSERT_EQ(table.raw.size(), 3);
    EXPECT_EQ(fieldOf(table, 0, "Claimno").toString(), "AB123456");
    EXPECT_EQ(fieldOf(table, 1, "Seq").toInt(), 2);
    EXPECT_EQ(fieldOf(table, 0, "VorlexDate").toDate(), QDate(1899, 12, 30)) << "a blank date";
    EXPECT_EQ(fieldOf(table, 1, "VorlexDate").toDate(), QDate(2026, 12, 1));
    EXPECT_EQ(fieldOf(table, 2, "Brand").toString(), QString::fromUtf8("ฮอนด้า"));
    EXPECT_EQ(outcome.receipt.rowsMarked.size(), 3);
    EXPECT_EQ(unsentRows(), 0);
}

TEST_F(RealRegister, TheCommandRunsTheTransferPrintsItsStepsAndKeepsReceipts) {
    store("AB123456", 1);
    writeTransferFile("AB123456001.jpg", randomBytes(70000, 1));
    writeTransferFile("AB123456801.gif", randomBytes(5000, 2));
    QByteArray out;
    ASSERT_EQ(cli({"transfer"}, &out), 0) << out.toStdString();
    const QString text = QString::fromUtf8(out);
    for (const char* line :
         {"Export: 1 unsent rows into Vorlex2.DB and Vorlex2.PX",
          "archive AB123456801.gif into c:\\Picture\\Transfer\\AB123456.Zip", "files to send: 4",
          "send AB123456001.jpg", "done AB123456001.jpg (70000 bytes, CRC-32 ", "Rows marked as sent: 1",
          "Transfer Complete"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << out.toStdString();
    EXPECT_TRUE(
        text.contains(QRegularExpression("steps: export [0-9.]+ s, archiving [0-9.]+ s, upload [0-9.]+ s")));
    EXPECT_EQ(remoteFile("AB123456001.jpg"), randomBytes(70000, 1));
    EXPECT_EQ(unzipMembers(remoteFolder() + "/AB123456.Zip").value(0).second, randomBytes(5000, 2));
    EXPECT_EQ(unsentRows(), 0);

    writeTransferFile("AB123456002.jpg", "x");
    writeRemoteFile("AB123456002.jpg", "someone else's");
    QByteArray err;
    EXPECT_EQ(cli({"transfer"}, &out, &err), 1);
    EXPECT_TRUE(err.startsWith("Transfer failed: The server already holds a file named \"AB123456002.jpg\""))
        << err.toStdString();

    ASSERT_EQ(cli({"transfer", "--receipts", "2"}, &out), 0);
    const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 7) << out.toStdString();
    EXPECT_TRUE(lines.first().endsWith("Transfer Complete"));
    EXPECT_TRUE(lines.contains("rows marked: 1 AB123456/1"));
    EXPECT_TRUE(lines.at(lines.size() - 3).endsWith("Transfer failed"));
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith("error: The server already holds"));
    ASSERT_EQ(cli({"transfer", "--receipts", "1"}, &out), 0);
    EXPECT_TRUE(out.startsWith("== ") && out.contains("Transfer failed") &&
                !out.contains("Transfer Complete"));

    ASSERT_EQ(cli({"transfer", "--server"}, &out), 0);
    EXPECT_EQ(out, QStringLiteral("127.0.0.1 %1\n").arg(server->port()).toLatin1());
    EXPECT_EQ(cli({"transfer", "--bogus"}, &out, &err), 2);
}
