#include "ProgramFixture.h"

#include "app/ProgramState.h"
#include "app/ui/ConnectU.h"
#include "app/ui/PictureU.h"
#include "app/ui/RegisterFU.h"
#include "filing/ui/NewPicturesPage.h"
#include "platform/DrivePaths.h"
#include "platform/Files.h"
#include "register/ui/RegisterPage.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/ZipfU.h"
#include "viewer/ui/OldPicturesPage.h"
#include "viewer/ui/PreviewU.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>

namespace files = platform::files;
using platform::BoxKind;

namespace {
const QStringList HiddenWindows{"TPreview", "TCopyf", "TConnect", "TZipf"};

// A start that ends at once: no window is made and one error box shows `text`.
void expectStartRefused(const ScriptedMessages& boxes, const QString& text) {
    Program program(Program::Options{0});
    EXPECT_FALSE(program.start());
    EXPECT_EQ(program.mainWindow(), nullptr);
    EXPECT_EQ(program.preview(), nullptr);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(boxes.last().caption, "Test_app");
    EXPECT_EQ(boxes.last().text, text);
}

} // namespace

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
    EXPECT_EQ(picture->objectName(), "Picture");
    QTabWidget* pages = picture->findChild<QTabWidget*>("PageControl1");
    ASSERT_EQ(pages, picture->pageControl);
    ASSERT_EQ(pages->count(), 3);
    const QWidget* sheets[] = {picture->newPicturesPage, picture->oldPicturesPage, picture->registerPage};
    const char* captions[] = {"รูปภาพใหม่", "รูปภาพเก่า", "รายงานรถยนต์ค้าง"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(pages->widget(i), sheets[i]);
        EXPECT_EQ(sheets[i]->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }

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
            shownPage = picture->pageControl->currentIndex();
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
    for (const char* existing : {(const char*)nullptr, "c:\\picture", "C:\\Picture\\Transfer"}) {
        TempDrive fresh;
        reg::install::run();
        setSetting(settings::GarageNameValue, "Garage");
        if (existing) fresh.makeFolder(existing);
        Program program(noSplashWait());
        ASSERT_TRUE(program.start());
        ASSERT_NE(program.picture(), nullptr);
        EXPECT_TRUE(files::folderExists("c:\\picture"));
        EXPECT_TRUE(files::folderExists("c:\\picture\\transfer"));
        EXPECT_EQ(program::garageName(), "Garage");
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
}

TEST_F(ProgramTest, TheDefaultDriveFolderIsMadeAtStartWhenMissing) {
    setSetting(settings::GarageNameValue, "Garage");
    platform::drive::setDriveFolder(QString());
    const QString folder = platform::drive::defaultDriveFolder();
    ASSERT_FALSE(QFileInfo::exists(folder));
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(QDir(folder).exists());
    // A new drive holds no register tables yet: the start-up steps stop at the register, with its
    // message, before the working folders.
    ASSERT_EQ(boxes.count(), 1) << boxes.texts().join('\n').toStdString();
    EXPECT_TRUE(boxes.last().text.contains("Vorlex.DB")) << boxes.last().text.toStdString();
    EXPECT_NE(program.picture(), nullptr);
}

// A chosen drive folder that is gone (an unplugged disk, a mistyped setting) ends the program with an
// error box naming it, before any window: nothing is filed on a new empty drive in its place.
TEST_F(ProgramTest, AChosenDriveFolderThatIsMissingEndsTheStartWithAnErrorBox) {
    QTemporaryDir other;
    const QString unplugged = other.path() + "/unplugged/drive_c";
    const struct {
        bool bySetting;
        const char* garage;
    } cases[] = {{true, "Garage"}, {false, "Garage"}, {true, ""}};
    for (const auto& c : cases) {
        TempDrive fresh;
        boxes.clear();
        setSetting(settings::GarageNameValue, c.garage);
        if (c.bySetting)
            setSetting(settings::DriveCValue, unplugged);
        else
            QDir(fresh.root()).removeRecursively();
        const QString folder = c.bySetting ? unplugged : fresh.root();
        SCOPED_TRACE(folder.toStdString());
        expectStartRefused(boxes, platform::errorBoxText("Drive C: is not available: the folder " + folder +
                                                         " does not exist"));
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
    EXPECT_FALSE(QFileInfo::exists(other.path() + "/unplugged"));
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
        SCOPED_TRACE(c.name.toStdString());
        expectStartRefused(boxes, QString("Invalid data type for '%1'").arg(c.name));
    }
}

TEST_F(ProgramTest, TheDriveSettingChoosesTheFolderThatStandsForDriveC) {
    QTemporaryDir other;
    const QString elsewhere = other.path() + "/drive_c";
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    setSetting(settings::GarageNameValue, "Garage");
    setSetting(settings::DriveCValue, elsewhere);
    ASSERT_EQ(runProgram(QStringLiteral(VORLEX_CLI), {"--drive-c", elsewhere, "install"}), 0);
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    EXPECT_EQ(platform::drive::driveFolder(), elsewhere);
    EXPECT_TRUE(QDir(elsewhere + "/picture/transfer").exists());
    EXPECT_FALSE(QDir(drive.root() + "/picture").exists());
}
