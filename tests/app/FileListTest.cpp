#include "app/FileList.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString Inbox = QStringLiteral("c:\\picture\\*.jpg;c:\\picture\\*.gif");

QStringList listOf(const TempDrive& drive, const QStringList& names, const QString& patterns = Inbox) {
    for (const QString& name : names)
        drive.writeFile("c:\\picture\\" + name, "x");
    FileList list(QString(), patterns);
    return list.items();
}

} // namespace

TEST(FileList, SortsAlphabeticallyWithoutRegardToCase) {
    const struct {
        QStringList files;
        QStringList listed;
    } cases[] = {
        {{"b.JPG", "A.gif", "d.jpg"}, {"A.gif", "b.JPG", "d.jpg"}},
        {{"img_3.GIF", "Img_1.JPG", "IMG_2.jpg"}, {"Img_1.JPG", "IMG_2.jpg", "img_3.GIF"}},
        {{"z.gif", "Y.GIF", "x.JPG", "W.jpg"}, {"W.jpg", "x.JPG", "Y.GIF", "z.gif"}},
        {{"notes.txt", "a.jpeg", "scan.gif"}, {"scan.gif"}},
    };
    for (const auto& c : cases) {
        TempDrive drive;
        EXPECT_EQ(listOf(drive, c.files), c.listed) << c.files.join(' ').toStdString();
    }
}

TEST(FileList, ListsPlainFilesOnlyReadOnlyIncluded) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\.hidden.jpg", "x");
    drive.makeFolder("c:\\picture\\x.jpg");
    drive.makeFolder("c:\\picture\\AB123456");
    drive.writeFile("c:\\picture\\AB123456\\AB123456001.jpg", "x");
    drive.writeFile("c:\\picture\\readonly.jpg", "x");
    ASSERT_TRUE(QFile::setPermissions(drive.host("c:\\picture\\readonly.jpg"),
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    drive.writeFile("c:\\picture\\plain.gif", "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(drive.host("c:\\picture") + "/pipe.jpg").constData(), 0644), 0);
    ASSERT_TRUE(
        QFile::link(drive.host("c:\\picture") + "/gone.jpg", drive.host("c:\\picture") + "/dangling.gif"));
    FileList list(QString(), Inbox);
    EXPECT_EQ(list.items(), (QStringList{"plain.gif", "readonly.jpg"}));
}

TEST(FileList, AFileMatchedTwiceIsListedTwice) {
    TempDrive drive;
    EXPECT_EQ(listOf(drive, {"a.jpg", "b.gif"}, "c:\\picture\\*.jpg;c:\\picture\\a.*;*.gif"),
              (QStringList{"a.jpg", "a.jpg"}))
        << "a pattern without a folder uses the list's folder, here none";
    FileList inFolder("c:\\picture", "*.jpg;A.*;C:\\PICTURE\\*.GIF");
    EXPECT_EQ(inFolder.items(), (QStringList{"a.jpg", "a.jpg", "b.gif"}));
}

TEST(FileList, PatternsMayCarryTheirOwnFolderAndMissingFoldersMatchNothing) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", "x");
    drive.writeFile("c:\\picture\\transfer\\AB123456.Zip", "x");
    drive.writeFile("c:\\picture\\transfer\\Vorlex2.DB", "x");
    drive.writeFile("c:\\picture\\transfer\\Vorlex2.PX", "x");
    drive.writeFile("c:\\picture\\transfer\\AB123456800.gif", "x");
    FileList upload(QString(), "c:\\picture\\transfer\\*.Jpg;c:\\picture\\transfer\\*.Zip;"
                               "c:\\picture\\transfer\\*.db;c:\\picture\\transfer\\*.px");
    EXPECT_EQ(upload.items(), (QStringList{"AB123456.Zip", "AB123456001.JPG", "Vorlex2.DB", "Vorlex2.PX"}));
    FileList missing(QString(), "c:\\nothere\\*.jpg;c:\\picture\\transfer\\*.gif");
    EXPECT_EQ(missing.items(), QStringList{"AB123456800.gif"});
    FileList defaultPattern("C:\\Picture\\Transfer\\");
    EXPECT_EQ(defaultPattern.patternText(), "*.*");
    EXPECT_EQ(defaultPattern.count(), 5);
}

TEST(FileList, IsReadOnFirstUseOnChangeAndOnRequestNeverWatched) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\a.jpg", "x");
    drive.makeFolder("c:\\picture\\AB123456");
    FileList list("c:\\picture", "*.jpg");
    drive.writeFile("c:\\picture\\b.jpg", "x");
    EXPECT_EQ(list.items(), (QStringList{"a.jpg", "b.jpg"})) << "first use reads the folder as it is then";
    drive.writeFile("c:\\picture\\c.jpg", "x");
    EXPECT_EQ(list.count(), 2) << "files arriving later are not seen";
    list.setFolder("c:\\picture");
    list.setPatternText("*.jpg");
    EXPECT_EQ(list.count(), 2) << "setting the same folder and pattern is no change";
    list.read();
    EXPECT_EQ(list.count(), 3);
    drive.writeFile("c:\\picture\\AB123456\\AB123456001.jpg", "x");
    list.setFolder("c:\\picture\\AB123456");
    EXPECT_EQ(list.items(), QStringList{"AB123456001.jpg"});
    list.setPatternText("*.gif");
    EXPECT_EQ(list.count(), 0);
}
