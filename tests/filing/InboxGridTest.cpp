#include "filing/InboxGrid.h"
#include "platform/Error.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <gtest/gtest.h>

#include <array>

namespace {

// Cells that remember what they show; loading a name listed in `broken` fails like a damaged picture.
class FakeCells : public filing::GridCells {
public:
    void hideAll() override { shown.fill(QString()); }
    void prepare(const QList<filing::PageEntry>& page) override {
        QStringList entries;
        for (const filing::PageEntry& entry : page)
            entries << QStringLiteral("%1:%2").arg(entry.cell).arg(entry.name);
        loads.append("prepare " + entries.join(' '));
    }
    void load(int cell, const QString& name) override {
        loads.append(name);
        if (broken.contains(name)) throw platform::Error("JPEG error #53");
        shown.at(cell - 1) = name;
    }
    bool isShown(int cell) const override { return !shown.at(cell - 1).isEmpty(); }
    void setNextEnabled(bool enabled) override { nextEnabled = enabled; }

    QStringList page() const {
        QStringList names;
        for (const QString& name : shown)
            names << (name.isEmpty() ? QStringLiteral("-") : name);
        return names;
    }

    std::array<QString, filing::kGridCells> shown;
    QStringList loads; // and before them, each page announced by prepare
    QStringList broken;
    bool nextEnabled = false;
};

QString pictureName(int i) {
    return QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
}

// An inbox of `count` pictures p00.jpg, p01.jpg, ...
FileList inboxOf(const TempDrive& drive, int count) {
    drive.makeFolder("c:\\picture");
    for (int i = 0; i < count; ++i)
        drive.writeFile("c:\\picture\\" + pictureName(i), "x");
    return FileList(QString(), filing::inboxPatternText());
}

QStringList names(int from, int to) {
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << pictureName(i);
    while (list.size() < filing::kGridCells)
        list << QStringLiteral("-");
    return list;
}

} // namespace

TEST(InboxGrid, InboxListsPhotographsAndScansAlphabeticallyWithoutCase) {
    TempDrive drive;
    for (const char* name :
         {"b.JPG", "A.gif", "d.jpg", "IMG_2.jpg", "img_3.GIF", "Img_1.JPG", "notes.txt", "c.png"})
        drive.writeFile(QStringLiteral("c:\\picture\\") + name, "x");
    drive.makeFolder("c:\\picture\\x.jpg");
    drive.makeFolder("c:\\picture\\AB123456");
    drive.writeFile("c:\\picture\\AB123456\\AB123456001.jpg", "x");
    FileList inbox(QString(), filing::inboxPatternText());
    EXPECT_EQ(inbox.items(), QStringList({"A.gif", "b.JPG", "d.jpg", "Img_1.JPG", "IMG_2.jpg", "img_3.GIF"}));
}

TEST(InboxGrid, PagesOfNoneNineTenAndEighteen) {
    // Next stays enabled after every first fill and after a page that ends with the list's last picture.
    const struct {
        int pictures;
        QStringList secondPage;
        bool nextAfterSecond;
        QStringList thirdPage;
    } cases[] = {{0, names(0, -1), false, names(0, -1)},
                 {9, names(0, -1), false, names(0, -1)},
                 {10, names(9, 9), false, names(0, -1)},
                 {18, names(9, 17), true, names(0, -1)}};
    for (const auto& c : cases) {
        TempDrive drive;
        FileList inbox = inboxOf(drive, c.pictures);
        FakeCells cells;
        int offset = 7;
        filing::firstFill(inbox, offset, cells);
        EXPECT_EQ(cells.page(), names(0, std::min(8, c.pictures - 1))) << c.pictures;
        EXPECT_EQ(offset, 0);
        EXPECT_TRUE(cells.nextEnabled);
        filing::nextPage(inbox, offset, cells);
        EXPECT_EQ(cells.page(), c.secondPage) << c.pictures;
        EXPECT_EQ(cells.nextEnabled, c.nextAfterSecond) << c.pictures;
        filing::nextPage(inbox, offset, cells);
        EXPECT_EQ(cells.page(), c.thirdPage) << c.pictures;
        EXPECT_FALSE(cells.nextEnabled) << c.pictures;
    }
}

TEST(InboxGrid, TakingRemovesTheFirstExactlyEqualName) {
    TempDrive drive;
    // Names that differ in case only can stand side by side on this file system.
    drive.makeFolder("c:\\picture");
    for (const char* name : {"a.jpg", "A.JPG"}) {
        QFile file(drive.root() + "/picture/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    FileList inbox(QString(), filing::inboxPatternText());
    ASSERT_EQ(inbox.count(), 2);
    int offset = 0;
    filing::takeFromInbox(inbox, offset, "A.JPG");
    EXPECT_EQ(inbox.items(), QStringList({"a.jpg"}));
    filing::takeFromInbox(inbox, offset, "gone.jpg");
    EXPECT_EQ(inbox.items(), QStringList({"a.jpg"}));
    EXPECT_EQ(offset, -2);
}

TEST(InboxGrid, APictureThatFailsStopsTheFillAtItsCell) {
    TempDrive drive;
    FileList inbox = inboxOf(drive, 12);
    FakeCells cells;
    int offset = 0;
    filing::firstFill(inbox, offset, cells);
    filing::nextPage(inbox, offset, cells);
    ASSERT_FALSE(cells.nextEnabled);

    // First fill: cells from the broken one on stay hidden, offset and Next stay as they were.
    cells.broken = {pictureName(3)};
    EXPECT_THROW(filing::firstFill(inbox, offset, cells), platform::Error);
    EXPECT_EQ(cells.page(), names(0, 2));
    EXPECT_EQ(offset, 9);
    EXPECT_FALSE(cells.nextEnabled);

    // Next: the offset has moved on, Next stays enabled.
    cells.broken = {pictureName(10)};
    cells.nextEnabled = true;
    offset = 0;
    EXPECT_THROW(filing::nextPage(inbox, offset, cells), platform::Error);
    EXPECT_EQ(offset, 9);
    EXPECT_EQ(cells.page(), names(9, 9));
    EXPECT_TRUE(cells.nextEnabled);
}

TEST(InboxGrid, EachPageIsAnnouncedWholeBeforeItsCellsLoadInOrder) {
    TempDrive drive;
    FileList inbox = inboxOf(drive, 20);
    FakeCells cells;
    int offset = 0;
    const auto announced = [](int firstCell, int from, int to) {
        QStringList entries;
        for (int i = from; i <= to; ++i)
            entries << QStringLiteral("%1:%2").arg(firstCell + i - from).arg(pictureName(i));
        return QStringList({"prepare " + entries.join(' ')}) + names(from, to).mid(0, to - from + 1);
    };
    filing::firstFill(inbox, offset, cells);
    EXPECT_EQ(cells.loads, announced(1, 0, 8));

    // Two pictures filed from the first page: the next one starts at the first not yet shown.
    filing::takeFromInbox(inbox, offset, pictureName(0));
    filing::takeFromInbox(inbox, offset, pictureName(4));
    cells.loads.clear();
    filing::nextPage(inbox, offset, cells);
    EXPECT_EQ(cells.loads, QStringList({"prepare 1:p09.jpg 2:p10.jpg 3:p11.jpg 4:p12.jpg 5:p13.jpg 6:p14.jpg "
                                        "7:p15.jpg 8:p16.jpg 9:p17.jpg",
                                        "p09.jpg", "p10.jpg", "p11.jpg", "p12.jpg", "p13.jpg", "p14.jpg",
                                        "p15.jpg", "p16.jpg", "p17.jpg"}));
    cells.loads.clear();
    filing::nextPage(inbox, offset, cells);
    EXPECT_EQ(cells.loads, announced(1, 18, 19));
    EXPECT_FALSE(cells.nextEnabled);

    // A failure ends the loads at its cell though the whole page was announced.
    cells.broken = {pictureName(2)};
    cells.loads.clear();
    EXPECT_THROW(filing::firstFill(inbox, offset, cells), platform::Error);
    EXPECT_EQ(cells.loads, QStringList({"prepare 1:p01.jpg 2:p02.jpg 3:p03.jpg 4:p05.jpg 5:p06.jpg 6:p07.jpg "
                                        "7:p08.jpg 8:p09.jpg 9:p10.jpg",
                                        "p01.jpg", "p02.jpg"}));
}
