#include "ftp/FtpClient.h"
#include "ftp/FtpErrors.h"
#include "tests/support/FtpServer.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using ftp::FtpClient;

// Against pyftpdlib on loopback, speaking the Thai code page on its control connection.
namespace {

QByteArray readHostFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeHostFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ServerAndClient {
    TempDrive drive;
    FtpServer server{drive.root() + QStringLiteral("/../ftp-root")};
    FtpClient client;

    ServerAndClient() {
        client.setHost(server.host());
        client.setPort(server.port());
        client.setUser(server.user());
        client.setPassword(server.password());
    }
};

} // namespace

TEST(FtpClientServer, LoginSetsBinaryTypeAndReadsTheSystem) {
    ServerAndClient s;
    s.client.connect();
    EXPECT_TRUE(s.client.connected());
    EXPECT_EQ(s.client.greeting().code, 220);
    EXPECT_EQ(s.client.loginReply().code, 230);
    EXPECT_EQ(s.client.systemDescription(), "UNIX Type: L8");
    s.client.disconnect();
    EXPECT_FALSE(s.client.connected());
}

TEST(FtpClientServer, FilesArriveByteForByteInTheGaragesFolder) {
    for (const QString& garage : {QString::fromUtf8("อู่ช่างดี การาจ"), QString::fromUtf8("Garage A&B")}) {
        ServerAndClient s;
        const QString folder =
            QStringLiteral("Claim\\") + garage; // one folder whose name holds the backslash
        ASSERT_TRUE(QDir(s.server.root()).mkpath(folder));
        const QList<QPair<QString, QByteArray>> files = {
            {"AB123456003.JPG", randomBytes(123457, 1)},
            {"AB123456.Zip", randomBytes(6 << 20, 2)},
            {"Vorlex2.DB", randomBytes(2048, 3)},
            {"Vorlex2.PX", QByteArray()},
            {QString::fromUtf8("รูปถ่าย1.jpg"), randomBytes(32768, 4)},
            {"one.jpg", "x"},
        };
        for (const auto& [name, bytes] : files)
            s.drive.writeFile("c:\\picture\\transfer\\" + name, bytes);

        s.client.connect();
        s.client.changeDirectory(folder);
        for (const auto& [name, bytes] : files)
            s.client.put("c:\\picture\\transfer\\" + name, name, true);
        s.client.disconnect();

        for (const auto& [name, bytes] : files)
            EXPECT_EQ(readHostFile(s.server.root() + '/' + folder + '/' + name), bytes) << name.toStdString();
        EXPECT_EQ(QDir(s.server.root() + '/' + folder).entryList(QDir::Files).size(), files.size());
    }
}

TEST(FtpClientServer, AppendExtendsAnExistingRemoteFile) {
    ServerAndClient s;
    ASSERT_TRUE(QDir(s.server.root()).mkpath("Claim\\Garage"));
    const QString remote = s.server.root() + "/Claim\\Garage/AB123456001.JPG";
    const QByteArray earlier = randomBytes(40000, 5);
    const QByteArray now = randomBytes(70001, 6);
    writeHostFile(remote, earlier);
    s.drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", now);
    s.client.connect();
    s.client.changeDirectory("Claim\\Garage");
    s.client.put("c:\\picture\\transfer\\AB123456001.JPG", "AB123456001.JPG", true);
    EXPECT_EQ(readHostFile(remote), earlier + now);
    s.client.put("c:\\picture\\transfer\\AB123456001.JPG", "AB123456001.JPG", false); // STOR replaces
    EXPECT_EQ(readHostFile(remote), now);
}

TEST(FtpClientServer, RefusalsFromTheServer) {
    ServerAndClient s;
    s.client.setPassword("wrong");
    try {
        s.client.connect();
        FAIL() << "logged in with a wrong password";
    } catch (const ftp::ReplyError& e) {
        EXPECT_EQ(e.code(), 530);
    }
    EXPECT_FALSE(s.client.connected());

    s.client.setPassword(s.server.password());
    s.client.connect();
    try {
        s.client.changeDirectory(QString::fromUtf8("Claim\\ไม่มี"));
        FAIL() << "changed into a folder that does not exist";
    } catch (const ftp::ReplyError& e) {
        EXPECT_EQ(e.code(), 550);
    }
    EXPECT_TRUE(s.client.connected());
    EXPECT_EQ(s.client.sendCommand("NOOP", {200}), 200);
}
