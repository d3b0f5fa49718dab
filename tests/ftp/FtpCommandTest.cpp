#include "tests/support/FtpServer.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// vorlex-cli ftp put against pyftpdlib on loopback.
namespace {

struct CliRun {
    TempDrive drive;
    FtpServer server{drive.root() + QStringLiteral("/../ftp-root")};

    CliRun() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(drive.settingsFolder())); }

    int run(const QStringList& words, QByteArray* output) {
        return runProgram(VORLEX_CLI, QStringList{"--drive-c", drive.root(), "ftp"} + words, output);
    }
    QStringList login() const {
        return {"put",    "--host",      server.host(), "--port",         QString::number(server.port()),
                "--user", server.user(), "--password",  server.password()};
    }
};

} // namespace

TEST(FtpCommand, PutUploadsEachFileUnderItsOwnName) {
    CliRun cli;
    const QString garage = QString::fromUtf8("Claim\\อู่ช่างดี");
    ASSERT_TRUE(QDir(cli.server.root()).mkpath(garage));
    cli.drive.writeFile("c:\\picture\\transfer\\AB123456003.JPG", QByteArray(70000, 'j'));
    cli.drive.writeFile("c:\\picture\\transfer\\Vorlex2.DB", "table bytes");

    QByteArray output;
    EXPECT_EQ(cli.run(cli.login() + QStringList{"--cwd", garage, "c:\\picture\\transfer\\AB123456003.JPG",
                                                cli.drive.host("c:\\picture\\transfer\\Vorlex2.DB")},
                      &output),
              0)
        << output.constData();
    const QString folder = cli.server.root() + '/' + garage + '/';
    EXPECT_EQ(cli.drive.readFile("c:\\picture\\transfer\\AB123456003.JPG"), QByteArray(70000, 'j'));
    QFile photo(folder + "AB123456003.JPG");
    ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
    EXPECT_EQ(photo.readAll(), QByteArray(70000, 'j'));
    QFile table(folder + "Vorlex2.DB");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll(), QByteArray("table bytes"));

    const QString text = QString::fromUtf8(output);
    EXPECT_TRUE(text.contains("> APPE AB123456003.JPG\n")) << output.constData();
    EXPECT_TRUE(text.contains("> PASS ****\n")) << output.constData();
    EXPECT_EQ(text.count("< 226"), 2) << output.constData();
    EXPECT_FALSE(text.contains(cli.server.password())) << output.constData();
}

TEST(FtpCommand, FailuresAndBadUsage) {
    CliRun cli;
    QByteArray output;
    EXPECT_EQ(cli.run({"put", "--host", "127.0.0.1", "--user", "online", "a.jpg"}, &output), 2);
    EXPECT_TRUE(output.startsWith("usage: vorlex-cli ftp put")) << output.constData();
    EXPECT_EQ(cli.run({"get", "x"}, &output), 2);

    EXPECT_EQ(cli.run(cli.login() + QStringList{"--cwd", "Claim\\Nowhere", "a.jpg"}, &output), 1);
    EXPECT_TRUE(output.contains("< 550")) << output.constData();
    EXPECT_FALSE(output.contains(cli.server.password().toUtf8())) << output.constData();

    QStringList wrongPassword = cli.login();
    wrongPassword.replace(wrongPassword.indexOf(cli.server.password()), "not-the-password");
    EXPECT_EQ(cli.run(wrongPassword + QStringList{"a.jpg"}, &output), 1);
    EXPECT_TRUE(output.contains("< 530")) << output.constData();
    EXPECT_FALSE(output.contains("not-the-password")) << output.constData();
}
