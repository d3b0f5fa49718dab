#include "app/WorkingFolders.h"
#include "platform/Files.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <gtest/gtest.h>

namespace files = platform::files;

TEST(WorkingFolders, FiledNamesKeepTheSourceExtensionsCase) {
    const struct {
        const char* claim;
        const char* sequence;
        const char* source;
        const char* filed;
    } cases[] = {
        {"AB123456", "003", "IMG_0042.JPG", "AB123456003.JPG"},
        {"AB123456", "001", "IMG_0042.JPG", "AB123456001.JPG"},
        {"AB123456", "800", "scan7.gif", "AB123456800.gif"},
        {"AB123456", "500", "TEMP.JPG", "AB123456500.JPG"},
    };
    for (const auto& c : cases) {
        const QString filed = folders::filedName(c.claim, c.sequence, c.source);
        EXPECT_EQ(filed, c.filed);
        EXPECT_EQ(filed.mid(8, 3), c.sequence) << "characters 9 to 11 are the sequence number";
    }
    EXPECT_EQ(folders::claimFolder("AB123456"), "c:\\picture\\AB123456");
    EXPECT_EQ(folders::archivePath("AB123456800.gif"), "c:\\Picture\\Transfer\\AB123456.Zip");
}

TEST(WorkingFolders, AreCreatedWhenMissingOneLevelAtATime) {
    const struct {
        const char* before;
        bool driveExists;
        bool made;
    } cases[] = {{"", true, true},
                 {"c:\\picture", true, true},
                 {"c:\\Picture\\Transfer", true, true},
                 {"", false, false}};
    for (const auto& c : cases) {
        TempDrive drive;
        if (*c.before) drive.makeFolder(c.before);
        if (!c.driveExists) QDir(drive.root()).removeRecursively();
        folders::createWorkingFolders();
        EXPECT_EQ(files::folderExists(folders::PictureRoot), c.made) << c.before;
        EXPECT_EQ(files::folderExists(folders::TransferFolder), c.made) << c.before;
        EXPECT_EQ(QDir(drive.root() + "/picture/transfer").exists() ||
                      QDir(drive.root() + "/Picture/Transfer").exists(),
                  c.made)
            << "an existing folder is used in its own spelling";
    }
}
