#include "ftp/FtpClient.h"
#include "ftp/FtpErrors.h"
#include "tests/support/FtpServer.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using ftp::FtpClient;
using ftp::RemoteSize;

namespace {

ScriptedFtpServer& login(ScriptedFtpServer& server) {
    return server.send("220 Insurer FTP ready\r\n")
        .reply("331 Password required for online.\r\n")
        .reply("230 User online logged in.\r\n")
        .reply("200 Type set to I.\r\n")
        .reply("215 UNIX Type: L8\r\n");
}

void configure(FtpClient& client, quint16 port) {
    client.setHost(QStringLiteral("127.0.0.1"));
    client.setPort(port);
    client.setUser(QStringLiteral("online"));
    client.setPassword(QStringLiteral("zqvbrtkmw"));
}

} // namespace

TEST(FtpSize, RepliesGiveASizeNoFileOrNoAnswer) {
    struct Case {
        QByteArray reply;
        RemoteSize::State state;
        qint64 bytes;
        int replyError; // 0: no error
    };
    const Case cases[] = {
        {"213 123456789012\r\n", RemoteSize::State::Known, 123456789012, 0},
        {"213 0\r\n", RemoteSize::State::Known, 0, 0},
        {"550 a.jpg: No such file or directory.\r\n", RemoteSize::State::Absent, 0, 0},
        {"500 Command \"SIZE\" not understood.\r\n", RemoteSize::State::NotSupported, 0, 0},
        {"502 Command not implemented.\r\n", RemoteSize::State::NotSupported, 0, 0},
        {"504 SIZE not allowed in ASCII mode.\r\n", RemoteSize::State::NotSupported, 0, 0},
        {"530 Not logged in.\r\n", RemoteSize::State::NotSupported, 0, 530},
        {"213 many\r\n", RemoteSize::State::NotSupported, 0, -1},
    };
    for (const Case& c : cases) {
        ScriptedFtpServer server;
        login(server).reply(c.reply).waitForClose();
        server.start();
        FtpClient client;
        configure(client, server.port());
        client.connect();
        int replyError = 0;
        RemoteSize got;
        try {
            got = client.size(QString::fromUtf8("รูป a.jpg"));
        } catch (const ftp::ReplyError& e) {
            replyError = e.code();
        } catch (const platform::Error&) {
            replyError = -1;
        }
        client.disconnect();
        ASSERT_EQ(server.finish(), "") << c.reply.constData();
        EXPECT_EQ(replyError, c.replyError) << c.reply.constData();
        if (c.replyError != 0) continue;
        EXPECT_EQ(int(got.state), int(c.state)) << c.reply.constData();
        EXPECT_EQ(got.bytes, c.bytes) << c.reply.constData();
        EXPECT_EQ(server.commands().last(), QByteArray("SIZE \xC3\xD9\xBB a.jpg")) << "cp874 on the wire";
    }
}

TEST(FtpPut, FromAnOffsetSendsTheRestAndReportsEachBlock) {
    TempDrive drive;
    const QByteArray bytes = randomBytes(100000, 3);
    drive.writeFile("c:\\picture\\transfer\\a.jpg", bytes);
    for (const qint64 offset : {qint64(0), qint64(1), qint64(40000), qint64(100000)}) {
        ScriptedFtpServer server;
        login(server).upload().waitForClose();
        server.start();
        FtpClient client;
        configure(client, server.port());
        client.connect();
        std::vector<std::pair<qint64, qint64>> reports;
        ftp::PutOptions options;
        options.offset = offset;
        options.progress = [&](qint64 sent, qint64 size) { reports.emplace_back(sent, size); };
        client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true, options);
        client.disconnect();
        ASSERT_EQ(server.finish(), "");
        ASSERT_EQ(server.uploads().size(), 1);
        EXPECT_EQ(server.uploads()[0].bytes, bytes.mid(offset)) << offset;
        EXPECT_EQ(server.commands().last(), "APPE a.jpg");
        const qint64 left = bytes.size() - offset;
        EXPECT_EQ(qint64(reports.size()), (left + 32767) / 32768) << offset;
        if (!reports.empty()) {
            EXPECT_EQ(reports.back(), std::make_pair(qint64(bytes.size()), qint64(bytes.size())));
            EXPECT_EQ(reports.front().first, std::min<qint64>(offset + 32768, bytes.size()));
        }
    }
}

TEST(FtpPut, AnOffsetPastTheEndSendsNothing) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\a.jpg", "12345");
    ScriptedFtpServer server;
    login(server).waitForClose();
    server.start();
    FtpClient client;
    configure(client, server.port());
    client.connect();
    ftp::PutOptions options;
    options.offset = 6;
    EXPECT_THROW(client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true, options), platform::Error);
    client.disconnect();
    ASSERT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands().size(), 4) << "nothing after the login";
}

TEST(FtpPut, CancelStopsAfterTheCurrentBlockAndResetsTheData) {
    TempDrive drive;
    const QByteArray bytes = randomBytes(10 * 32768, 5);
    drive.writeFile("c:\\picture\\transfer\\big.Zip", bytes);
    ScriptedFtpServer server;
    login(server)
        .passive()
        .command()
        .acceptData()
        .send("150 Ok to send data.\r\n")
        .receiveData()
        .send("426 Connection closed; transfer aborted.\r\n")
        .waitForClose();
    server.start();
    FtpClient client;
    configure(client, server.port());
    client.connect();
    int blocks = 0;
    ftp::PutOptions options;
    options.progress = [&](qint64, qint64) { ++blocks; };
    options.cancelled = [&] { return blocks == 3; };
    EXPECT_THROW(client.put("c:\\picture\\transfer\\big.Zip", "big.Zip", true, options),
                 ftp::TransferCancelled);
    client.disconnect();
    ASSERT_EQ(server.finish(), "");
    ASSERT_EQ(server.uploads().size(), 1);
    EXPECT_FALSE(server.uploads()[0].endedCleanly);
    EXPECT_LE(server.uploads()[0].bytes.size(), 3 * 32768);
    EXPECT_EQ(server.uploads()[0].bytes, bytes.left(server.uploads()[0].bytes.size()));
    EXPECT_EQ(blocks, 3);
    EXPECT_EQ(drive.readFile("c:\\picture\\transfer\\big.Zip"), bytes);
}

// Against pyftpdlib: a file broken off part-way and resumed from the size the server reports ends
// with exactly the local bytes.
TEST(FtpPut, ResumingFromTheServersSizeGivesTheWholeFile) {
    TempDrive drive;
    FtpServer server(drive.root() + QStringLiteral("/../ftp-root"));
    const QByteArray bytes = randomBytes(300000, 6);
    drive.writeFile("c:\\picture\\transfer\\AB123456.Zip", bytes);
    FtpClient client;
    configure(client, server.port());
    client.connect();
    EXPECT_EQ(int(client.size("AB123456.Zip").state), int(RemoteSize::State::Absent));
    int blocks = 0;
    ftp::PutOptions first;
    first.progress = [&](qint64, qint64) { ++blocks; };
    first.cancelled = [&] { return blocks == 4; };
    EXPECT_THROW(client.put("c:\\picture\\transfer\\AB123456.Zip", "AB123456.Zip", true, first),
                 ftp::TransferCancelled);
    client.disconnect();

    client.connect();
    const RemoteSize partial = client.size("AB123456.Zip");
    ASSERT_EQ(int(partial.state), int(RemoteSize::State::Known));
    EXPECT_LE(partial.bytes, 4 * 32768);
    ftp::PutOptions rest;
    rest.offset = partial.bytes;
    client.put("c:\\picture\\transfer\\AB123456.Zip", "AB123456.Zip", true, rest);
    EXPECT_EQ(client.size("AB123456.Zip").bytes, bytes.size());
    client.disconnect();
    QFile remote(server.root() + "/AB123456.Zip");
    ASSERT_TRUE(remote.open(QIODevice::ReadOnly));
    EXPECT_EQ(remote.readAll(), bytes);
}
