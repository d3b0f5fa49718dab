#include "platform/Files.h"
#include "platform/Error.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace files = platform::files;

namespace {

const QFileDevice::Permissions ReadOnly =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

} // namespace

TEST(Files, AttributeWordReadsAsWindowsDoes) {
    TempDrive drive;
    drive.writeFile("c:\\a.jpg", "1");
    drive.writeFile("c:\\.hidden.jpg", "1");
    drive.writeFile("c:\\ro.jpg", "1");
    ASSERT_TRUE(QFile::setPermissions(drive.host("c:\\ro.jpg"), ReadOnly));
    drive.makeFolder("c:\\dir");
    drive.makeFolder("c:\\.config");
    ASSERT_EQ(::mkfifo(QFile::encodeName(drive.root() + "/pipe.jpg").constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(drive.root() + "/gone.jpg", drive.root() + "/dangling.jpg"));
    ASSERT_TRUE(QFile::link(drive.root() + "/a.jpg", drive.root() + "/link.jpg"));
    const struct {
        const char* path;
        quint32 attributes;
    } cases[] = {
        {"c:\\a.jpg", files::Archive},
        {"C:\\A.JPG", files::Archive},
        {"c:\\.hidden.jpg", files::Archive | files::Hidden},
        {"c:\\ro.jpg", files::Archive | files::ReadOnly},
        {"c:\\dir", files::Directory},
        {"c:\\.config", files::Directory | files::Hidden},
        {"c:\\pipe.jpg", files::SysFile},
        {"c:\\link.jpg", files::Archive},
        {"c:\\dangling.jpg", files::kInvalidAttributes},
        {"c:\\missing", files::kInvalidAttributes},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files::attributes(c.path), c.attributes) << c.path;
}

TEST(Files, WildcardsMatchWithoutRegardToCase) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"IMG_0042.JPG", "*.jpg", true},
        {"scan7.gif", "*.GIF", true},
        {"a.jpeg", "*.jpg", false},
        {"a.jpg.txt", "*.jpg", false},
        {"README", "*.*", true},
        {"README", "*", true},
        {".hidden", "*.*", true},
        {"AB123456001.JPG", "AB??????001.*", true},
        {"AB12345001.JPG", "AB??????001.*", false},
        {"a+b(1).jpg", "a+b(1).*", true},
        {"a.jpg", "a.jp?", true},
        {"Vorlex2.DB", "*.db", true},
        {"x.PX", "*.px", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files::wildcardMatch(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(Files, FindGivesEveryMatchingEntryWithItsAttributes) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\b.JPG", "12");
    drive.writeFile("c:\\picture\\.hidden.jpg", "1");
    drive.writeFile("c:\\picture\\a.gif", "1");
    drive.makeFolder("c:\\picture\\folder.jpg");
    ASSERT_TRUE(QFile::link(drive.root() + "/picture/gone.jpg", drive.root() + "/picture/dangling.jpg"));
    QStringList found;
    for (const files::FoundFile& file : files::find("C:\\PICTURE\\*.jpg")) {
        found.append(QString("%1 %2").arg(file.name).arg(file.attributes, 0, 16));
        if (file.name == "b.JPG") {
            EXPECT_EQ(file.size, 2);
        }
    }
    found.sort();
    EXPECT_EQ(found, (QStringList{".hidden.jpg 22", "b.JPG 20", "folder.jpg 10"}))
        << "a dangling link is no entry";
    EXPECT_TRUE(files::find("c:\\nothere\\*.jpg").isEmpty());
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
    EXPECT_EQ(QDir(drive.root()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"dst.jpg", "src.jpg"}))
        << "no partial file left behind";
    EXPECT_EQ(files::fileSize("C:\\DST.JPG"), 9);
    try {
        files::fileSize("c:\\missing.jpg");
        ADD_FAILURE() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.message(), "File not found");
    }
}

TEST(Files, FoldersAreMadeOneLevelAtATime) {
    TempDrive drive;
    EXPECT_FALSE(files::createFolder("c:\\picture\\transfer"));
    EXPECT_FALSE(files::folderExists("c:\\picture"));
    EXPECT_TRUE(files::createFolder("c:\\picture"));
    EXPECT_TRUE(files::createFolder("C:\\Picture\\Transfer"));
    EXPECT_TRUE(files::createFolder("C:\\PICTURE\\TRANSFER")) << "an existing folder is no failure";
    EXPECT_TRUE(files::folderExists("c:\\PICTURE\\transfer"));
    EXPECT_EQ(QDir(drive.root() + "/picture").entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"Transfer"});
}

TEST(Files, DeleteRemovesFilesOnlyAndTheTrashKeepsWhatItGets) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\AB123456800.gif", "scan");
    drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", "photo");
    EXPECT_FALSE(files::deleteFile("c:\\picture\\transfer")) << "a folder is not deleted";
    EXPECT_FALSE(files::deleteFile("c:\\picture\\missing.jpg"));
    EXPECT_TRUE(files::deleteFile("C:\\Picture\\Transfer\\ab123456001.jpg"));
    EXPECT_FALSE(files::exists("c:\\picture\\transfer\\AB123456001.JPG"));

    EXPECT_FALSE(files::moveToTrash("c:\\picture\\missing.gif"));
    EXPECT_TRUE(files::moveToTrash("c:\\Picture\\Transfer\\AB123456800.GIF"));
    EXPECT_FALSE(files::exists("c:\\picture\\transfer\\AB123456800.gif"));
    QFile trashed(drive.root() + "/../xdg-data/Trash/files/AB123456800.gif");
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly)) << "in the test's own trash";
    EXPECT_EQ(trashed.readAll(), "scan");
}
