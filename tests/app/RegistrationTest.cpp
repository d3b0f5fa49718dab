#include "ProgramFixture.h"

#include "app/ProgramState.h"
#include "app/ui/PictureU.h"
#include "app/ui/RegisterFU.h"
#include "platform/Files.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace files = platform::files;
using platform::BoxKind;

namespace {

// What the test saw while the main window ran modally over the registration window.
struct SeenDuringModalRun {
    bool pictureShown = false;
    bool registrationVisible = false;
    bool registrationEnabled = true;
    QString garageName;
    bool pictureFolderMade = false;
    bool transferFolderMade = false;
};

} // namespace

TEST_F(ProgramTest, TheRegistrationWindowAsksForTheGaragesName) {
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    TRegisterf* registration = program.registration();
    ASSERT_NE(registration, nullptr);
    EXPECT_EQ(registration->windowTitle(), "บริษัท Qorvane จำกัด");
    EXPECT_EQ(registration->size(), QSize(224, 91));
    EXPECT_EQ(registration->minimumSize(), registration->maximumSize()) << "a fixed border";
    const Qt::WindowFlags flags = registration->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & (Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint))
        << "no title-bar buttons";
    EXPECT_EQ(registration->Label1->text(), "อู่ออนไลน์");
    EXPECT_EQ(registration->Label1->pos(), QPoint(19, 23));
    EXPECT_EQ(registration->Edit1->geometry().topLeft(), QPoint(71, 23));
    EXPECT_EQ(registration->Edit1->width(), 134);
    EXPECT_EQ(registration->Edit1->maxLength(), 32767) << "no limit of our own";
    EXPECT_EQ(registration->Button1->text(), "ลงทะเบียน");
    EXPECT_EQ(registration->Button1->pos(), QPoint(77, 58));
}

TEST_F(ProgramTest, RegisteringStoresTheNameAsTypedAndRunsTheMainWindowModally) {
    const char* names[] = {"", "  Garage One  ", "อู่ช่างเอก", "Auto\tRepair"};
    for (const char* typed : names) {
        const QString name = QString::fromUtf8(typed);
        TempDrive fresh;
        reg::install::run();
        boxes.clear();
        SeenDuringModalRun seen;
        {
            Program program(noSplashWait());
            ASSERT_TRUE(program.start());
            TRegisterf* registration = program.registration();
            ASSERT_NE(registration, nullptr);
            watchdog();
            when([&] { return registration->isVisible(); },
                 [&] {
                     registration->Edit1->setText(name);
                     QTest::mouseClick(registration->Button1, Qt::LeftButton);
                 });
            when([&] { return dynamic_cast<TPicture*>(QApplication::activeModalWidget()) != nullptr; },
                 [&] {
                     auto* picture = static_cast<TPicture*>(QApplication::activeModalWidget());
                     seen.pictureShown = picture->isVisible();
                     seen.registrationVisible = registration->isVisible();
                     seen.registrationEnabled = registration->isEnabled();
                     seen.garageName = program::garageName();
                     seen.pictureFolderMade = files::folderExists("c:\\picture");
                     seen.transferFolderMade = files::folderExists("c:\\picture\\transfer");
                     picture->close();
                 });
            EXPECT_EQ(program.exec(), 0) << "closing the main window ends the program";
            EXPECT_FALSE(registration->isVisible()) << "the registration window does not come back";
        }
        EXPECT_TRUE(seen.pictureShown);
        EXPECT_TRUE(seen.registrationVisible);
        EXPECT_FALSE(seen.registrationEnabled);
        EXPECT_EQ(seen.garageName, name) << "the main window reads the name just written";
        EXPECT_TRUE(seen.pictureFolderMade);
        EXPECT_TRUE(seen.transferFolderMade);
        ASSERT_EQ(boxes.count(), 1) << boxes.texts().join('\n').toStdString();
        EXPECT_EQ(boxes.last().kind, BoxKind::Plain);
        EXPECT_EQ(boxes.last().text, "ลงทะเบียนเรียบร้อย");
        EXPECT_EQ(boxes.last().buttons, QList{platform::BoxButton::Ok});
        EXPECT_EQ(setting(settings::GarageNameValue).toString(), name);

        Program next(noSplashWait());
        ASSERT_TRUE(next.start());
        EXPECT_EQ(next.registration() != nullptr, name.isEmpty()) << typed;
        EXPECT_EQ(next.picture() != nullptr, !name.isEmpty()) << typed;
        if (next.picture()) {
            EXPECT_EQ(program::garageName(), name);
        }
    }
}

TEST_F(ProgramTest, AFailedWriteLeavesTheRegistrationWindowOpenAndDoesNothingElse) {
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    TRegisterf* registration = program.registration();
    ASSERT_NE(registration, nullptr);
    ASSERT_TRUE(QFile::remove(platform::Registry::location(settings::Key)));
    registration->Edit1->setText("Garage");
    QTest::mouseClick(registration->Button1, Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(boxes.last().caption, "Test_app");
    EXPECT_EQ(boxes.last().text, "Failed to set data for 'Garage Name'");
    EXPECT_FALSE(files::folderExists("c:\\picture"));
    EXPECT_FALSE(keyExists()) << "the key is not made again";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The registration window is still there and works once the key is back.
    watchdog();
    when([&] { return registration->isVisible(); },
         [&] {
             platform::Registry().openKey(settings::Key, true);
             QTest::mouseClick(registration->Button1, Qt::LeftButton);
         });
    when([&] { return dynamic_cast<TPicture*>(QApplication::activeModalWidget()) != nullptr; },
         [&] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(program.exec(), 0);
    EXPECT_EQ(setting(settings::GarageNameValue).toString(), "Garage");
}
