#include "filing/PicClip.h"
#include "codecs/Bitmap.h"
#include "filing/CellPicture.h"
#include "platform/Error.h"
#include "tests/filing/FilingFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A picture whose every pixel differs from its neighbours, so that any offset shows.
QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37) % 256, (y * 23) % 256, (x + y) % 7 * 30));
    return image;
}

// The region as ImageMagick crops it out of the file.
QImage cropped(const QString& hostPath, const QRect& region) {
    QTemporaryDir dir;
    const QString out = dir.filePath("crop.png");
    const QString geometry = QStringLiteral("%1x%2+%3+%4")
                                 .arg(region.width())
                                 .arg(region.height())
                                 .arg(region.x())
                                 .arg(region.y());
    EXPECT_EQ(runProgram(imageMagickConvert(), {hostPath, "-crop", geometry, "+repage", out}), 0);
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

QImage pixelsOf(const TBitmap& bitmap) {
    return bitmap.image().convertToFormat(QImage::Format_RGB32);
}

// The pixels that differ, as "x,y ours theirs" lines, or the size mismatch; empty when alike.
QString differences(const QImage& ours, const QImage& theirs) {
    if (ours.size() != theirs.size())
        return QStringLiteral("size %1x%2 against %3x%4")
            .arg(ours.width())
            .arg(ours.height())
            .arg(theirs.width())
            .arg(theirs.height());
    QStringList lines;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            if ((ours.pixel(x, y) & 0xFFFFFF) != (theirs.pixel(x, y) & 0xFFFFFF) && lines.size() < 5)
                lines << QStringLiteral("%1,%2 %3 %4")
                             .arg(x)
                             .arg(y)
                             .arg(ours.pixel(x, y), 0, 16)
                             .arg(theirs.pixel(x, y), 0, 16);
    return lines.join('\n');
}

} // namespace

TEST(PicClip, CellsOfAGifAreItsRegionsRowByRow) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\scan.gif", pictures::gif(pattern(92, 125)));
    TPicClip clip;
    clip.Cols = 3;
    clip.Rows = 6;
    clip.Picture().loadFromFile("c:\\picture\\scan.gif");
    EXPECT_EQ(clip.MaskColor, QColor(128, 128, 0));
    // 92 div 3 = 30 wide, 125 div 6 = 20 high.
    for (const int index : {0, 4, 17}) {
        const TBitmap& cell = clip.GraphicCell(index);
        const QRect region((index % 3) * 30, (index / 3) * 20, 30, 20);
        EXPECT_EQ(differences(pixelsOf(cell), cropped(drive.host("c:\\picture\\scan.gif"), region)),
                  QString())
            << index;
        EXPECT_TRUE(cell.transparent());
        EXPECT_EQ(cell.transparentColor(), QColor(128, 128, 0));
    }
}

TEST(PicClip, TransparentPixelsOfAGifLeaveSilver) {
    TempDrive drive;
    QImage image(60, 60, QImage::Format_ARGB32);
    image.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 0));
    drive.writeFile("c:\\picture\\scan.gif", pictures::gif(image));
    TPicClip clip;
    clip.Cols = 3;
    clip.Rows = 6;
    clip.Picture().loadFromFile("c:\\picture\\scan.gif");
    const QImage cell = pixelsOf(clip.GraphicCell(0));
    ASSERT_EQ(cell.size(), QSize(20, 10));
    EXPECT_EQ(cell.pixel(3, 3), qRgb(192, 192, 192));
    const QImage below = pixelsOf(clip.GraphicCell(3));
    EXPECT_EQ(below.pixel(3, 3), qRgb(0, 0, 255));
}

TEST(PicClip, ABitmapIsCopiedAndGivesItsOwnMaskColour) {
    TempDrive drive;
    QImage image = pattern(60, 40);
    image.setPixel(0, 39, qRgb(1, 2, 3));
    QTemporaryDir dir;
    ASSERT_TRUE(image.save(drive.root() + "/tile.bmp"));
    TPicClip clip;
    clip.Cols = 2;
    clip.Rows = 2;
    clip.Picture().loadFromFile("c:\\tile.bmp");
    EXPECT_EQ(clip.MaskColor, QColor(1, 2, 3));
    EXPECT_EQ(pixelsOf(clip.GraphicCell(3)), image.copy(30, 20, 30, 20));
    EXPECT_EQ(clip.GraphicCell(3).transparentColor(), QColor(1, 2, 3));
    // Back to olive when the picture is no longer a bitmap.
    drive.writeFile("c:\\a.jpg", pictures::jpeg(30, 30));
    clip.Picture().loadFromFile("c:\\a.jpg");
    EXPECT_EQ(clip.MaskColor, QColor(128, 128, 0));
    clip.Masked = false;
    EXPECT_FALSE(clip.GraphicCell(0).transparent());
}

TEST(PicClip, AnIndexOutsideTheCellsFails) {
    TPicClip clip;
    clip.Cols = 3;
    clip.Rows = 6;
    for (const int index : {-1, 18, 100}) {
        try {
            clip.GraphicCell(index);
            ADD_FAILURE() << index;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    }
}

TEST(PicClip, CellPicturesOfTheGrid) {
    const QSize kCell(148, 125);
    TempDrive drive;
    drive.writeFile("c:\\picture\\photo.Jpg", pictures::jpeg(400, 300));
    drive.writeFile("c:\\picture\\scan.Gif", pictures::gif(pattern(900, 1200)));
    TPicClip clip;
    clip.Cols = filing::kClipCols;
    clip.Rows = filing::kClipRows;
    TPictureHolder box;
    filing::loadCellPicture("photo.Jpg", clip, box, kCell);
    EXPECT_EQ(box.graphic()->className(), QStringLiteral("TJPEGImage"));
    EXPECT_EQ(box.width(), 400);
    filing::loadCellPicture("scan.Gif", clip, box, kCell);
    ASSERT_TRUE(box.bitmap());
    EXPECT_EQ(box.width(), 300);
    EXPECT_EQ(box.height(), 200);
    EXPECT_EQ(differences(pixelsOf(*box.bitmap()),
                          cropped(drive.host("c:\\picture\\scan.Gif"), QRect(0, 0, 300, 200))),
              QString());
    // A picture whose header, pixels or file is wrong fails.
    drive.writeFile("c:\\picture\\bad.jpg", "GIF89a");
    drive.writeFile("c:\\picture\\damaged.jpg", pictures::damagedAfterHeader(pictures::jpeg(400, 300)));
    for (const char* name : {"bad.jpg", "damaged.jpg", "gone.jpg"})
        EXPECT_THROW(filing::loadCellPicture(name, clip, box, kCell), platform::Error) << name;
}
