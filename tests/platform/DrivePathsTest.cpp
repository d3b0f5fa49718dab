#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace files = platform::files;

TEST(DrivePaths, NewComponentsKeepTheCaseGiven) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    EXPECT_EQ(drive.host("C:\\Picture\\NewClaim\\X.jpg"), drive.root() + "/picture/NewClaim/X.jpg");
}

TEST(DrivePaths, PathsLeavingTheDriveAreRefused) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    const struct {
        const char* path;
        const char* message;
    } cases[] = {
        {"c:\\picture\\..\\..\\etc\\passwd", "Path leaves drive C: c:\\picture\\..\\..\\etc\\passwd"},
        {"c:\\picture\\..\\..\\ab\\x.jpg", "Path leaves drive C: c:\\picture\\..\\..\\ab\\x.jpg"},
        {"..\\outside", "Path leaves drive C: ..\\outside"},
        {"c:\\a\\b:c", "Path leaves drive C: c:\\a\\b:c"},
        {"c:\\picture\\d:\\data", "Path leaves drive C: c:\\picture\\d:\\data"},
        {"d:\\data", "Drive D: is not available"},
        {"\\\\server\\share", "Network paths are not available: \\\\server\\share"},
    };
    for (const auto& c : cases) {
        try {
            platform::drive::toHost(c.path);
            ADD_FAILURE() << "not refused: " << c.path;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), QString(c.message));
        }
    }
    EXPECT_EQ(QDir(drive.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"picture"});
}

TEST(DrivePaths, TheDriveFolderIsKeptAbsoluteAndEmptyBringsTheDefaultBack) {
    TempDrive drive;
    platform::drive::setDriveFolder("relative/drive_c");
    EXPECT_EQ(platform::drive::driveFolder(), QDir::current().absoluteFilePath("relative/drive_c"));
    platform::drive::setDriveFolder(QString());
    EXPECT_EQ(platform::drive::driveFolder(), platform::drive::defaultDriveFolder());
    EXPECT_TRUE(platform::drive::driveFolder().startsWith(QFileInfo(drive.root()).path()))
        << "the default lies in the test's own data folder";
}

TEST(DrivePaths, EverySpellingOfTheSystemsPathsReachesOnePlace) {
    TempDrive drive;
    ASSERT_TRUE(files::createFolder("C:\\Picture"));
    ASSERT_TRUE(files::createFolder("c:\\picture\\transfer"));
    drive.makeFolder("C:\\claim\\db");
    drive.writeFile("c:\\picture\\transfer\\AB123456001.JPG", "x");
    const struct {
        QStringList spellings;
        const char* host;
    } places[] = {
        {{"c:\\picture", "C:\\Picture", "c:\\Picture\\", "C:\\PICTURE"}, "/Picture"},
        {{"c:\\picture\\transfer", "c:\\Picture\\Transfer\\", "C:\\picture\\Transfer\\",
          "C:\\Picture\\Transfer"},
         "/Picture/transfer"},
        {{"C:\\claim\\db", "c:\\Claim\\DB\\", "C:/claim/db"}, "/claim/db"},
        {{"c:\\picture\\transfer\\AB123456001.JPG", "C:\\Picture\\Transfer\\ab123456001.jpg",
          "c:\\Picture\\Transfer\\\\AB123456001.JPG", "C:/picture/TRANSFER/AB123456001.jpg",
          "\\picture\\transfer\\.\\AB123456001.JPG", "c:picture\\transfer\\AB123456001.JPG"},
         "/Picture/transfer/AB123456001.JPG"},
    };
    for (const auto& place : places)
        for (const QString& spelling : place.spellings)
            EXPECT_EQ(drive.host(spelling), drive.root() + place.host) << spelling.toStdString();
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

TEST(DrivePaths, TheDefaultFolderIsMadeWhenMissingAndAChosenOneIsNever) {
    TempDrive drive;
    const QString chosenMissing = QFileInfo(drive.root()).path() + "/unplugged/drive_c";
    const QString chosenFile = QFileInfo(drive.root()).path() + "/a_file";
    drive.writeFile(chosenFile, "not a folder");
    ASSERT_FALSE(QFileInfo::exists(platform::drive::defaultDriveFolder()));
    const struct {
        QString chosen; // empty: the default folder
        bool made;
        QString message;
    } cases[] = {
        {QString(), true, QString()},
        {drive.root(), true, QString()},
        {chosenMissing, false, "Drive C: is not available: the folder " + chosenMissing + " does not exist"},
        {chosenFile, false, "Drive C: is not available: the folder " + chosenFile + " does not exist"},
    };
    for (const auto& c : cases) {
        platform::drive::setDriveFolder(c.chosen);
        const QString folder = platform::drive::driveFolder();
        try {
            platform::drive::prepareDriveFolder();
            EXPECT_TRUE(c.message.isEmpty()) << "not refused: " << folder.toStdString();
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(QFileInfo(folder).isDir(), c.made) << folder.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(chosenMissing).path())) << "no parent made either";

    // A default folder that cannot be made is reported too.
    platform::drive::setDriveFolder(QString());
    const QString defaultFolder = platform::drive::driveFolder();
    QDir(defaultFolder).removeRecursively();
    QFile blocker(defaultFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        platform::drive::prepareDriveFolder();
        ADD_FAILURE() << "a file in the default folder's place was taken for it";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.message(), "Drive C: is not available: the folder " + defaultFolder + " cannot be made");
    }
}
