#include "ProgramFixture.h"

#include "app/ProgramState.h"
#include "app/ui/PictureU.h"
#include "platform/Files.h"
#include "register/SearchStatement.h"
#include "register/ui/DateBox.h"
#include "register/ui/RegisterGridModel.h"
#include "register/ui/RegisterPage.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace files = platform::files;
using platform::BoxKind;

TEST_F(ProgramTest, StartUpOpensTheRegisterAndNamesTheDay) {
    setSetting(settings::GarageNameValue, "Garage");
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    TPicture* picture = program.picture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
    RegisterPage* page = picture->registerPage;
    EXPECT_EQ(picture->pageControl->widget(2), page);
    EXPECT_EQ(picture->pageControl->tabText(2), "รายงานรถยนต์ค้าง");
    EXPECT_EQ(page->objectName(), "TabSheet3");
    EXPECT_TRUE(picture->registerTables.VorlexT.isOpen());
    EXPECT_FALSE(picture->registerTables.VorlexQ2.isOpen());
    EXPECT_EQ(page->titleLine->text(), reg::titleLine(QDate::currentDate(), QLocale()));
    EXPECT_TRUE(page->titleLine->text().startsWith("รายงานรถยนต์คงค้างประจำวันที่ "));
    EXPECT_EQ(page->searchDateEdit->date(), QDate::currentDate());
    EXPECT_GE(page->statusList->count(), 1) << "the status list is filled from Status.DB";
    EXPECT_TRUE(files::folderExists("c:\\picture\\transfer"));

    // Run again (Refresh): the search result goes, a pending entry stays as typed.
    page->BitBtn9Click();
    EXPECT_TRUE(picture->registerTables.VorlexQ2.isOpen());
    page->BitBtn5Click();
    page->claimNumberEdit->setText("AB123456");
    page->searchDateEdit->setText("01/01/2020");
    picture->FormCreate();
    EXPECT_FALSE(picture->registerTables.VorlexQ2.isOpen());
    EXPECT_EQ(page->resultModel->rowCount(), 0);
    EXPECT_TRUE(page->entryPending());
    EXPECT_EQ(page->claimNumberEdit->text(), "AB123456");
    EXPECT_EQ(page->searchDateEdit->date(), QDate::currentDate());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ProgramTest, WithoutTheRegisterTableTheWindowOpensWithoutTheLaterSteps) {
    QDir(drive.host("c:\\claim\\db")).removeRecursively();
    setSetting(settings::GarageNameValue, "Garage");
    program::setGarageName(QString());
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    ASSERT_NE(program.picture(), nullptr) << "the main window still opens";
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().kind, BoxKind::Error);
    EXPECT_TRUE(boxes.last().text.contains("Vorlex.DB")) << boxes.last().text.toStdString();
    RegisterPage* page = program.picture()->registerPage;
    EXPECT_EQ(page->titleLine->text(), "") << "step 3 is skipped";
    EXPECT_TRUE(page->searchDateEdit->isBlank()) << "step 4 is skipped";
    EXPECT_FALSE(files::folderExists("c:\\picture")) << "the working folders are not made";
    EXPECT_EQ(program::garageName(), "") << "GarageName is not read";

    boxes.clear();
    page->BitBtn5Click();
    EXPECT_FALSE(page->entryPending()) << "no entry starts on a table that is not open";
    EXPECT_EQ(boxes.count(), 1);
}
