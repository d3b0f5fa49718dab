#include "app/Settings.h"
#include "platform/Registry.h"
#include "register/Install.h"
#include "register/RegisterTables.h"
#include "tests/register/ParadoxReader.h"
#include "tests/transfer/TransferFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <set>

// A real vorlex-cli transfer killed with SIGKILL at many points of its archiving and its upload against
// pyftpdlib, then run again: every photograph, scan and row reaches the server exactly once, whole.
namespace {

const QString kGarage = QString::fromUtf8("อู่ช่างเอก");
const QStringList kClaims = {"AB123456", "CD654321", "EF000111"};

class Garage {
public:
    Garage() {
        drive.makeFolder("c:\\picture");
        drive.makeFolder("c:\\picture\\transfer");
        reg::install::run();
        platform::Registry registry;
        registry.openKey(settings::Key, true);
        registry.writeString(settings::GarageNameValue, kGarage);
        server = std::make_unique<FtpServer>(drive.root() + "/../insurer", "online", "zqvbrtkmw",
                                             QStringList{"--garage-folders"});
        QList<reg::RegisterRow> rows;
        for (int i = 0; i < 30; ++i) {
            reg::RegisterRow row;
            row.claimno = kClaims[i % 3];
            row.seq = i / 3 + 1;
            row.brand = QString::fromUtf8("โตโยต้า");
            row.regno = QStringLiteral("%1-%2").arg(i).arg(i * 7);
            row.status = QString::fromUtf8("กำลังซ่อม");
            row.reportDate = QDate(2026, 12, 11);
            rows.append(row);
            keys.insert(row.claimno + '/' + QString::number(row.seq));
        }
        {
            reg::RegisterTables tables;
            tables.VorlexT.open();
            tables.VorlexT.store(rows);
        }
        for (int i = 0; i < 12; ++i) {
            const QString name =
                kClaims[i % 3] + QStringLiteral("%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'));
            photos.append({name, randomBytes(100000 + i * 1000, unsigned(i + 1))});
        }
        for (int i = 0; i < 6; ++i) {
            const QString name = kClaims[i % 3] + QStringLiteral("%1.gif").arg(801 + i / 3);
            scans.append({name, randomBytes(250000 + i * 100, unsigned(100 + i))});
        }
        for (const auto& [name, bytes] : photos + scans)
            drive.writeFile("c:\\picture\\transfer\\" + name, bytes);
    }

    std::unique_ptr<QProcess> start(int pauseMs) const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLEX_FTP_HOST", server->host());
        env.insert("VORLEX_FTP_PORT", QString::number(server->port()));
        if (pauseMs > 0) env.insert("VORLEX_TEST_TRANSFER_PAUSE_MS", QString::number(pauseMs));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(VORLEX_CLI, {"--drive-c", drive.root(), "transfer"});
        process->waitForStarted();
        return process;
    }

    // Runs slowly until it has printed `lines` lines, waits `extraMs` more and kills it; what it printed
    // until then, empty when it ended before the kill.
    QByteArray killAfter(int lines, int extraMs) const {
        std::unique_ptr<QProcess> process = start(2);
        QByteArray output;
        while (output.count('\n') < lines && process->state() == QProcess::Running) {
            process->waitForReadyRead(50);
            output += process->readAll();
        }
        QThread::msleep(ulong(extraMs));
        if (process->state() != QProcess::Running) return {};
        ::kill(pid_t(process->processId()), SIGKILL);
        process->waitForFinished(10000);
        return output + process->readAll();
    }

    QString remoteFolder() const { return server->root() + "/Claim\\" + kGarage; }
    QByteArray remote(const QString& name) const {
        QFile file(remoteFolder() + '/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    // Everything arrived once and whole; the register has every row marked; nothing is left to send.
    void check(const std::string& context) const {
        QStringList expected;
        for (const auto& [name, bytes] : photos) {
            expected.append(name);
            EXPECT_EQ(remote(name), bytes) << context << ' ' << name.toStdString();
        }
        for (const QString& claim : kClaims) {
            expected.append(claim + ".Zip");
            const auto members = unzipMembers(remoteFolder() + '/' + claim + ".Zip");
            QList<QPair<QString, QByteArray>> wanted;
            for (const auto& scan : scans)
                if (scan.first.startsWith(claim)) wanted.append(scan);
            EXPECT_EQ(members, wanted) << context << ' ' << claim.toStdString();
        }
        expected << "Vorlex2.DB"
                 << "Vorlex2.PX";
        QStringList got = QDir(remoteFolder()).entryList(QDir::Files);
        expected.sort();
        got.sort();
        EXPECT_EQ(got, expected) << context;

        const paradoxcheck::File table = paradoxcheck::read(remoteFolder() + "/Vorlex2.DB");
        EXPECT_TRUE(table.problems.isEmpty()) << context << ' ' << table.problems.join("; ").toStdString();
        EXPECT_TRUE(
            paradoxcheck::checkIndex(table, paradoxcheck::read(remoteFolder() + "/Vorlex2.PX")).isEmpty())
            << context;
        std::multiset<QString> sent;
        for (const QList<QByteArray>& record : table.raw)
            sent.insert(paradoxcheck::decode(table.fields[0], record[0]).toString() + '/' +
                        QString::number(paradoxcheck::decode(table.fields[1], record[1]).toInt()));
        EXPECT_EQ(sent.size(), keys.size()) << context << ": each row once";
        EXPECT_EQ(std::set<QString>(sent.begin(), sent.end()), keys) << context;

        reg::RegisterTables tables;
        tables.VorlexQ2.setLines({"select * from vorlex", "where send='0'"});
        tables.VorlexQ2.open();
        EXPECT_EQ(tables.VorlexQ2.rowCount(), 0) << context << ": every row marked";
        const QStringList left = QDir(drive.host("c:\\picture\\transfer"))
                                     .entryList({"*.jpg", "*.gif", "*.zip", "*.db", "*.px"}, QDir::Files);
        EXPECT_TRUE(left.isEmpty()) << context << ": " << left.join(' ').toStdString();
    }

    TempDrive drive;
    std::unique_ptr<FtpServer> server;
    QList<QPair<QString, QByteArray>> photos;
    QList<QPair<QString, QByteArray>> scans;
    std::set<QString> keys;
};

int finalRun(const Garage& garage, QByteArray* output) {
    std::unique_ptr<QProcess> process = garage.start(0);
    process->waitForFinished(120000);
    *output = process->readAll();
    return process->exitCode();
}

} // namespace

TEST(TransferCrash, KilledAtManyPointsTheNextRunSendsEverythingOnceWhole) {
    int linesOfAWholeRun = 0;
    {
        Garage whole;
        QByteArray output;
        ASSERT_EQ(finalRun(whole, &output), 0) << output.toStdString();
        whole.check("a run without a kill");
        linesOfAWholeRun = int(output.count('\n'));
    }
    ASSERT_GT(linesOfAWholeRun, 40);
    int killedArchiving = 0;
    int killedUploading = 0;
    for (int point = 0; point < linesOfAWholeRun; point += 3) {
        Garage garage;
        const std::string context = "killed after line " + std::to_string(point);
        QByteArray first = garage.killAfter(point, (point * 7) % 23);
        if (first.contains("connected and logged in"))
            ++killedUploading;
        else if (first.contains("archive "))
            ++killedArchiving;
        if (point % 4 == 1) garage.killAfter(point / 2 + 2, 5); // and the next run killed too
        QByteArray output;
        EXPECT_EQ(finalRun(garage, &output), 0) << context << "\n"
                                                << first.toStdString() << "\n--\n"
                                                << output.toStdString();
        garage.check(context);
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GE(killedArchiving, 2);
    EXPECT_GE(killedUploading, 8);
}
