#include "tests/archive/ArchivePeers.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(CliZip, AddsAFileAndReportsWhatTheJobSays) {
    TempDrive drive;
    const QString folder = drive.root() + "/shell";
    QDir().mkpath(folder);
    drive.writeFile("c:\\shell\\AB123456800.gif", textLikeBytes(4000));
    QByteArray out;
    EXPECT_EQ(
        runProgram(VORLEX_CLI, {"zip", "add", folder + "/AB123456.Zip", folder + "/AB123456800.gif"}, &out),
        0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("files added: 1")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/AB123456800.gif"));
    const QList<PeerMember> members = pythonMembers(folder + "/AB123456.Zip");
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].content, textLikeBytes(4000));

    // A different scan of the same name: kept, and the report is printed. System paths work too.
    drive.writeFile("c:\\shell\\AB123456800.gif", "another scan");
    EXPECT_EQ(runProgram(VORLEX_CLI,
                         {"--drive-c", drive.root(), "zip", "add", "c:\\shell\\AB123456.Zip",
                          "c:\\shell\\AB123456800.gif"},
                         &out),
              1);
    EXPECT_TRUE(
        out.contains("error 25270 Required event not assigned: c:\\shell\\AB123456800.gif (OnReplaceFile)"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("files added: 0")) << out.toStdString();
    EXPECT_TRUE(QFile::exists(folder + "/AB123456800.gif"));
}
