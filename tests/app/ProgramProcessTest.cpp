#include "ProgramFixture.h"

#include "platform/Files.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace files = platform::files;

// The program as the user starts it: its splash wait, the settings it finds and the folders it makes.
TEST_F(ProgramTest, TheProgramFindsItsDriveInTheSettingsAndMakesTheKeyAndFolders) {
    QTemporaryDir elsewhere;
    setSetting(settings::DriveCValue, elsewhere.path());
    setSetting(settings::GarageNameValue, "Garage");
    ASSERT_EQ(runProgram(QStringLiteral(VORLEX_CLI), {"--drive-c", elsewhere.path(), "install"}), 0);
    QProcess vorlex;
    vorlex.setProcessChannelMode(QProcess::MergedChannels);
    vorlex.start(QStringLiteral(VORLEX_PROGRAM), {});
    ASSERT_TRUE(vorlex.waitForStarted(10000));
    const QString transfer = elsewhere.path() + "/picture/transfer";
    QDeadlineTimer deadline(60000);
    while (!QFileInfo(transfer).isDir() && !deadline.hasExpired() && vorlex.state() == QProcess::Running)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo(transfer).isDir()) << vorlex.readAll().toStdString();
    EXPECT_EQ(vorlex.state(), QProcess::Running) << "the main window stays open";
    vorlex.kill();
    vorlex.waitForFinished();
    EXPECT_FALSE(QFileInfo::exists(drive.root() + "/picture")) << "the test's own drive is not used";
}
