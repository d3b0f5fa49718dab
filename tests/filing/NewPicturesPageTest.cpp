#include "codecs/JpegCodec.h"
#include "filing/Messages.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
#include "platform/Files.h"
#include "tests/filing/FilingFixture.h"
#include "tests/support/ExifTool.h"

#include <QApplication>
#include <QDropEvent>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

using filing::PictureCategory;
using platform::BoxButton;
using platform::BoxKind;
namespace files = platform::files;
namespace messages = filing::messages;

namespace {

QStringList hyphens(int count) {
    return QStringList(count, QStringLiteral("-"));
}

QString photo(int i) {
    return QStringLiteral("IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
}

} // namespace

TEST(NewPicturesPage, ControlsStandWhereTheyBelong) {
    PageTest t;
    NewPicturesPage& page = t.open();
    // Each control is found under its historical name and stands where it belongs.
    const struct {
        QWidget* widget;
        const char* name;
        QRect geometry;
    } cases[] = {
        {page.inboxGrid, "GroupBox1", {201, 0, 534, 486}},
        {page.cellImages[0], "Image1", {17, 13, 148, 125}},
        {page.cellImages[1], "Image2", {194, 13, 149, 125}},
        {page.cellImages[8], "Image9", {367, 330, 148, 125}},
        {page.cellNameBars[0], "Panel1", {17, 138, 149, 19}},
        {page.cellNameBars[4], "Panel5", {194, 297, 150, 19}},
        {page.cellNameBars[8], "Panel9", {367, 455, 149, 19}},
        {page.beforeRepairTarget, "Image10", {89, 4, 107, 74}},
        {page.duringRepairTarget, "Image21", {89, 109, 107, 74}},
        {page.afterRepairTarget, "Image22", {89, 214, 107, 74}},
        {page.documentTarget, "Image11", {89, 319, 107, 74}},
        {page.beforeRepairLabel, "Panel10", {5, 24, 83, 33}},
        {page.duringRepairLabel, "Panel11", {5, 129, 83, 33}},
        {page.afterRepairLabel, "Panel12", {5, 234, 83, 33}},
        {page.documentLabel, "Panel13", {5, 339, 83, 33}},
        {page.claimNumberLabel, "Panel14", {5, 391, 88, 27}},
        {page.claimNumberEdit, "Edit1", {98, 394, 97, 21}},
        {page.buttonPanel, "Panel15", {4, 420, 191, 66}},
        {page.nextButton, "BitBtn2", {7, 5, 82, 25}},
        {page.refreshButton, "BitBtn4", {96, 5, 82, 25}},
        {page.transferButton, "BitBtn3", {7, 33, 82, 25}},
        {page.closeButton, "BitBtn1", {96, 33, 82, 25}},
    };
    EXPECT_EQ(page.objectName(), "TabSheet1");
    for (const auto& c : cases) {
        EXPECT_EQ(page.findChild<QWidget*>(c.name), c.widget) << c.name;
        EXPECT_EQ(c.widget->geometry(), c.geometry) << c.name;
    }
    EXPECT_EQ(page.claimNumberEdit->pos(), QPoint(98, 394));
    EXPECT_EQ(page.claimNumberEdit->width(), 97);
    EXPECT_EQ(page.claimNumberEdit->maxLength(), 8);
    EXPECT_EQ(page.claimNumberLabel->pos(), QPoint(5, 391));
    const struct {
        TPanel* label;
        TImage* target;
        const char* text;
    } targets[] = {{page.beforeRepairLabel, page.beforeRepairTarget, "ก่อนซ่อม"},
                   {page.duringRepairLabel, page.duringRepairTarget, "ระหว่างซ่อม"},
                   {page.afterRepairLabel, page.afterRepairTarget, "หลังซ่อม"},
                   {page.documentLabel, page.documentTarget, "เอกสาร"}};
    for (const auto& c : targets) {
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.label->x(), 5);
        EXPECT_EQ(c.target->Picture.width(), 110);
        EXPECT_EQ(c.target->Picture.height(), 94);
        EXPECT_TRUE(c.target->acceptDrops());
        EXPECT_FALSE(c.target->dragSource());
    }
    EXPECT_EQ(page.claimNumberLabel->text(), QStringLiteral("เลขรับแจ้ง"));
    EXPECT_EQ(page.nextButton->text(), QStringLiteral("Next"));
    EXPECT_EQ(page.refreshButton->text(), QStringLiteral("Refresh"));
    EXPECT_EQ(page.transferButton->text(), QStringLiteral("Transfer"));
    for (int cell = 1; cell <= 9; ++cell) {
        EXPECT_TRUE(t.cellImage(cell)->dragSource());
        EXPECT_FALSE(t.cellImage(cell)->acceptDrops());
    }
    for (TPicClip* clip : {&page.cellClips[0], &page.cellClips[4], &page.cellClips[8]}) {
        EXPECT_EQ(clip->Cols, 3);
        EXPECT_EQ(clip->Rows, 6);
        EXPECT_EQ(clip->MaskColor, QColor(128, 128, 0));
    }
    // Only image boxes are taken by the targets.
    EXPECT_TRUE(page.Image10DragOver(page.cellImages[2]));
    EXPECT_FALSE(page.Image10DragOver(page.nextButton));
    EXPECT_FALSE(page.Image10DragOver(page.cellNameBars[2]));
    EXPECT_FALSE(page.Image10DragOver(nullptr));
}

TEST(NewPicturesPage, EmptyInboxThenNextDisablesNext) {
    PageTest t;
    NewPicturesPage& page = t.open();
    EXPECT_EQ(t.shownNames(), hyphens(9));
    EXPECT_TRUE(page.nextButton->isEnabled());
    page.nextButton->click();
    EXPECT_EQ(t.shownNames(), hyphens(9));
    EXPECT_FALSE(page.nextButton->isEnabled());
    // Refresh starts again at the first page and shows what arrived meanwhile.
    t.inbox("new.jpg", pictures::jpeg(40, 30));
    EXPECT_EQ(page.inboxList.count(), 0);
    EXPECT_EQ(t.shownNames(), hyphens(9));
    page.refreshButton->click();
    EXPECT_EQ(t.shownNames(), QStringList({"new.jpg"}) + hyphens(8));
    EXPECT_TRUE(page.nextButton->isEnabled());
    EXPECT_EQ(t.boxes.count(), 0);
}

TEST(NewPicturesPage, FirstPhotographCreatesTheClaimFolderAndBecomes001) {
    PageTest t;
    const QByteArray bytes = pictures::jpeg(64, 48);
    t.inbox("IMG_0042.JPG", bytes);
    t.inbox("img_0043.jpg", pictures::jpeg(64, 48, false, 2));
    t.inbox("scan.GIF", pictures::gif(QImage(30, 60, QImage::Format_RGB32)));
    NewPicturesPage& page = t.open();
    ASSERT_EQ(t.shownNames(), QStringList({"IMG_0042.JPG", "img_0043.jpg", "scan.GIF"}) + hyphens(6));
    page.claimNumberEdit->setText("AB123456");
    ASSERT_FALSE(files::folderExists("c:\\picture\\AB123456"));

    t.drop(1, t.before());
    EXPECT_EQ(t.boxes.count(), 0) << t.boxes.texts().join('\n').toStdString();
    EXPECT_EQ(t.drive.readFile("c:\\picture\\AB123456\\AB123456001.JPG"), bytes);
    EXPECT_EQ(t.drive.readFile("c:\\picture\\transfer\\AB123456001.JPG"), bytes);
    EXPECT_FALSE(files::exists("c:\\picture\\IMG_0042.JPG"));
    EXPECT_EQ(t.shownNames(), QStringList({"-", "img_0043.jpg", "scan.GIF"}) + hyphens(6));
    EXPECT_EQ(page.PageOffset, -1);
    EXPECT_EQ(page.inboxList.items(), QStringList({"img_0043.jpg", "scan.GIF"}));

    t.drop(2, t.before());
    t.drop(3, t.documents());
    const QString host = t.drive.host("c:\\picture\\AB123456");
    EXPECT_EQ(QDir(host).entryList(QDir::Files, QDir::Name),
              QStringList({"AB123456001.JPG", "AB123456002.jpg", "AB123456800.GIF"}));
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\transfer")).entryList(QDir::Files, QDir::Name),
              QStringList({"AB123456001.JPG", "AB123456002.jpg", "AB123456800.GIF"}));
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList());
    EXPECT_EQ(t.shownNames(), hyphens(9));
    EXPECT_EQ(page.claimSequences, QStringList({"001", "002"}));
}

TEST(NewPicturesPage, NumberingTable) {
    const struct {
        PictureCategory category;
        std::initializer_list<const char*> present;
        const char* expected;
    } rows[] = {
        {PictureCategory::BeforeRepair, {}, "AB123456001.jpg"},
        {PictureCategory::BeforeRepair,
         {"001", "002", "003", "004", "005", "006", "007", "008", "009"},
         "AB123456010.jpg"},
        {PictureCategory::BeforeRepair, {"099"}, "AB123456100.jpg"},
        {PictureCategory::BeforeRepair, {"298"}, "AB123456299.jpg"},
        {PictureCategory::DuringRepair, {"001", "002"}, "AB123456300.jpg"},
        {PictureCategory::DuringRepair, {"300"}, "AB123456301.jpg"},
        {PictureCategory::DuringRepair, {"498"}, "AB123456499.jpg"},
        {PictureCategory::AfterRepair, {"001", "300"}, "AB123456500.jpg"},
        {PictureCategory::AfterRepair, {"798"}, "AB123456799.jpg"},
        {PictureCategory::Document, {"998"}, "AB123456999.gif"},
        {PictureCategory::BeforeRepair, {"001", "002", "005"}, "AB123456006.jpg"},
        // Numbers of other categories and outside every range do not count.
        {PictureCategory::BeforeRepair, {"000", "-01", "300"}, "AB123456001.jpg"},
        {PictureCategory::DuringRepair, {"498", "500", "800"}, "AB123456499.jpg"},
        {PictureCategory::AfterRepair, {"001", "300", "899"}, "AB123456500.jpg"},
        {PictureCategory::Document, {"001", "799"}, "AB123456800.gif"},
    };
    const QByteArray scan = pictures::gif(QImage(12, 12, QImage::Format_RGB32));
    for (const auto& row : rows) {
        PageTest t;
        const bool document = row.category == PictureCategory::Document;
        t.inbox(document ? "scan.gif" : "photo.jpg", document ? scan : pictures::jpeg(16, 16));
        for (const char* number : row.present)
            t.drive.writeFile(QStringLiteral("c:\\picture\\AB123456\\AB123456%1.JPG").arg(number), "x");
        NewPicturesPage& page = t.open();
        page.claimNumberEdit->setText("AB123456");
        t.drop(1, t.target(row.category));
        EXPECT_EQ(t.boxes.count(), 0) << row.expected;
        EXPECT_TRUE(files::fileExists(QStringLiteral("c:\\picture\\AB123456\\") + row.expected))
            << row.expected;
        EXPECT_TRUE(files::fileExists(QStringLiteral("c:\\picture\\transfer\\") + row.expected))
            << row.expected;
    }
}

TEST(NewPicturesPage, WrongLengthAndWrongKindAreRefusedWithTheirMessages) {
    PageTest t;
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    t.inbox("b.gif", pictures::gif(QImage(12, 12, QImage::Format_RGB32)));
    NewPicturesPage& page = t.open();
    t.window().show();
    QApplication::setActiveWindow(&t.window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.window()));

    const struct {
        const char* claim;
        int cell;
        TImage* target;
        QString message;
        bool focusToClaim;
    } cases[] = {
        {"AB12345", 1, page.beforeRepairTarget, messages::ClaimNumberLength, true},
        {"", 1, page.beforeRepairTarget, messages::EnterClaimNumber, true},
        {"AB12/456", 1, page.beforeRepairTarget, messages::ClaimNumberCharacters.arg("AB12/456"), true},
        {"AB123456", 2, page.beforeRepairTarget, messages::PhotographsOnly, false},
        {"AB123456", 2, page.duringRepairTarget, messages::PhotographsOnly, false},
        {"AB123456", 2, page.afterRepairTarget, messages::PhotographsOnly, false},
        {"AB123456", 1, page.documentTarget, messages::DocumentsOnly, false},
    };
    for (const auto& c : cases) {
        t.boxes.clear();
        page.claimNumberEdit->setText(QString::fromUtf8(c.claim));
        page.refreshButton->setFocus();
        t.drop(c.cell, c.target);
        ASSERT_EQ(t.boxes.count(), 1) << c.claim;
        EXPECT_EQ(t.boxes.last().text, c.message);
        EXPECT_EQ(t.boxes.last().kind, BoxKind::Plain);
        EXPECT_EQ(t.boxes.last().buttons, QList<BoxButton>{BoxButton::Ok});
        EXPECT_EQ(QApplication::focusWidget() == page.claimNumberEdit, c.focusToClaim) << c.claim;
        EXPECT_EQ(t.shownNames(), QStringList({"a.jpg", "b.gif"}) + hyphens(7));
        EXPECT_EQ(page.PageOffset, 0);
    }
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.jpg", "b.gif", "transfer"}));
    EXPECT_TRUE(QDir(t.drive.host("c:\\picture\\transfer")).isEmpty());
}

TEST(NewPicturesPage, ThreeFilingsFromAFullPageOfTwentyThenNext) {
    PageTest t;
    for (int i = 1; i <= 20; ++i)
        t.inbox(photo(i), pictures::jpeg(32, 24, false, i));
    NewPicturesPage& page = t.open();
    QStringList firstPage;
    for (int i = 1; i <= 9; ++i)
        firstPage << photo(i);
    ASSERT_EQ(t.shownNames(), firstPage);
    page.claimNumberEdit->setText("XY000001");
    t.drop(2, t.before());
    t.drop(5, t.during());
    t.drop(9, t.after());
    ASSERT_EQ(t.boxes.count(), 0) << t.boxes.texts().join('\n').toStdString();
    EXPECT_EQ(t.shownNames(),
              QStringList({photo(1), "-", photo(3), photo(4), "-", photo(6), photo(7), photo(8), "-"}));
    EXPECT_EQ(page.PageOffset, -3);
    EXPECT_EQ(page.inboxList.count(), 17);
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\XY000001")).entryList(QDir::Files, QDir::Name),
              QStringList({"XY000001001.JPG", "XY000001300.JPG", "XY000001500.JPG"}));

    page.nextButton->click();
    QStringList secondPage;
    for (int i = 10; i <= 18; ++i)
        secondPage << photo(i);
    EXPECT_EQ(t.shownNames(), secondPage);
    EXPECT_EQ(page.PageOffset, 6);
    EXPECT_TRUE(page.nextButton->isEnabled());
    page.nextButton->click();
    EXPECT_EQ(t.shownNames(), QStringList({photo(19), photo(20)}) + hyphens(7));
    EXPECT_FALSE(page.nextButton->isEnabled());
}

TEST(NewPicturesPage, AGifScanShowsItsTopLeftRegionAndAPhotographShowsWhole) {
    PageTest t;
    // 900 by 1200: the top-left 300 by 200 is red on its left half and green on its right, with an olive
    // stripe; everything else is blue.
    QImage scan(900, 1200, QImage::Format_RGB32);
    scan.fill(Qt::blue);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            scan.setPixel(x, y, x < 150 ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
    for (int y = 90; y < 110; ++y)
        for (int x = 0; x < 300; ++x)
            scan.setPixel(x, y, qRgb(128, 128, 0));
    t.inbox("scan.gif", pictures::gif(scan));
    QImage wide(800, 200, QImage::Format_RGB32);
    wide.fill(Qt::white);
    for (int y = 0; y < 200; ++y)
        for (int x = 400; x < 800; ++x)
            wide.setPixel(x, y, qRgb(0, 0, 0));
    codecs::jpeg::EncodeOptions options;
    t.inbox("wide.jpg", codecs::jpeg::encode(wide, options));
    NewPicturesPage& page = t.open();
    t.window().resize(808, 580);
    t.window().show();
    ASSERT_EQ(t.shownNames(), QStringList({"scan.gif", "wide.jpg"}) + hyphens(7));

    EXPECT_EQ(page.cellClips[0].Picture().width(), 900);
    EXPECT_EQ(page.cellImages[0]->Picture.width(), 300);
    EXPECT_EQ(page.cellImages[0]->Picture.height(), 200);
    const QImage shown = page.cellImages[0]->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(148, 125));
    const QRgb background = page.inboxGrid->grab().toImage().pixel(10, 10);
    int blue = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) == qRgb(0, 0, 255)) ++blue;
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(shown.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(140, 10), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(140, 120), qRgb(0, 255, 0));
    // The olive stripe lets the background through.
    EXPECT_EQ(shown.pixel(10, 62), background);
    EXPECT_NE(background, qRgb(128, 128, 0));

    // The photograph is whole: its white left half and black right half fill the box.
    const QImage whole = page.cellImages[1]->grab().toImage();
    ASSERT_EQ(whole.size(), QSize(149, 125));
    EXPECT_GT(qGray(whole.pixel(5, 60)), 240);
    EXPECT_LT(qGray(whole.pixel(143, 60)), 15);
}

TEST(NewPicturesPage, SizeLimitIsTwoHundredThousandBytes) {
    PageTest t;
    const QByteArray atLimit = pictures::paddedJpeg(pictures::jpeg(64, 48), 200000);
    const QByteArray overLimit = pictures::paddedJpeg(pictures::jpeg(64, 48, false, 3), 200001);
    ASSERT_EQ(atLimit.size(), 200000);
    ASSERT_EQ(overLimit.size(), 200001);
    t.inbox("a.jpg", atLimit);
    t.inbox("b.jpg", overLimit);
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");

    t.drop(1, t.before());
    EXPECT_EQ(t.boxes.count(), 0);
    EXPECT_EQ(t.drive.readFile("c:\\picture\\AB123456\\AB123456001.jpg"), atLimit);

    t.boxes.answer(BoxButton::No);
    t.drop(2, t.before());
    ASSERT_GE(t.boxes.count(), 1);
    const platform::BoxRequest& question = t.boxes.boxes().first();
    EXPECT_EQ(question.kind, BoxKind::Warning);
    EXPECT_EQ(question.caption, QStringLiteral("Warning"));
    EXPECT_EQ(question.text, QStringLiteral("ภาพนี้มีขนาดเกิน 200 Kb ต้องการ Resize ภาพหรือไม่?"));
    EXPECT_EQ(question.buttons, QList<BoxButton>({BoxButton::Yes, BoxButton::No}));
    EXPECT_EQ(question.defaultButton, BoxButton::Yes);
}

TEST(NewPicturesPage, YesFilesAnEightHundredBySixHundredJpegInBothFolders) {
    PageTest t;
    const QByteArray big = pictures::jpeg(1600, 1200, true);
    ASSERT_GT(big.size(), 200000);
    t.inbox("IMG_0001.JPG", big);
    t.inbox("portrait.jpg", pictures::jpeg(600, 800, true, 9));
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");
    t.boxes.answer(BoxButton::Yes);
    t.drop(1, t.before());
    t.boxes.answer(BoxButton::Yes);
    t.drop(2, t.after());
    ASSERT_EQ(t.boxes.count(), 2) << t.boxes.texts().join('\n').toStdString();
    for (const char* name : {"AB123456\\AB123456001.JPG", "transfer\\AB123456001.JPG",
                             "AB123456\\AB123456500.jpg", "transfer\\AB123456500.jpg"}) {
        const QString path = t.drive.host(QStringLiteral("c:\\picture\\") + name);
        EXPECT_EQ(pictures::identify(path), QStringLiteral("800 600 JPEG 90 None")) << name;
    }
    EXPECT_EQ(t.drive.readFile("c:\\picture\\AB123456\\AB123456001.JPG"),
              t.drive.readFile("c:\\picture\\transfer\\AB123456001.JPG"));
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList());
    EXPECT_EQ(t.shownNames(), hyphens(9));
}

TEST(NewPicturesPage, AResizedPhotographKeepsItsCaptureRecordAndADamagedOneIsFiledWithout) {
    PageTest t;
    pictures::cameraPhoto(t.drive.host("c:\\picture\\DSC_0001.JPG"));
    QByteArray damaged = t.drive.readFile("c:\\picture\\DSC_0001.JPG");
    // IFD0 said to lie far past the end of the record.
    damaged.replace(damaged.indexOf(QByteArray("Exif\0\0", 6)) + 10, 4, QByteArray::fromHex("7FFFFF00"));
    t.inbox("DSC_0002.JPG", damaged);
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");
    t.boxes.answer(BoxButton::Yes);
    t.drop(1, t.during());
    t.boxes.answer(BoxButton::Yes);
    t.drop(2, t.before());
    // Only the two resize questions: the damaged record stops nothing.
    ASSERT_EQ(t.boxes.count(), 2) << t.boxes.texts().join('\n').toStdString();
    for (const char* name : {"AB123456\\AB123456300.JPG", "transfer\\AB123456300.JPG"}) {
        SCOPED_TRACE(name);
        const QString path = t.drive.host(QStringLiteral("c:\\picture\\") + name);
        const QJsonObject tags = exiftool::exifTags(path);
        EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2024:05:01 10:22:33"));
        EXPECT_EQ(tags.value("IFD0:Make").toString(), QStringLiteral("NIKON CORPORATION"));
        EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), 800);
        EXPECT_FALSE(tags.contains("IFD1:ThumbnailImage"));
        EXPECT_EQ(pictures::identify(path), QStringLiteral("800 600 JPEG 90 None"));
    }
    for (const char* name : {"AB123456\\AB123456001.JPG", "transfer\\AB123456001.JPG"}) {
        SCOPED_TRACE(name);
        const QString path = t.drive.host(QStringLiteral("c:\\picture\\") + name);
        EXPECT_TRUE(exiftool::exifTags(path).isEmpty());
        EXPECT_EQ(pictures::identify(path), QStringLiteral("800 600 JPEG 90 None"));
    }
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList());
}

TEST(NewPicturesPage, NoLeavesThePictureInTheInboxAndRebuildsTheGrid) {
    PageTest t;
    const QByteArray big = pictures::jpeg(1000, 800, true);
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    t.inbox("big.jpg", big);
    t.inbox("c.jpg", pictures::jpeg(16, 16, false, 2));
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");
    t.drop(1, t.before());
    ASSERT_EQ(t.shownNames(), QStringList({"-", "big.jpg", "c.jpg"}) + hyphens(6));

    t.boxes.clear();
    t.boxes.answer(BoxButton::No);
    t.drop(2, t.before());
    ASSERT_EQ(t.boxes.count(), 2);
    const platform::BoxRequest& refusal = t.boxes.last();
    EXPECT_EQ(refusal.kind, BoxKind::Warning);
    EXPECT_EQ(refusal.buttons, QList<BoxButton>{BoxButton::Ok});
    EXPECT_EQ(refusal.text, QStringLiteral("ไม่สามารถทำการโอนภาพได้เนื่องจากไฟล์มีขนาดใหญ่เกินไป "
                                           "กรุณาทำการ Resize ภาพก่อนทำการส่งอีกครั้ง."));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\big.jpg"), big);
    EXPECT_EQ(t.shownNames(), QStringList({"big.jpg", "c.jpg"}) + hyphens(7));
    EXPECT_EQ(page.PageOffset, 0);
    EXPECT_TRUE(page.nextButton->isEnabled());
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\AB123456")).entryList(QDir::Files),
              QStringList({"AB123456001.jpg"}));
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\transfer")).entryList(QDir::Files),
              QStringList({"AB123456001.jpg"}));
}

TEST(NewPicturesPage, AnOversizeGifOnDocumentFailsWithJpegError53AndStays) {
    PageTest t;
    const QByteArray scan = pictures::noisyGif(200000);
    t.inbox("scan.gif", scan);
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");
    t.boxes.answer(BoxButton::Yes);
    t.drop(1, t.documents());
    ASSERT_EQ(t.boxes.count(), 2);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("JPEG error #53."));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\scan.gif"), scan);
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList({"scan.gif"}));
    EXPECT_FALSE(files::exists("c:\\picture\\AB123456"));
    EXPECT_TRUE(QDir(t.drive.host("c:\\picture\\transfer")).isEmpty());
    // The cell stays; Refresh brings the list back in step.
    EXPECT_EQ(t.shownNames(), QStringList({"scan.gif"}) + hyphens(8));
    EXPECT_EQ(page.inboxList.count(), 0);
    page.refreshButton->click();
    EXPECT_EQ(page.inboxList.items(), QStringList({"scan.gif"}));
    EXPECT_EQ(page.PageOffset, 0);
}

TEST(NewPicturesPage, AUsedUpCategoryFilesNothing) {
    PageTest t;
    const QByteArray bytes = pictures::jpeg(16, 16);
    t.inbox("a.jpg", bytes);
    // "%" may stand in a claim number; the message shows it as typed.
    t.drive.writeFile("c:\\picture\\AB%1%2CD\\AB%1%2CD299.jpg", "x");
    t.drive.writeFile("c:\\picture\\AB%1%2CD\\AB%1%2CD999.gif", "x");
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB%1%2CD");
    t.drop(1, t.before());
    ASSERT_EQ(t.boxes.count(), 1);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(
        t.boxes.last().text,
        QStringLiteral("เลขลำดับหมวด ก่อนซ่อม ของเลขรับแจ้ง AB%1%2CD ใช้ครบแล้ว (001 ถึง 299) จึงไม่ได้เก็บรูปภาพนี้."));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\a.jpg"), bytes);
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\AB%1%2CD")).entryList(QDir::Files, QDir::Name),
              QStringList({"AB%1%2CD299.jpg", "AB%1%2CD999.gif"}));
    EXPECT_TRUE(QDir(t.drive.host("c:\\picture\\transfer")).isEmpty());
    // The other categories still take pictures.
    page.refreshButton->click();
    t.drop(1, t.during());
    EXPECT_TRUE(files::fileExists("c:\\picture\\AB%1%2CD\\AB%1%2CD300.jpg"));
}

TEST(NewPicturesPage, AClaimNumberThatCannotNameAFolderIsRefusedBeforeAnythingIsMade) {
    PageTest t;
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    NewPicturesPage& page = t.open();
    for (const char* claim : {"../x/../", "AB\\12345", "AB:12345", "AB*12345", "AB12345.", "CON.1234"}) {
        t.boxes.clear();
        page.claimNumberEdit->setText(claim);
        t.drop(1, t.before());
        ASSERT_EQ(t.boxes.count(), 1) << claim;
        EXPECT_EQ(t.boxes.last().text, messages::ClaimNumberCharacters.arg(claim));
        EXPECT_EQ(t.boxes.last().kind, BoxKind::Plain);
    }
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.jpg", "transfer"}));
    EXPECT_EQ(QDir(t.drive.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"claim", "picture"}))
        << "nothing beside the picture folder and the register's tables";
    EXPECT_EQ(t.shownNames(), QStringList({"a.jpg"}) + hyphens(8));
}

TEST(NewPicturesPage, AFailedCopyIsReportedAndLosesNothing) {
    PageTest t;
    const QByteArray bytes = pictures::jpeg(16, 16);
    t.inbox("a.jpg", bytes);
    NewPicturesPage& page = t.open();
    // The transfer folder has become a file: the second copy cannot be made.
    QDir(t.drive.host("c:\\picture\\transfer")).removeRecursively();
    t.drive.writeFile("c:\\picture\\transfer", "not a folder");
    page.claimNumberEdit->setText("AB123456");
    t.drop(1, t.before());
    ASSERT_EQ(t.boxes.count(), 1);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(t.boxes.last().text,
              platform::errorBoxText(messages::CopyFailed.arg("c:\\picture\\transfer\\AB123456001.jpg")));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\a.jpg"), bytes);
    EXPECT_TRUE(QDir(t.drive.host("c:\\picture\\AB123456")).isEmpty());
    EXPECT_EQ(t.shownNames(), QStringList({"a.jpg"}) + hyphens(8));
}

TEST(NewPicturesPage, APictureInTheInboxNamedTempIsNeverReplaced) {
    PageTest t;
    const QByteArray small = pictures::jpeg(16, 16);
    const QByteArray bigTemp = pictures::jpeg(1000, 800, true, 4);
    t.inbox("big.jpg", pictures::jpeg(1000, 800, true, 5));
    t.inbox("TEMP.jpg", small);
    t.inbox("TEMP1.JPG", bigTemp);
    NewPicturesPage& page = t.open();
    ASSERT_EQ(t.shownNames(), QStringList({"big.jpg", "TEMP.jpg", "TEMP1.JPG"}) + hyphens(6));
    page.claimNumberEdit->setText("AB123456");

    // big.jpg: TEMP.jpg and TEMP1.jpg are taken, so the resize writes TEMP2.jpg.
    t.boxes.answer(BoxButton::Yes);
    t.drop(1, t.before());
    EXPECT_EQ(page.WorkingName, QStringLiteral("TEMP2.jpg"));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\TEMP.jpg"), small);
    EXPECT_EQ(t.drive.readFile("c:\\picture\\TEMP1.JPG"), bigTemp);
    EXPECT_EQ(pictures::identify(t.drive.host("c:\\picture\\AB123456\\AB123456001.jpg")),
              QStringLiteral("800 600 JPEG 90 None"));

    // TEMP1.JPG itself, oversize: its resize goes to TEMP2.JPG, then both leave.
    t.boxes.answer(BoxButton::Yes);
    t.drop(3, t.before());
    EXPECT_EQ(page.WorkingName, QStringLiteral("TEMP2.JPG"));
    EXPECT_EQ(pictures::identify(t.drive.host("c:\\picture\\AB123456\\AB123456002.JPG")),
              QStringLiteral("800 600 JPEG 90 None"));
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList({"TEMP.jpg"}));
    EXPECT_EQ(t.boxes.count(), 2) << t.boxes.texts().join('\n').toStdString();
}

TEST(NewPicturesPage, AFileGoneSinceTheListWasReadFailsWithFileNotFound) {
    PageTest t;
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    NewPicturesPage& page = t.open();
    QFile::remove(t.drive.host("c:\\picture\\a.jpg"));
    page.claimNumberEdit->setText("AB123456");
    t.drop(1, t.before());
    ASSERT_EQ(t.boxes.count(), 1);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("File not found."));
    EXPECT_FALSE(files::exists("c:\\picture\\AB123456"));
    EXPECT_EQ(t.shownNames(), QStringList({"a.jpg"}) + hyphens(8));
    EXPECT_EQ(page.PageOffset, -1);
}

TEST(NewPicturesPage, AClaimFolderNameWithoutASequenceNumberStopsTheFiling) {
    PageTest t;
    const QByteArray big = pictures::jpeg(1000, 800, true);
    t.inbox("big.jpg", big);
    t.drive.writeFile("c:\\picture\\AB123456\\notes.jpg", "x");
    NewPicturesPage& page = t.open();
    page.claimNumberEdit->setText("AB123456");
    t.boxes.answer(BoxButton::Yes);
    t.drop(1, t.before());
    ASSERT_EQ(t.boxes.count(), 2);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("'g' is not a valid integer value."));
    // Nothing copied or deleted, and the resize's temporary file is gone again.
    EXPECT_EQ(QDir(t.drive.host("c:\\picture")).entryList(QDir::Files), QStringList({"big.jpg"}));
    EXPECT_EQ(t.drive.readFile("c:\\picture\\big.jpg"), big);
    EXPECT_EQ(QDir(t.drive.host("c:\\picture\\AB123456")).entryList(QDir::Files), QStringList({"notes.jpg"}));
    EXPECT_TRUE(QDir(t.drive.host("c:\\picture\\transfer")).isEmpty());
}

TEST(NewPicturesPage, APictureThatCannotBeLoadedStopsTheFillAtItsCell) {
    PageTest t;
    for (int i = 1; i <= 12; ++i)
        t.inbox(photo(i), pictures::jpeg(16, 16, false, i));
    t.inbox(photo(11), "this is not a JPEG");
    NewPicturesPage& page = t.open();
    ASSERT_EQ(t.boxes.count(), 0);

    // Next stops at the damaged picture: later cells stay hidden and Next stays enabled.
    page.nextButton->click();
    ASSERT_EQ(t.boxes.count(), 1);
    EXPECT_EQ(t.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("JPEG error #53."));
    EXPECT_EQ(t.shownNames(), QStringList({photo(10)}) + hyphens(8));
    EXPECT_EQ(page.PageOffset, 9);
    EXPECT_TRUE(page.nextButton->isEnabled());

    // A first fill that fails leaves the offset and Next as they were. The picture's header reads well;
    // its pixels cannot be decoded.
    t.inbox(photo(3), pictures::damagedAfterHeader(pictures::jpeg(16, 16)));
    page.refreshButton->click();
    ASSERT_EQ(t.boxes.count(), 2);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("JPEG error #8."));
    EXPECT_EQ(t.shownNames(), QStringList({photo(1), photo(2)}) + hyphens(7));
    EXPECT_EQ(page.PageOffset, 9);
}

TEST(NewPicturesPage, DoubleClickOnAShownNameBarAsksForItsPreview) {
    PageTest t;
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    t.inbox("b.jpg", pictures::jpeg(16, 16));
    NewPicturesPage& page = t.open();
    t.window().show();
    QStringList previewed;
    page.Zoom = [&](TPanel* nameBar) { previewed << nameBar->text(); };
    QTest::mouseDClick(page.cellNameBars[1], Qt::LeftButton);
    page.PanelDblClick(1);
    EXPECT_EQ(previewed, QStringList({"b.jpg", "a.jpg"}));
}

TEST(NewPicturesPage, ADropThroughQtsDragAndDropEventsFilesThePicture) {
    PageTest t;
    t.inbox("a.jpg", pictures::jpeg(16, 16));
    NewPicturesPage& page = t.open();
    t.window().show();
    page.claimNumberEdit->setText("AB123456");

    // Data that names no image box of this window is refused: a file name, or a cell of another
    // running copy of the program.
    QMimeData fileName;
    fileName.setText("a.jpg");
    QMimeData otherProgram;
    otherProgram.setData("application/x-vorlex-image-box", "1 Image1");
    for (QMimeData* stranger : {&fileName, &otherProgram}) {
        QDragEnterEvent refused(QPoint(5, 5), Qt::MoveAction, stranger, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page.beforeRepairTarget, &refused);
        EXPECT_FALSE(refused.isAccepted()) << stranger->formats().join(' ').toStdString();
    }

    std::unique_ptr<QMimeData> data(TImage::dragData(page.cellImages[0]));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page.beforeRepairTarget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page.beforeRepairTarget, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(files::fileExists("c:\\picture\\a.jpg")); // filed once the drag has ended
    QCoreApplication::processEvents();
    EXPECT_TRUE(files::fileExists("c:\\picture\\AB123456\\AB123456001.jpg"));
    EXPECT_EQ(t.shownNames(), hyphens(9));
}

TEST(NewPicturesPage, EachCellOfAMixedPageShowsItsOwnPictureAndTheFirstFailureStopsNext) {
    PageTest t;
    // Photographs and scans of sizes of their own, so that a picture in the wrong cell shows.
    QStringList names;
    for (int i = 0; i < 18; ++i) {
        const bool scan = i % 4 == 3;
        names << QStringLiteral("p%1.%2").arg(i, 2, 10, QLatin1Char('0')).arg(scan ? "gif" : "JPG");
        if (scan) {
            QImage image(60 + 3 * i, 120 + 6 * i, QImage::Format_RGB32);
            image.fill(qRgb(10 * i, 0, 255));
            t.inbox(names.last(), pictures::gif(image));
        } else {
            t.inbox(names.last(), pictures::jpeg(200 + i, 100 + i, false, quint32(i)));
        }
    }
    // On the second page: a damaged scan in cell 3 and a damaged photograph in cell 6.
    t.inbox(names.at(11), "GIF89z and more");
    t.inbox(names.at(14), "this is not a JPEG");
    NewPicturesPage& page = t.open();
    ASSERT_EQ(t.shownNames(), names.mid(0, 9));
    const std::array<TPicClip*, 9> clips = {&page.cellClips[0], &page.cellClips[1], &page.cellClips[2],
                                            &page.cellClips[3], &page.cellClips[4], &page.cellClips[5],
                                            &page.cellClips[6], &page.cellClips[7], &page.cellClips[8]};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        const TPictureHolder& box = t.cellImage(i + 1)->Picture;
        if (i % 4 == 3) {
            EXPECT_EQ(clips.at(i)->Picture().width(), 60 + 3 * i);
            EXPECT_EQ(clips.at(i)->Picture().height(), 120 + 6 * i);
            EXPECT_EQ(box.width(), (60 + 3 * i) / 3);
            EXPECT_EQ(box.height(), (120 + 6 * i) / 6);
            ASSERT_TRUE(box.bitmap());
            EXPECT_EQ(box.bitmap()->image().pixel(1, 1) & 0xFFFFFF, qRgb(10 * i, 0, 255) & 0xFFFFFF);
        } else {
            EXPECT_FALSE(clips.at(i)->Picture().graphic());
            EXPECT_EQ(box.graphic()->className(), QStringLiteral("TJPEGImage"));
            EXPECT_EQ(box.width(), 200 + i);
            EXPECT_EQ(box.height(), 100 + i);
        }
    }
    EXPECT_EQ(page.WorkingName, names.at(8));

    page.nextButton->click();
    ASSERT_EQ(t.boxes.count(), 1);
    EXPECT_EQ(t.boxes.last().text, QStringLiteral("Unknown GIF version."));
    EXPECT_EQ(t.shownNames(), names.mid(9, 2) + hyphens(7));
    EXPECT_EQ(t.cellImage(1)->Picture.width(), 209);
    EXPECT_EQ(t.cellImage(2)->Picture.width(), 210);
    EXPECT_EQ(page.WorkingName, names.at(11));
    EXPECT_EQ(page.PageOffset, 9);
    EXPECT_TRUE(page.nextButton->isEnabled());
}

TEST(NewPicturesPage, RefreshAndADeclinedResizeAskForTheStartUpStepsAndCloseClosesTheWindow) {
    PageTest t;
    t.inbox("big.jpg", pictures::jpeg(1000, 800, true));
    NewPicturesPage& page = t.open();
    QSignalSpy asked(&page, &NewPicturesPage::startUpStepsWanted);
    page.refreshButton->click();
    EXPECT_EQ(asked.count(), 1);
    page.claimNumberEdit->setText("AB123456");
    t.boxes.answer(BoxButton::No);
    t.drop(1, t.before());
    EXPECT_EQ(asked.count(), 2);
    t.drop(1, t.documents()); // refused for its kind: no start-up steps
    EXPECT_EQ(asked.count(), 2);

    t.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.window()));
    page.closeButton->click();
    EXPECT_FALSE(t.window().isVisible());
}
