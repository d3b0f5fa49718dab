#include "register/ui/RegisterPage.h"
#include "register/GridColumns.h"
#include "register/Schema.h"
#include "register/TablesAccess.h"
#include "register/ui/DateBox.h"
#include "register/ui/RegisterGridModel.h"
#include "tests/register/RegisterFixture.h"
#include "tests/support/ScriptedMessages.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>

using platform::BoxKind;

namespace {

const QString Repairing = QStringLiteral("กำลังซ่อม");
const QString Finished = QStringLiteral("ซ่อมเสร็จ");

struct Typed {
    QString claim, garageDate, brand, regno, garage, status;
};

} // namespace

// The outstanding-cars page over installed tables in a drive of the test's own, its boxes answered by
// the scripted message service.
class RegisterPageTest : public RegisterTest {
protected:
    void SetUp() override {
        RegisterTest::SetUp();
        makePage();
    }
    void makePage() {
        page.reset();
        access.reset();
        tables().VorlexT.open();
        access = std::make_unique<reg::TablesAccess>(tables());
        page = std::make_unique<RegisterPage>(*access);
        page->setClock([this] { return today; });
        page->setDay(today);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    }

    void type(const Typed& t) {
        page->claimNumberEdit->setText(t.claim);
        page->garageDateEdit->setText(t.garageDate);
        page->brandEdit->setText(t.brand);
        page->regnoEdit->setText(t.regno);
        page->garageEdit->setText(t.garage);
        if (!t.status.isEmpty()) choose(t.status);
    }
    void choose(const QString& status) {
        const int index = page->statusList->findText(status);
        ASSERT_GE(index, 0) << status.toStdString();
        emit page->statusList->activated(index);
    }
    Typed complete(const QString& claim) const {
        return {claim, "01/12/2026", "TOYOTA", "กข 1234", "อู่ช่างเอก", Repairing};
    }
    // Create, type, Save.
    void enter(const Typed& t) {
        page->BitBtn5Click();
        type(t);
        page->BitBtn6Click();
    }
    // The rows stored for a claim, read through tables of their own so that the page's query stays as it is.
    QList<reg::RegisterRow> storedRows(const QString& claim) {
        reg::RegisterTables reader;
        reader.VorlexQ2.setLines({"select * from vorlex", "where claimno=:prm"});
        reader.VorlexQ2.setParameter(claim);
        reader.VorlexQ2.open();
        QList<reg::RegisterRow> rows;
        for (int i = 0; i < reader.VorlexQ2.rowCount(); ++i)
            rows << reader.VorlexQ2.registerRow(i);
        std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.seq < b.seq; });
        return rows;
    }
    QStringList gridClaims() const {
        QStringList claims;
        for (const reg::RegisterRow& r : page->resultModel->rows())
            claims << r.claimno + "/" + QString::number(r.seq);
        return claims;
    }
    void doubleClickRow(int row) {
        page->resultGrid->setCurrentIndex(page->resultModel->index(row, 0));
        page->DBGrid1DblClick();
    }

    QDate today{2026, 12, 11};
    ScriptedMessages boxes;
    std::unique_ptr<reg::TablesAccess> access;
    std::unique_ptr<RegisterPage> page;
};

TEST_F(RegisterPageTest, ControlsCarryTheirNamesCaptionsAndLimits) {
    EXPECT_EQ(page->objectName(), "TabSheet3");
    for (const char* name :
         {"DBEdit1", "DBDateEdit2", "DBEdit2", "DBEdit3", "DBEdit4", "DBLookupComboBox1", "BitBtn5",
          "BitBtn6", "C0", "C1", "C2", "DateEdit1", "Edit2", "BitBtn9", "DBGrid1"})
        EXPECT_NE(page->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(page->claimNumberEdit->maxLength(), 8);
    EXPECT_EQ(page->brandEdit->maxLength(), 20);
    EXPECT_EQ(page->regnoEdit->maxLength(), 10);
    EXPECT_EQ(page->garageEdit->maxLength(), 30);
    EXPECT_EQ(page->searchClaimEdit->maxLength(), 8);
    EXPECT_EQ(page->statusList->maxVisibleItems(), 9);
    EXPECT_EQ(page->createButton->text(), "สร้าง");
    EXPECT_EQ(page->saveButton->text(), "บันทึก");
    EXPECT_TRUE(page->createButton->isEnabled());
    EXPECT_FALSE(page->saveButton->isEnabled()) << "Save is disabled when the window opens";
    EXPECT_EQ(page->unfinishedMode->text(), "รถที่ยังซ่อมไม่เสร็จ");
    EXPECT_EQ(page->dayMode->text(), "รายงานวันที่");
    EXPECT_EQ(page->claimMode->text(), "เลขรับแจ้ง");
    EXPECT_EQ(page->searchButton->text(), "ค้นหา");
    EXPECT_EQ(page->searchLabel->text(), "การค้นหา");
    EXPECT_TRUE(page->unfinishedMode->isChecked());
    EXPECT_TRUE(page->resultGrid->isEnabled());
    EXPECT_EQ(page->resultModel->rowCount(), 0) << "the grid is empty until the first search";
    EXPECT_EQ(page->titleLine->text(), reg::titleLine(today, QLocale()));
    EXPECT_TRUE(page->titleLine->font().bold());
    EXPECT_TRUE(page->titleLine->font().underline());
    EXPECT_EQ(page->searchDateEdit->date(), today);

    const QList<int> widths = {62, 38, 89, 179, 133, 72, 172};
    const QStringList titles = {"เลขรับแจ้ง", "ครั้งที่", "วันที่รถเข้าอู่", "ชื่ออู่", "ยี่ห้อรถ", "เลขทะเบียน", "สถานะการซ่อม"};
    ASSERT_EQ(page->resultModel->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(page->resultGrid->columnWidth(c), widths[c]) << c;
        EXPECT_EQ(page->resultModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
        EXPECT_EQ(
            page->resultModel->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignCenter);
    }
    EXPECT_EQ(page->resultGrid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(page->resultGrid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(page->resultGrid->focusPolicy() & Qt::TabFocus) << "not a tab stop";
    EXPECT_TRUE(page->resultGrid->verticalHeader()->isVisible()) << "row indicator";
}

TEST_F(RegisterPageTest, ReportsOfAClaimAreNumberedFromOne) {
    enter(complete("AB123456"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().kind, BoxKind::Confirm);
    EXPECT_EQ(boxes.last().text, "Save Complete");
    EXPECT_EQ(boxes.last().buttons, QList<platform::BoxButton>{platform::BoxButton::Ok});
    enter(complete("CD123456"));
    enter(complete("AB123456"));
    EXPECT_EQ(boxes.texts(), QStringList({"Save Complete", "Save Complete", "Save Complete"}));

    const QList<reg::RegisterRow> rows = storedRows("AB123456");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].seq, 1);
    EXPECT_EQ(rows[1].seq, 2);
    for (const reg::RegisterRow& r : rows) {
        EXPECT_EQ(r.reportDate, today);
        EXPECT_FALSE(r.send);
        EXPECT_EQ(r.garageDate, QDate(2026, 12, 1));
        EXPECT_EQ(r.brand, "TOYOTA");
        EXPECT_EQ(r.regno, "กข 1234");
        EXPECT_EQ(r.garage, "อู่ช่างเอก");
        EXPECT_EQ(r.status, Repairing);
        EXPECT_FALSE(r.vorlexDate.isValid()) << "VorlexDate is blank in a row entered by hand";
    }
    EXPECT_EQ(storedRows("CD123456").value(0).seq, 1);
}

TEST_F(RegisterPageTest, ChecksStopSaveWithTheirMessageAndFocus) {
    const struct {
        const char* name;
        void (*spoil)(Typed&);
        QString message;
        const char* focus;
    } cases[] = {
        {"claim", [](Typed& t) { t.claim.clear(); }, "กรุณาป้อนเลขรับแจ้ง", "DBEdit1"},
        {"blank date", [](Typed& t) { t.garageDate = "  /  /  "; }, "กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ.",
         "DBDateEdit2"},
        {"1999", [](Typed& t) { t.garageDate = "31/12/1999"; }, "กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ.", "DBDateEdit2"},
        {"Buddhist era", [](Typed& t) { t.garageDate = "01/12/2569"; }, "กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ.",
         "DBDateEdit2"},
        {"tomorrow", [](Typed& t) { t.garageDate = "12/12/2026"; }, "ห้ามป้อนวันที่รถเข้าอู่ล่วงหน้า", "DBDateEdit2"},
        {"brand", [](Typed& t) { t.brand.clear(); }, "กรุณาป้อนยี่ห้อรถ", "DBEdit2"},
        {"regno", [](Typed& t) { t.regno.clear(); }, "กรุณาป้อนเลขทะเบียนรถ", "DBEdit3"},
        {"garage", [](Typed& t) { t.garage.clear(); }, "กรุณาป้อนชื่ออู่", "DBEdit4"},
        {"status", [](Typed& t) { t.status.clear(); }, "กรุณาป้อนเลือกสถานะการซ่อม", "DBLookupComboBox1"},
    };
    for (const auto& c : cases) {
        makePage();
        boxes.clear();
        Typed t = complete("AB123456");
        c.spoil(t);
        page->BitBtn5Click();
        type(t);
        page->BitBtn6Click();
        ASSERT_EQ(boxes.count(), 1) << c.name;
        EXPECT_EQ(boxes.last().kind, BoxKind::Error) << c.name;
        EXPECT_EQ(boxes.last().text, c.message) << c.name;
        QWidget* focused = page->focusWidget();
        QWidget* expected = page->findChild<QWidget*>(c.focus);
        EXPECT_TRUE(focused == expected || (focused && expected->isAncestorOf(focused))) << c.name;
        EXPECT_TRUE(page->entryPending()) << c.name;
        EXPECT_FALSE(page->createButton->isEnabled()) << c.name;
        EXPECT_TRUE(page->saveButton->isEnabled()) << c.name;
        EXPECT_EQ(page->claimNumberEdit->text(), t.claim) << "the entry stays as typed: " << c.name;
        EXPECT_TRUE(storedRows("AB123456").isEmpty()) << c.name;
    }
}

TEST_F(RegisterPageTest, GarageDatesOfTodayAndOfThisCenturyPass) {
    for (const char* date : {"11/12/2026", "01/01/2000"}) {
        Typed t = complete("AB123456");
        t.garageDate = date;
        enter(t);
        EXPECT_EQ(boxes.last().text, "Save Complete") << date;
    }
    EXPECT_EQ(storedRows("AB123456").size(), 2);
}

TEST_F(RegisterPageTest, AfterSaveTheBoxesAreEnabledEmptyAndTheListSearchedAgain) {
    store(row("EF123456", 1));
    page->BitBtn9Click();
    ASSERT_EQ(gridClaims(), QStringList{"EF123456/1"});
    doubleClickRow(0);
    EXPECT_FALSE(page->claimNumberEdit->isEnabled());
    choose(Repairing);
    page->BitBtn6Click();
    EXPECT_EQ(boxes.texts(), QStringList{"Save Complete"});
    for (QWidget* box : {static_cast<QWidget*>(page->claimNumberEdit),
                         static_cast<QWidget*>(page->garageDateEdit), static_cast<QWidget*>(page->brandEdit),
                         static_cast<QWidget*>(page->regnoEdit), static_cast<QWidget*>(page->garageEdit)})
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_EQ(page->claimNumberEdit->text(), "");
    EXPECT_TRUE(page->garageDateEdit->isBlank());
    EXPECT_EQ(page->statusList->currentText(), "");
    EXPECT_FALSE(page->entryPending());
    EXPECT_TRUE(page->createButton->isEnabled());
    EXPECT_FALSE(page->saveButton->isEnabled());
    EXPECT_EQ(gridClaims(), QStringList({"EF123456/1", "EF123456/2"})) << "the list was searched again";
}

TEST_F(RegisterPageTest, AFollowUpCopiesTheListedRowAndTakesTheNextSeq) {
    reg::RegisterRow listed = row("GH123456", 1);
    listed.vorlexDate = QDate(); // blank, as in every row entered by hand
    listed.garageDate = QDate(2026, 11, 30);
    store(listed);
    reg::RegisterRow carried = row("JK123456", 1);
    carried.vorlexDate = QDate(2026, 10, 1);
    store(carried);
    page->BitBtn9Click();
    ASSERT_EQ(page->resultModel->rowCount(), 2);
    const int at = page->resultModel->rows().indexOf(listed);
    ASSERT_GE(at, 0);

    doubleClickRow(at);
    EXPECT_TRUE(page->entryPending());
    EXPECT_EQ(page->claimNumberEdit->text(), "GH123456");
    EXPECT_EQ(page->garageDateEdit->text(), "30/11/2026");
    EXPECT_EQ(page->brandEdit->text(), listed.brand);
    EXPECT_EQ(page->regnoEdit->text(), listed.regno);
    EXPECT_EQ(page->garageEdit->text(), listed.garage);
    EXPECT_EQ(page->statusList->currentText(), "") << "the status is not copied";
    for (QWidget* box : {static_cast<QWidget*>(page->claimNumberEdit),
                         static_cast<QWidget*>(page->garageDateEdit), static_cast<QWidget*>(page->brandEdit),
                         static_cast<QWidget*>(page->regnoEdit), static_cast<QWidget*>(page->garageEdit)})
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_EQ(page->focusWidget(), page->statusList);
    EXPECT_FALSE(page->createButton->isEnabled());
    choose(Finished);
    page->BitBtn6Click();
    EXPECT_EQ(boxes.texts(), QStringList{"Save Complete"});

    const QList<reg::RegisterRow> rows = storedRows("GH123456");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], listed) << "the listed row is unchanged";
    reg::RegisterRow expected = listed;
    expected.seq = 2;
    expected.status = Finished;
    expected.reportDate = today;
    expected.vorlexDate = QDate(1899, 12, 30);
    EXPECT_EQ(rows[1], expected) << "a blank VorlexDate arrives as 30 December 1899";
    EXPECT_EQ(gridClaims(), QStringList{"JK123456/1"}) << "the finished claim leaves the unfinished list";

    doubleClickRow(0);
    choose(Repairing);
    page->BitBtn6Click();
    EXPECT_EQ(storedRows("JK123456").value(1).vorlexDate, QDate(2026, 10, 1)) << "VorlexDate is carried";
}

TEST_F(RegisterPageTest, AFollowUpOfARowWithABlankGarageDateOpensTheDateBoxForTheFix) {
    reg::RegisterRow listed = row("GH123456", 1);
    listed.garageDate = QDate();
    store(listed);
    page->BitBtn9Click();
    doubleClickRow(0);
    EXPECT_EQ(page->garageDateEdit->text(), "30/12/1899") << "a blank date copied arrives as day zero";
    choose(Repairing);
    page->BitBtn6Click();
    EXPECT_EQ(boxes.texts(), QStringList{"กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ."});
    EXPECT_TRUE(page->garageDateEdit->isEnabled()) << "the box that failed its check can be corrected";
    EXPECT_FALSE(page->brandEdit->isEnabled());
    page->garageDateEdit->setText("30/11/2026");
    page->BitBtn6Click();
    EXPECT_EQ(boxes.last().text, "Save Complete");
    EXPECT_EQ(storedRows("GH123456").value(1).garageDate, QDate(2026, 11, 30));
}

TEST_F(RegisterPageTest, ADoubleClickOnAnEmptyGridStartsNothing) {
    page->BitBtn9Click();
    ASSERT_EQ(page->resultModel->rowCount(), 0);
    page->DBGrid1DblClick();
    EXPECT_FALSE(page->entryPending());
    EXPECT_TRUE(page->createButton->isEnabled());
    EXPECT_TRUE(page->claimNumberEdit->isEnabled());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(RegisterPageTest, AChangedPendingEntryIsSavedThroughTheChecksBeforeAFollowUp) {
    store(row("GH123456", 1));
    page->BitBtn9Click();

    // A new entry typed only in part: the checks stop it, it stays pending as typed, no follow-up.
    page->BitBtn5Click();
    page->claimNumberEdit->setText("MN123456");
    page->brandEdit->setText("HONDA");
    doubleClickRow(0);
    EXPECT_EQ(boxes.texts(), QStringList{"กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ."});
    EXPECT_TRUE(page->entryPending());
    EXPECT_EQ(page->claimNumberEdit->text(), "MN123456");
    EXPECT_EQ(page->brandEdit->text(), "HONDA");
    EXPECT_TRUE(storedRows("MN123456").isEmpty()) << "no unchecked row is stored";

    // Completed, the same double-click stores it with its Seq, ReportDate and Send, then follows up.
    type(complete("MN123456"));
    doubleClickRow(page->resultModel->rows().indexOf(row("GH123456", 1)));
    EXPECT_EQ(boxes.last().text, "Save Complete");
    const QList<reg::RegisterRow> stored = storedRows("MN123456");
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].seq, 1);
    EXPECT_EQ(stored[0].reportDate, today);
    EXPECT_FALSE(stored[0].send);
    EXPECT_TRUE(page->entryPending());
    EXPECT_EQ(page->claimNumberEdit->text(), "GH123456") << "the follow-up started after the save";
    EXPECT_FALSE(page->claimNumberEdit->isEnabled());
}

TEST_F(RegisterPageTest, AnUnchangedPendingEntryIsDroppedForAFollowUp) {
    store(row("GH123456", 1));
    store(row("JK123456", 1));
    page->BitBtn9Click();
    doubleClickRow(0);
    const QString first = page->claimNumberEdit->text();
    doubleClickRow(1);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_NE(page->claimNumberEdit->text(), first);
    EXPECT_EQ(storedRows("GH123456").size(), 1);
    EXPECT_EQ(storedRows("JK123456").size(), 1);
}

TEST_F(RegisterPageTest, TextTypedWhileNoEntryIsPendingIsNotKept) {
    page->claimNumberEdit->setFocus();
    QTest::keyClicks(page->claimNumberEdit, "ZZ");
    page->brandEdit->setFocus();
    EXPECT_EQ(page->claimNumberEdit->text(), "") << "it goes when the box loses the focus";
    page->BitBtn5Click();
    EXPECT_EQ(page->focusWidget(), page->claimNumberEdit);
    QTest::keyClicks(page->claimNumberEdit, "AB123456789");
    page->brandEdit->setFocus();
    EXPECT_EQ(page->claimNumberEdit->text(), "AB123456") << "kept while pending, cut to 8";
}

TEST_F(RegisterPageTest, AStatusLongerThanTheFieldShowsNothingAndStopsSave) {
    const QString longName = QStringLiteral("รอชิ้นส่วนอะไหล่จากต่างประเทศนานกว่าหนึ่งเดือน"); // 46 letters
    ASSERT_GT(longName.size(), 30);
    page.reset();
    access.reset();
    reopen();
    QFile::remove(reg::files::hostPath(reg::files::Statuses));
    reg::schema::createStatusFile(reg::files::hostPath(reg::files::Statuses),
                                  {{"1", Repairing}, {"2", longName}, {"3", Finished}});
    makePage();
    page->BitBtn5Click();
    type(complete("AB123456"));
    choose(longName);
    EXPECT_EQ(page->statusList->currentText(), "");
    page->BitBtn6Click();
    EXPECT_EQ(boxes.texts(), QStringList{"กรุณาป้อนเลือกสถานะการซ่อม"});
    EXPECT_TRUE(storedRows("AB123456").isEmpty());
}

TEST_F(RegisterPageTest, TypingIntoTheClaimBoxSwitchesToTheClaimSearch) {
    store(row("AB123456", 1));
    page->BitBtn9Click();
    ASSERT_TRUE(page->resultGrid->isEnabled());
    page->searchClaimEdit->setFocus();
    QTest::keyClick(page->searchClaimEdit, 'A');
    EXPECT_TRUE(page->claimMode->isChecked());
    EXPECT_FALSE(page->unfinishedMode->isChecked());
    EXPECT_TRUE(page->searchDateEdit->isBlank());
    EXPECT_FALSE(page->resultGrid->isEnabled()) << "at once, before any search";
    EXPECT_EQ(page->resultModel->rowCount(), 1) << "the old result stays until the search";

    QTest::keyClicks(page->searchClaimEdit, "B12345");
    page->BitBtn9Click();
    EXPECT_EQ(gridClaims(), QStringList()) << "a part of a number finds nothing";
    QTest::keyClick(page->searchClaimEdit, '6');
    page->BitBtn9Click();
    EXPECT_EQ(gridClaims(), QStringList{"AB123456/1"});

    page->searchDateEdit->lineEdit()->setFocus();
    QTest::keyClick(page->searchDateEdit->lineEdit(), '1');
    EXPECT_TRUE(page->dayMode->isChecked());
    EXPECT_EQ(page->searchClaimEdit->text(), "");
    EXPECT_FALSE(page->resultGrid->isEnabled());
    page->unfinishedMode->click();
    EXPECT_TRUE(page->resultGrid->isEnabled());
    page->searchClaimEdit->setText("AB123456");
    QTest::mouseClick(page->searchDateEdit->dropDownButton(), Qt::LeftButton);
    EXPECT_TRUE(page->dayMode->isChecked()) << "the calendar button checks the day search too";
    EXPECT_EQ(page->searchClaimEdit->text(), "");
}

TEST_F(RegisterPageTest, TheDaySearchListsTheReportsOfThatDay) {
    store(row("AB123456", 1, Repairing, QDate(2026, 12, 10)));
    store(row("CD123456", 1, Repairing, QDate(2026, 12, 11)));
    store(row("CD123456", 2, Finished, QDate(2026, 12, 11)));
    page->dayMode->click();
    page->searchDateEdit->setText("11/12/2026");
    page->BitBtn9Click();
    EXPECT_EQ(gridClaims(), QStringList({"CD123456/1", "CD123456/2"}));
    page->searchDateEdit->setText("  /  /  ");
    page->BitBtn9Click();
    EXPECT_EQ(gridClaims(), QStringList()) << "a blank date matches no row";
}

TEST_F(RegisterPageTest, FinishedClaimsLeaveTheUnfinishedListAlsoWithQuotes) {
    store({row("AB'12345", 1), row("AB'12345", 2, Finished), row("CD123456", 1), row("EF'''456", 1, Finished),
           row("GH123456", 1)});
    page->BitBtn9Click();
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
    QStringList listed = gridClaims();
    listed.sort();
    EXPECT_EQ(listed, QStringList({"CD123456/1", "GH123456/1"}));
}

TEST_F(RegisterPageTest, TheGridFollowsTheSearchQueryWhoeverOpensIt) {
    store(row("AB123456", 1));
    page->BitBtn9Click();
    EXPECT_EQ(page->resultModel->rowCount(), 1);
    tables().VorlexQ2.close();
    EXPECT_EQ(page->resultModel->rowCount(), 0);
    tables().VorlexQ2.setLines({"select * from vorlex", "where send='0'"});
    tables().VorlexQ2.open();
    EXPECT_EQ(gridClaims(), QStringList{"AB123456/1"});
    EXPECT_EQ(reg::gridCells(page->resultModel->rows().at(0)),
              QStringList({"AB123456", "1", "01/12/2026", "อู่ช่างเอก", "TOYOTA", "กข 1234", Repairing}));
}
