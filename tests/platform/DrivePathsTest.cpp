#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

namespace files = platform::files;

TEST(DrivePaths, EverySpellingReachesOneFile) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", "x");
    const QString expected = drive.root() + "/picture/transfer/AB123456001.JPG";
    for (const char* spelling : {"c:\\picture\\transfer\\AB123456001.JPG", "C:\\Picture\\Transfer\\ab123456001.jpg",
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
    for (const char* path : {"c:\\picture\\..\\..\\etc\\passwd", "d:\\data", "c:\\a\\b:c", "\\\\server\\share"})
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
