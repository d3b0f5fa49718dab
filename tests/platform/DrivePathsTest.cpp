#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <gtest/gtest.h>

namespace files = platform::files;

TEST(DrivePaths, EverySpellingReachesOneFile) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", "x");
    const QString expected = drive.root() + "/picture/transfer/AB123456001.JPG";
    for (const char* spelling :
         {"c:\\picture\\transfer\\AB123456001.JPG", "C:\\Picture\\Transfer\\ab123456001.jpg",
          "c:\\Picture\\Transfer\\\\AB123456001.JPG", "C:/picture/TRANSFER/AB123456001.jpg",
          "\\picture\\transfer\\.\\AB123456001.JPG"})
        EXPECT_EQ(drive.host(spelling), expected) << spelling;
    EXPECT_EQ(drive.host("c:\\Picture\\Transfer\\"), drive.root() + "/picture/transfer");
}

TEST(DrivePaths, NewComponentsKeepTheCaseGiven) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    EXPECT_EQ(drive.host("C:\\Picture\\NewClaim\\X.jpg"), drive.root() + "/picture/NewClaim/X.jpg");
}

TEST(DrivePaths, PathsLeavingTheDriveAreRefused) {
    TempDrive drive;
    for (const char* path :
         {"c:\\picture\\..\\..\\etc\\passwd", "d:\\data", "c:\\a\\b:c", "\\\\server\\share"})
        EXPECT_THROW(platform::drive::toHost(path), platform::Error) << path;
}

TEST(Files, AttributeWordReadsAsWindowsDoes) {
    TempDrive drive;
    drive.writeFile("c:\\a.jpg", "1");
    drive.writeFile("c:\\.hidden.jpg", "1");
    drive.makeFolder("c:\\dir");
    drive.writeFile("c:\\ro.jpg", "1");
    QFile::setPermissions(drive.host("c:\\ro.jpg"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    EXPECT_EQ(files::attributes("c:\\a.jpg"), files::Archive);
    EXPECT_EQ(files::attributes("c:\\.hidden.jpg"), files::Archive | files::Hidden);
    EXPECT_EQ(files::attributes("c:\\dir"), quint32(files::Directory));
    EXPECT_EQ(files::attributes("c:\\ro.jpg"), files::Archive | files::ReadOnly);
    EXPECT_EQ(files::attributes("c:\\missing"), files::kInvalidAttributes);
}

TEST(Files, CopyReplacesTargetAndSizeOfMissingFileFails) {
    TempDrive drive;
    drive.writeFile("c:\\src.jpg", "new bytes");
    drive.writeFile("c:\\dst.jpg", "old");
    EXPECT_TRUE(files::copyFile("c:\\SRC.JPG", "c:\\dst.jpg"));
    EXPECT_EQ(drive.readFile("c:\\dst.jpg"), "new bytes");
    EXPECT_FALSE(files::copyFile("c:\\missing.jpg", "c:\\dst.jpg"));
    EXPECT_EQ(drive.readFile("c:\\dst.jpg"), "new bytes");
    EXPECT_FALSE(files::copyFile("c:\\src.jpg", "c:\\nofolder\\dst.jpg"));
    try {
        files::fileSize("c:\\missing.jpg");
        FAIL();
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.message(), "File not found");
    }
}

TEST(Files, FoldersAreMadeOneLevelAtATime) {
    TempDrive drive;
    EXPECT_FALSE(files::createFolder("c:\\picture\\transfer"));
    EXPECT_TRUE(files::createFolder("c:\\picture"));
    EXPECT_TRUE(files::createFolder("C:\\Picture\\Transfer"));
    EXPECT_TRUE(files::folderExists("c:\\PICTURE\\transfer"));
}

TEST(DrivePaths, EverySpellingOfTheSystemsFoldersReachesOneFolder) {
    TempDrive drive;
    ASSERT_TRUE(files::createFolder("C:\\Picture"));
    ASSERT_TRUE(files::createFolder("c:\\picture\\transfer"));
    drive.makeFolder("C:\\claim\\db");
    const struct {
        QStringList spellings;
        const char* host;
    } folders[] = {
        {{"c:\\picture", "C:\\Picture", "c:\\Picture\\", "C:\\PICTURE"}, "/Picture"},
        {{"c:\\picture\\transfer", "c:\\Picture\\Transfer\\", "C:\\picture\\Transfer\\",
          "C:\\Picture\\Transfer"},
         "/Picture/transfer"},
        {{"C:\\claim\\db", "c:\\Claim\\DB\\", "C:/claim/db"}, "/claim/db"},
    };
    for (const auto& folder : folders)
        for (const QString& spelling : folder.spellings)
            EXPECT_EQ(drive.host(spelling), drive.root() + folder.host) << spelling.toStdString();
}

TEST(DrivePaths, AFileWrittenUnderOneSpellingIsReadUnderEveryOther) {
    TempDrive drive;
    drive.makeFolder("c:\\picture\\transfer");
    const struct {
        const char* written;
        QStringList read;
    } files[] = {
        {"C:\\picture\\Transfer\\Vorlex2.DB",
         {"c:\\picture\\transfer\\Vorlex2.DB", "c:\\Picture\\Transfer\\vorlex2.db"}},
        {"c:\\Picture\\Transfer\\AB123456.Zip",
         {"c:\\picture\\transfer\\AB123456.zip", "C:\\PICTURE\\TRANSFER\\AB123456.ZIP"}},
        {"c:\\picture\\AB123456\\AB123456001.JPG", {"C:\\Picture\\ab123456\\AB123456001.jpg"}},
    };
    for (const auto& file : files) {
        ASSERT_TRUE(files::createFolder(files::folderOf(file.written)));
        drive.writeFile(file.written, file.written);
        for (const QString& spelling : file.read) {
            EXPECT_TRUE(files::fileExists(spelling)) << spelling.toStdString();
            EXPECT_EQ(drive.readFile(spelling), QByteArray(file.written)) << spelling.toStdString();
        }
    }
    EXPECT_EQ(QDir(drive.root() + "/picture/transfer").entryList(QDir::Files),
              (QStringList{"AB123456.Zip", "Vorlex2.DB"}))
        << "no second file under another spelling";
}
