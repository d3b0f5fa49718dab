#include "ProgramFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int exitCode;
    QString output;
};

CliRun cli(const QStringList& args) {
    QByteArray out;
    const int rc = runProgram(QStringLiteral(VORLEX_CLI), args, &out);
    return {rc, QString::fromUtf8(out)};
}

QString pathsOutput(const QString& driveFolder) {
    return QString("DriveC %1\nPictureRoot %1/picture\nTransferFolder %1/picture/transfer\n"
                   "TableFolder %1/claim/db\n")
        .arg(driveFolder);
}

} // namespace

TEST_F(ProgramTest, CliPathsFollowsTheDriveSettingUnlessToldOtherwise) {
    QTemporaryDir settingFolder, optionFolder;
    const QString defaultFolder = QFileInfo(drive.settingsFolder()).path() + "/xdg-data/Vorlex/drive_c";
    EXPECT_EQ(cli({"paths"}).output, pathsOutput(defaultFolder)) << "no setting: the application data folder";
    EXPECT_FALSE(keyExists()) << "reading the setting does not make the key";

    setSetting(settings::DriveCValue, settingFolder.path());
    const CliRun bySetting = cli({"paths"});
    EXPECT_EQ(bySetting.exitCode, 0);
    EXPECT_EQ(bySetting.output, pathsOutput(settingFolder.path()));
    EXPECT_EQ(cli({"--drive-c", optionFolder.path(), "paths"}).output, pathsOutput(optionFolder.path()));

    QDir(settingFolder.path()).mkpath("Picture/Transfer");
    EXPECT_EQ(cli({"paths"}).output.section('\n', 1, 2),
              QString("PictureRoot %1/Picture\nTransferFolder %1/Picture/Transfer").arg(settingFolder.path()))
        << "existing folders in their own spelling";
}

TEST_F(ProgramTest, CliRefusesADriveSettingOfAnotherTypeUnlessGivenAFolder) {
    setSetting(settings::DriveCValue, QStringList{"/a", "/b"});
    const CliRun run = cli({"paths"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("Invalid data type for 'Drive C'")) << run.output.toStdString();
    QTemporaryDir optionFolder;
    const CliRun told = cli({"--drive-c", optionFolder.path(), "paths"});
    EXPECT_EQ(told.exitCode, 0) << "a folder given on the command line needs no setting";
    EXPECT_EQ(told.output, pathsOutput(optionFolder.path()));
}

TEST_F(ProgramTest, CliMakesTheDefaultDriveFolderAndRefusesAChosenOneThatIsMissing) {
    const QString defaultFolder = QFileInfo(drive.settingsFolder()).path() + "/xdg-data/Vorlex/drive_c";
    ASSERT_FALSE(QFileInfo::exists(defaultFolder));
    const QStringList zipArgs{"zip", "add", "c:\\picture\\transfer\\AB123456.Zip", "c:\\picture\\none.gif"};
    EXPECT_EQ(cli({"paths"}).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(defaultFolder)) << "paths only tells where the places are";
    cli(zipArgs);
    EXPECT_TRUE(QFileInfo(defaultFolder).isDir());

    QTemporaryDir other;
    const QString unplugged = other.path() + "/unplugged";
    const QString refusal = "Drive C: is not available: the folder " + unplugged + " does not exist\n";
    const CliRun byOption = cli(QStringList{"--drive-c", unplugged} + zipArgs);
    EXPECT_EQ(byOption.exitCode, 1);
    EXPECT_EQ(byOption.output, refusal);
    setSetting(settings::DriveCValue, unplugged);
    const CliRun bySetting = cli(zipArgs);
    EXPECT_EQ(bySetting.exitCode, 1);
    EXPECT_EQ(bySetting.output, refusal);
    EXPECT_FALSE(QFileInfo::exists(unplugged));
}
