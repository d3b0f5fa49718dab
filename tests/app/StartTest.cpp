#include "ProgramFixture.h"

#include "app/ProgramState.h"
#include "app/ui/ConnectU.h"
#include "app/ui/RegisterFU.h"
#include "filing/ui/PictureU.h"
#include "platform/DrivePaths.h"
#include "platform/Files.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/ZipfU.h"
#include "viewer/ui/PreviewU.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTemporaryDir>

namespace files = platform::files;
using platform::BoxKind;

namespace {
const QStringList HiddenWindows{"TPreview", "TCopyf", "TConnect", "TZipf"};
}

TEST_F(ProgramTest, FirstStartCreatesTheKeyAndMakesTheRegistrationWindowTheMainWindow) {
    ASSERT_FALSE(keyExists());
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(keyExists());
    EXPECT_FALSE(setting(settings::GarageNameValue).isValid()) << "the key is created empty";
    EXPECT_EQ(program.mainWindow(), program.registration());
    EXPECT_EQ(program.picture(), nullptr);
    EXPECT_EQ(program.createdWindows(), QStringList{"TRegisterf"} + HiddenWindows);
    for (QWidget* hidden :
         {static_cast<QWidget*>(program.preview()), static_cast<QWidget*>(program.copyf()),
          static_cast<QWidget*>(program.connectWindow()), static_cast<QWidget*>(program.zipf())})
        EXPECT_FALSE(hidden->isVisible()) << hidden->metaObject()->className();
    EXPECT_FALSE(files::folderExists("c:\\picture")) << "nothing is made before registering";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ProgramTest, AnEmptyOrMissingNameMeansNotRegistered) {
    for (const QVariant& name : {QVariant(), QVariant(QString())}) {
        TempDrive fresh;
        if (name.isValid()) setSetting(settings::GarageNameValue, name);
        Program program(noSplashWait());
        ASSERT_TRUE(program.start());
        EXPECT_NE(program.registration(), nullptr);
        EXPECT_EQ(program.picture(), nullptr);
    }
}

TEST_F(ProgramTest, RegisteredStartMakesTheMainWindowAndNeverTheRegistrationWindow) {
    setSetting(settings::GarageNameValue, " Garage One ");
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    EXPECT_EQ(program.registration(), nullptr);
    ASSERT_NE(program.picture(), nullptr);
    EXPECT_EQ(program.mainWindow(), program.picture());
    EXPECT_EQ(program.createdWindows(), QStringList{"TPicture"} + HiddenWindows);
    EXPECT_EQ(program::garageName(), " Garage One ");
    EXPECT_EQ(program::shortDateFormat(), "dd/MM/yyyy");
    EXPECT_EQ(program::formatShortDate(QDate(2024, 3, 7)), "07/03/2024");
    EXPECT_TRUE(files::folderExists("c:\\picture\\transfer"));
    EXPECT_FALSE(program.picture()->isVisible()) << "the event loop shows it";
}

TEST_F(ProgramTest, TheMainWindowHasItsCaptionFrameAndThreePages) {
    setSetting(settings::GarageNameValue, "Garage");
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    TPicture* picture = program.picture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->windowTitle(), "บริษัท Qorvane จำกัด");
    const Qt::WindowFlags flags = picture->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(picture->minimumSize(), picture->maximumSize()) << "the frame is sizeable";
    ASSERT_EQ(picture->PageControl1->count(), 3);
    EXPECT_EQ(picture->PageControl1->tabText(0), "รูปภาพใหม่");
    EXPECT_EQ(picture->PageControl1->tabText(1), "รูปภาพเก่า");
    EXPECT_EQ(picture->PageControl1->tabText(2), "รายงานรถยนต์ค้าง");
    EXPECT_EQ(picture->PageControl1->widget(0), picture->TabSheet1);
    EXPECT_EQ(picture->PageControl1->widget(1), picture->TabSheet2);
    EXPECT_EQ(picture->PageControl1->widget(2), picture->TabSheet3);

    watchdog();
    QRect frameWhenShown;
    int shownPage = -1;
    QElapsedTimer sinceShown;
    sinceShown.start();
    // The frame is known only once the window shows; give the window system a moment to settle it.
    when(
        [&] {
            return picture->isVisible() &&
                   (picture->frameGeometry().size() == QSize(808, 580) || sinceShown.elapsed() > 3000);
        },
        [&] {
            frameWhenShown = picture->frameGeometry();
            shownPage = picture->PageControl1->currentIndex();
            picture->close();
        });
    EXPECT_EQ(program.exec(), 0);
    EXPECT_EQ(frameWhenShown.size(), QSize(808, 580));
    // The offscreen platform moves a window once more by its own frame's width after placing it.
    EXPECT_LE((frameWhenShown.topLeft() - QPoint(-4, -4)).manhattanLength(), 4) << frameWhenShown.x();
    EXPECT_EQ(shownPage, 0);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
}

TEST_F(ProgramTest, WorkingFoldersExistAfterARegisteredStartEvenWhenDeletedBefore) {
    const struct {
        const char* existing;
        bool driveExists;
        bool made;
    } cases[] = {{nullptr, true, true},
                 {"c:\\picture", true, true},
                 {"C:\\Picture\\Transfer", true, true},
                 {nullptr, false, false}};
    for (const auto& c : cases) {
        TempDrive fresh;
        setSetting(settings::GarageNameValue, "Garage");
        if (c.existing) fresh.makeFolder(c.existing);
        if (!c.driveExists) QDir(fresh.root()).removeRecursively();
        Program program(noSplashWait());
        ASSERT_TRUE(program.start());
        ASSERT_NE(program.picture(), nullptr);
        EXPECT_EQ(files::folderExists("c:\\picture"), c.made);
        EXPECT_EQ(files::folderExists("c:\\picture\\transfer"), c.made);
        EXPECT_EQ(program::garageName(), "Garage") << "a missing folder stops nothing";
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
}

TEST_F(ProgramTest, ClosingTheMainWindowEndsTheProgram) {
    setSetting(settings::GarageNameValue, "Garage");
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    watchdog();
    when([&] { return program.picture()->isVisible(); }, [&] { program.picture()->close(); });
    EXPECT_EQ(program.exec(), 0);
    EXPECT_FALSE(program.picture()->isVisible());
}

TEST_F(ProgramTest, AValueOfAnotherTypeEndsTheProgramWithAnErrorBoxBeforeAnyWindow) {
    const struct {
        QString name;
        QVariant value;
    } cases[] = {
        {settings::GarageNameValue, QStringList{"one", "two"}},
        {settings::GarageNameValue, QByteArray("\x01\x02", 2)},
        {settings::DriveCValue, QStringList{"/a", "/b"}},
    };
    for (const auto& c : cases) {
        TempDrive fresh;
        boxes.clear();
        setSetting(c.name, c.value);
        Program program(noSplashWait());
        EXPECT_FALSE(program.start());
        EXPECT_EQ(program.mainWindow(), nullptr);
        EXPECT_EQ(program.preview(), nullptr);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().kind, BoxKind::Error);
        EXPECT_EQ(boxes.last().caption, "Test_app");
        EXPECT_EQ(boxes.last().text, QString("Invalid data type for '%1'").arg(c.name));
    }
}

TEST_F(ProgramTest, TheDriveSettingChoosesTheFolderThatStandsForDriveC) {
    QTemporaryDir other;
    const QString elsewhere = other.path() + "/drive_c";
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    setSetting(settings::GarageNameValue, "Garage");
    setSetting(settings::DriveCValue, elsewhere);
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    EXPECT_EQ(platform::drive::driveFolder(), elsewhere);
    EXPECT_TRUE(QDir(elsewhere + "/picture/transfer").exists());
    EXPECT_FALSE(QDir(drive.root() + "/picture").exists());
}
