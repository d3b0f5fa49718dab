// The old-pictures page through its real widgets: the claim list, the claim number box, the cells and
// the Prevoius and Next buttons.
#include "viewer/ui/OldPicturesPage.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
#include "tests/viewer/ViewerFixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using platform::BoxKind;
using namespace viewertest;

namespace {

// A drive with claim folders of filed photographs, and the page on it.
class BrowserTest {
public:
    BrowserTest() { drive.makeFolder("c:\\picture"); }

    // A claim folder holding `count` photographs numbered from 001.
    void claim(const QString& number, int count) {
        drive.makeFolder("c:\\picture\\" + number);
        for (int i = 1; i <= count; ++i)
            drive.writeFile(
                QStringLiteral("c:\\picture\\%1\\%1%2.JPG").arg(number).arg(i, 3, 10, QLatin1Char('0')),
                photo());
    }
    const QByteArray& photo() {
        if (photo_.isEmpty()) photo_ = jpeg(80, 60);
        return photo_;
    }
    OldPicturesPage& page() {
        if (!page_) page_ = std::make_unique<OldPicturesPage>();
        return *page_;
    }
    // The names shown in cells 1 to 9, "-" for a hidden cell.
    QStringList shown() {
        QStringList names;
        for (int i = 0; i < 9; ++i)
            names.append(page().cellImages.at(i)->isHidden() ? QStringLiteral("-")
                                                             : page().cellNameBars.at(i)->text());
        return names;
    }
    QStringList claims() {
        QStringList items;
        for (int i = 0; i < page().claimList->count(); ++i)
            items.append(page().claimList->item(i)->text());
        return items;
    }
    void choose(const QString& claim) {
        const QList<QListWidgetItem*> found = page().claimList->findItems(claim, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << claim.toStdString();
        page().claimList->setCurrentItem(found.first());
    }
    void clickOn(const QString& claim) {
        const QList<QListWidgetItem*> found = page().claimList->findItems(claim, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << claim.toStdString();
        const QRect at = page().claimList->visualItemRect(found.first());
        QTest::mouseClick(page().claimList->viewport(), Qt::LeftButton, {}, at.center());
    }

    TempDrive drive;
    ScriptedMessages boxes;

private:
    QByteArray photo_;
    std::unique_ptr<OldPicturesPage> page_;
};

// Names `claim` + 001 ... in cells, hyphens for the rest.
QStringList cells(const QString& claim, int from, int to) {
    QStringList names;
    for (int i = from; i <= to && from > 0; ++i)
        names.append(QStringLiteral("%1%2.JPG").arg(claim).arg(i, 3, 10, QLatin1Char('0')));
    while (names.size() < 9)
        names.append(QStringLiteral("-"));
    return names;
}
const QStringList kEmpty = cells(QString(), 0, 0);

struct Step {
    std::function<void(BrowserTest&)> act;
    const char* what;
    QStringList shown;
    bool previous;
    bool next;
    QStringList boxes = {}; // texts of the boxes this step shows
};

struct Scenario {
    const char* name;
    std::function<void(BrowserTest&)> setUp;
    std::vector<Step> steps;
};

void show(BrowserTest& t) {
    t.page().show();
}
auto choose(const char* claim) {
    return [claim](BrowserTest& t) { t.choose(claim); };
}
auto typed(const char* text) {
    return [text](BrowserTest& t) { t.page().claimNumberEdit->setText(text); };
}
void next(BrowserTest& t) {
    t.page().nextButton->click();
}
void previous(BrowserTest& t) {
    t.page().previousButton->click();
}

const QString kNotFound = QStringLiteral("ไม่พบเลขรับแจ้งที่ต้องการ");

std::vector<Scenario> scenarios() {
    const auto claims = [](BrowserTest& t) {
        t.claim("AB000005", 5);
        t.claim("AB000009", 9);
        t.claim("AB000020", 20);
    };
    return {
        {"FivePicturesOnePage",
         claims,
         {{show, "show", kEmpty, false, false},
          {choose("AB000005"), "choose AB000005", cells("AB000005", 1, 5), false, false}}},
        {"NinePicturesThenAnEmptyLastPage",
         claims,
         {{show, "show", kEmpty, false, false},
          {choose("AB000009"), "choose AB000009", cells("AB000009", 1, 9), false, true},
          {next, "next", kEmpty, true, false},
          {previous, "previous", cells("AB000009", 1, 9), false, true}}},
        {"TwentyPicturesThreePages",
         claims,
         {{show, "show", kEmpty, false, false},
          {choose("AB000020"), "choose AB000020", cells("AB000020", 1, 9), false, true},
          {next, "next", cells("AB000020", 10, 18), true, true},
          {next, "next", cells("AB000020", 19, 20), true, false},
          {previous, "previous", cells("AB000020", 10, 18), true, true},
          {previous, "previous", cells("AB000020", 1, 9), false, true}}},
        {"TypedNumber",
         claims,
         {{show, "show", kEmpty, false, false},
          {typed("AB00002"), "seven characters", kEmpty, false, false},
          {typed("AB000020"), "eight, folder there", cells("AB000020", 1, 9), false, true},
          {next, "next", cells("AB000020", 10, 18), true, true},
          {typed("AB99999"), "seven again", cells("AB000020", 10, 18), true, true},
          {typed("AB999999"), "eight, no folder", kEmpty, true, true, {kNotFound}},
          {next, "next pages on in the folder opened before", cells("AB000020", 19, 20), true, false}}},
        {"AnotherClaimAfterPaging",
         claims,
         {{show, "show", kEmpty, false, false},
          {choose("AB000020"), "choose AB000020", cells("AB000020", 1, 9), false, true},
          {next, "next", cells("AB000020", 10, 18), true, true},
          {choose("AB000009"), "choose AB000009", cells("AB000009", 1, 9), false, true},
          {next, "next", kEmpty, true, false},
          {[](BrowserTest& t) { t.clickOn("AB000009"); }, "click the same claim again",
           cells("AB000009", 1, 9), false, true}}},
        {"LeavingAndComingBack",
         claims,
         {{show, "show", kEmpty, false, false},
          {choose("AB000020"), "choose AB000020", cells("AB000020", 1, 9), false, true},
          {next, "next", cells("AB000020", 10, 18), true, true},
          {[](BrowserTest& t) {
               t.page().hide();
               t.claim("AA000001", 1); // filed meanwhile
               t.page().show();
           },
           "leave, file a claim, come back", kEmpty, false, false},
          {choose("AA000001"), "choose the new claim", cells("AA000001", 1, 1), false, false}}},
        {"TransferStopsAtTheFirstFileThatIsNoPicture",
         [](BrowserTest& t) {
             t.drive.makeFolder("c:\\picture\\transfer");
             for (const char* name : {"AA000001001.JPG", "AA000001002.JPG", "AA000001003.jpg", "BB000002.Zip",
                                      "CC000003001.JPG", "CC000003002.JPG", "CC000003003.JPG",
                                      "CC000003004.JPG", "CC000003005.JPG", "Vorlex2.DB", "Vorlex2.PX"})
                 t.drive.writeFile(QStringLiteral("c:\\picture\\transfer\\") + name,
                                   QString(name).endsWith("JPG", Qt::CaseInsensitive) ? t.photo() : "x");
         },
         {{show, "show", kEmpty, false, false},
          // Eleven files make a second page, but the stopped page leaves both buttons as they were.
          {choose("transfer"),
           "choose transfer",
           QStringList{"AA000001001.JPG", "AA000001002.JPG", "AA000001003.jpg"} + QStringList(6, "-"),
           false,
           false,
           {"Unknown picture file extension (.zip)"}}}},
    };
}

void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

} // namespace

class BrowserScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(BrowserScenario, CellsAndButtonsFollowEachStep) {
    const Scenario& scenario = GetParam();
    BrowserTest t;
    scenario.setUp(t);
    for (const Step& step : scenario.steps) {
        t.boxes.clear();
        step.act(t);
        SCOPED_TRACE(step.what);
        EXPECT_EQ(t.shown(), step.shown);
        EXPECT_EQ(t.page().previousButton->isEnabled(), step.previous);
        EXPECT_EQ(t.page().nextButton->isEnabled(), step.next);
        EXPECT_EQ(t.boxes.texts(), step.boxes);
        if (!step.boxes.isEmpty()) {
            const BoxKind expected =
                step.boxes.first() == kNotFound ? BoxKind::Plain : BoxKind::Error; // the standard error box
            EXPECT_EQ(t.boxes.last().kind, expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Claims, BrowserScenario, ::testing::ValuesIn(scenarios()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OldPicturesPage, ClaimListHoldsEveryFolderOfThePictureRootInOrder) {
    BrowserTest t;
    t.claim("ab000002", 1);
    t.claim("AB000001", 1);
    t.drive.makeFolder("c:\\picture\\transfer");
    t.drive.makeFolder("c:\\picture\\.hidden");
    t.drive.writeFile("c:\\picture\\IMG_1.JPG", t.photo()); // the inbox's own pictures are never shown
    t.page().show();
    EXPECT_EQ(t.claims(), QStringList({"AB000001", "ab000002", "transfer"}));
    EXPECT_EQ(t.shown(), kEmpty);
    EXPECT_EQ(t.page().DirectoryListBox1().items(),
              QStringList({"c:\\", "picture", "AB000001", "ab000002", "transfer"}));
    EXPECT_EQ(t.page().DirectoryListBox1().directory(), QStringLiteral("c:\\picture"));
    EXPECT_EQ(t.page().FileListBox3().items(), QStringList({"IMG_1.JPG"}));
    // A claim folder removed after the list was made: the file system's error, nothing else changes.
    t.choose("AB000001");
    ASSERT_EQ(t.shown(), cells("AB000001", 1, 1));
    QDir(t.drive.host("c:\\picture\\ab000002")).removeRecursively();
    t.boxes.clear();
    t.choose("ab000002");
    EXPECT_EQ(t.boxes.texts(), QStringList({"The system cannot find the path specified."}));
    EXPECT_EQ(t.shown(), cells("AB000001", 1, 1));
    EXPECT_EQ(t.page().DirectoryListBox1().directory(), t.page().browser().pathOf("").chopped(1));
}

TEST(OldPicturesPage, ScansShowWholeAndDamagedPicturesStopThePage) {
    BrowserTest t;
    t.drive.makeFolder("c:\\picture\\AB123456");
    QImage scan(300, 600, QImage::Format_RGB32);
    scan.fill(Qt::blue);
    for (int y = 300; y < 600; ++y)
        for (int x = 0; x < 300; ++x)
            scan.setPixel(x, y, qRgb(255, 0, 0));
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456001.JPG", t.photo());
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456800.GIF", gif(scan));
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456801.GIF", "GIF00a rubbish");
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456802.GIF", gif(scan));
    t.page().show();
    t.choose("AB123456");
    EXPECT_EQ(t.shown(), QStringList({"AB123456001.JPG", "AB123456800.GIF"}) + QStringList(7, "-"));
    EXPECT_EQ(t.boxes.texts(), QStringList({"Unknown GIF version."}));
    // The scan is drawn whole into its box: red in the lower half, not only the blue top-left corner.
    TImage* box = t.page().cellImages.at(1);
    EXPECT_EQ(box->Picture.width(), 300);
    EXPECT_EQ(box->Picture.height(), 600);
    const QImage shown = box->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() / 4)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() * 3 / 4)), QColor(Qt::red));
}

TEST(OldPicturesPage, ControlsStandWhereTheyBelong) {
    BrowserTest t;
    OldPicturesPage& page = t.page();
    EXPECT_EQ(page.objectName(), QStringLiteral("TabSheet2"));
    const struct {
        QWidget* widget;
        const char* name;
        QRect geometry;
    } cases[] = {
        {page.claimListPanel, nullptr, {2, 0, 133, 358}},
        {page.claimList, "ListBox2", {7, 30, 118, 321}},
        {page.previousButton, "BitBtn7", {11, 429, 114, 28}},
        {page.nextButton, "BitBtn8", {11, 457, 114, 28}},
        {page.picturesBox, nullptr, {139, 0, 595, 486}},
        {page.cellImages.at(0), "Image12", {14, 13, 176, 125}},
        {page.cellImages.at(2), "Image14", {400, 13, 177, 125}},
        {page.cellImages.at(4), "Image16", {208, 172, 176, 125}},
        {page.cellImages.at(8), "Image20", {400, 330, 177, 125}},
        {page.cellNameBars.at(0), "Panel16", {14, 138, 176, 19}},
        {page.cellNameBars.at(5), "Panel21", {400, 297, 177, 19}},
        {page.cellNameBars.at(8), "Panel24", {400, 455, 177, 19}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.widget->geometry(), c.geometry) << c.widget->objectName().toStdString();
        if (c.name) {
            EXPECT_EQ(c.widget->objectName(), QString::fromLatin1(c.name));
        }
    }
    EXPECT_EQ(page.claimNumberEdit->objectName(), QStringLiteral("Edit6"));
    EXPECT_EQ(page.claimNumberEdit->pos(), QPoint(11, 386));
    EXPECT_EQ(page.claimNumberEdit->width(), 114);
    EXPECT_EQ(page.claimNumberEdit->maxLength(), 8);
    EXPECT_EQ(page.claimNumberLabel->pos(), QPoint(11, 363));
    EXPECT_EQ(page.claimNumberLabel->text(), QStringLiteral("เลขรับแจ้ง"));
    EXPECT_EQ(page.oldClaimsLabel->text(), QStringLiteral("เลขรับแจ้งเก่า"));
    EXPECT_EQ(page.previousButton->text(), QStringLiteral("Prevoius"));
    EXPECT_EQ(page.nextButton->text(), QStringLiteral("Next"));
    EXPECT_EQ(page.nextButton->layoutDirection(), Qt::RightToLeft);
}
