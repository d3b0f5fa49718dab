#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/JpegImage.h"
#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/TempDrive.h"

#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

const QRgb kMarker = qRgb(1, 254, 3);

// Every pixel of a box takes the source pixel under the box pixel's centre.
QImage nearestNeighbour(const QImage& source, const QSize& box) {
    QImage out(box, QImage::Format_RGB32);
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x) {
            const int sx = int((2 * qint64(x) + 1) * source.width() / (2 * qint64(box.width())));
            const int sy = int((2 * qint64(y) + 1) * source.height() / (2 * qint64(box.height())));
            out.setPixel(x, y, source.pixel(sx, sy));
        }
    return out;
}

// A picture of distinct colours, so that any pixel taken from the wrong place shows.
QImage distinctPixels(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255));
    return image;
}

TEST(Stretch, BitmapFillsTheBoxExactlyFromTheNearestPixels) {
    TempDrive drive;
    const QImage source = distinctPixels(300, 200);
    TBitmap bitmap(source);
    const struct {
        QRect box;
    } cases[] = {{QRect(10, 5, 110, 80)}, {QRect(0, 0, 300, 200)}, {QRect(3, 7, 601, 37)},
                 {QRect(20, 20, 1, 1)},   {QRect(0, 0, 149, 125)}, {QRect(7, 2, 900, 650)}};
    for (const auto& c : cases) {
        QImage surface(c.box.right() + 9, c.box.bottom() + 9, QImage::Format_RGB32);
        surface.fill(kMarker);
        TCanvas canvas(surface);
        canvas.stretchDraw(c.box, &bitmap);
        const QImage inside = surface.copy(c.box);
        const QString difference = firstDifference(nearestNeighbour(source, c.box.size()), inside);
        EXPECT_TRUE(difference.isEmpty())
            << c.box.width() << "x" << c.box.height() << ": " << difference.toStdString();
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                if (!c.box.contains(x, y)) {
                    ASSERT_EQ(surface.pixel(x, y), kMarker) << "outside at " << x << "," << y;
                }
    }
}

TEST(Stretch, LargeJpegInASmallBoxIsSampledFromItsReducedDecoding) {
    TempDrive drive;
    drive.makeFolder(QStringLiteral("c:\\picture"));
    const QString path = drive.host(QStringLiteral("c:\\picture\\IMG_1600.JPG"));
    convert({QStringLiteral("-seed"), QStringLiteral("8"), QStringLiteral("-size"),
             QStringLiteral("1600x1200"), QStringLiteral("plasma:fractal"), path});
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\IMG_1600.JPG"));

    // 1600 by 1200 at one eighth is 200 by 150: still more than the box, so that is what is decoded.
    QImage surface(130, 100, QImage::Format_RGB32);
    surface.fill(kMarker);
    TCanvas canvas(surface);
    const QRect box(10, 10, 110, 80);
    canvas.stretchDraw(box, &jpeg);
    const QImage expected =
        nearestNeighbour(djpegPixels(path, {QStringLiteral("-scale"), QStringLiteral("1/8")}), box.size());
    EXPECT_LE(maxChannelDifference(expected, surface.copy(box)), 2);
    EXPECT_EQ(surface.pixel(9, 9), kMarker);
    EXPECT_EQ(surface.pixel(120, 90), kMarker);
    EXPECT_NE(surface.pixel(119, 89), kMarker);

    // A box as large as the picture needs the full decoding.
    QImage large(1600, 1200, QImage::Format_RGB32);
    TCanvas largeCanvas(large);
    largeCanvas.stretchDraw(large.rect(), &jpeg);
    EXPECT_LE(maxChannelDifference(djpegPixels(path), large), 2);
}

TEST(Stretch, PainterSurfacesGetTheSamePixels) {
    TempDrive drive;
    TBitmap bitmap(distinctPixels(97, 61));
    const QRect box(4, 6, 148, 125);
    QImage direct(160, 140, QImage::Format_RGB32);
    direct.fill(kMarker);
    TCanvas directCanvas(direct);
    directCanvas.stretchDraw(box, &bitmap);

    // A widget's paintEvent draws through a painter, and draws again on every repaint.
    QImage widget(160, 140, QImage::Format_ARGB32_Premultiplied);
    widget.fill(kMarker);
    {
        QPainter painter(&widget);
        TCanvas canvas(painter);
        canvas.stretchDraw(box, &bitmap);
        canvas.stretchDraw(box, &bitmap);
    }
    EXPECT_TRUE(firstDifference(direct, widget).isEmpty());

    // A box larger than the widget, partly off it: the part on the widget is the same.
    const QRect overhanging(-50, -30, 400, 300);
    directCanvas.stretchDraw(overhanging, &bitmap);
    {
        QPainter painter(&widget);
        TCanvas canvas(painter);
        canvas.stretchDraw(overhanging, &bitmap);
    }
    EXPECT_TRUE(firstDifference(direct, widget).isEmpty());

    // A scaled painter (a zoomed preview) fills the box as it lands on the device.
    QImage zoomed(320, 280, QImage::Format_RGB32);
    zoomed.fill(kMarker);
    {
        QPainter painter(&zoomed);
        painter.scale(2, 2);
        TCanvas canvas(painter);
        EXPECT_EQ(canvas.deviceSize(box), QSize(296, 250));
        canvas.stretchDraw(box, &bitmap);
    }
    QImage expectedZoomed(320, 280, QImage::Format_RGB32);
    expectedZoomed.fill(kMarker);
    TCanvas expectedCanvas(expectedZoomed);
    expectedCanvas.stretchDraw(QRect(8, 12, 296, 250), &bitmap);
    EXPECT_TRUE(firstDifference(expectedZoomed, zoomed).isEmpty());
}

TEST(Stretch, RecordedPicturesAreFilledToo) {
    TempDrive drive;
    QImage plain(20, 10, QImage::Format_RGB32);
    plain.fill(qRgb(10, 20, 30));
    TBitmap bitmap(plain);
    QPicture recording;
    {
        QPainter painter(&recording);
        TCanvas canvas(painter);
        canvas.stretchDraw(QRect(0, 0, 50, 40), &bitmap);
    }
    QImage played(60, 50, QImage::Format_RGB32);
    played.fill(kMarker);
    QPainter painter(&played);
    painter.drawPicture(0, 0, recording);
    painter.end();
    EXPECT_EQ(played.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(played.pixel(49, 39), qRgb(10, 20, 30));
    EXPECT_EQ(played.pixel(55, 45), kMarker);
}

TEST(Stretch, TransparentBitmapLeavesItsColourOut) {
    TempDrive drive;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 0));
    image.setPixel(1, 1, qRgb(255, 0, 0));
    TBitmap bitmap(image);
    EXPECT_EQ(bitmap.transparentColor(), QColor(128, 128, 0)); // the bottom-left pixel's
    bitmap.setTransparent(true);
    QImage surface(8, 8, QImage::Format_RGB32);
    surface.fill(Qt::white);
    TCanvas canvas(surface);
    canvas.stretchDraw(surface.rect(), &bitmap);
    EXPECT_EQ(surface.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(surface.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(7, 7), qRgb(255, 255, 255));
}

TEST(Stretch, DrawAtOwnSizeCutsOutARegion) {
    TempDrive drive;
    const QImage source = distinctPixels(90, 120);
    TBitmap picture(source);
    TBitmap cell;
    cell.setSize(30, 20);
    cell.canvas().fillRect(QRect(0, 0, 30, 20), QColor(192, 192, 192));
    cell.canvas().draw(-30, -40, &picture);
    EXPECT_TRUE(firstDifference(source.copy(30, 40, 30, 20), cell.image()).isEmpty());
}

TEST(Bitmap, NewBitmapsAreWhiteAndKeepTheirPixelsWhenResized) {
    TempDrive drive;
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.empty());
    bitmap.setSize(4, 3);
    EXPECT_EQ(bitmap.image().pixel(3, 2), qRgb(255, 255, 255));
    bitmap.canvas().fillRect(QRect(0, 0, 4, 3), Qt::red);
    bitmap.setSize(6, 5);
    EXPECT_EQ(bitmap.image().pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.image().pixel(5, 4), qRgb(255, 255, 255));
}

TEST(Bitmap, BmpFilesRoundTripWithImageMagick) {
    TempDrive drive;
    const QString made = drive.host(QStringLiteral("c:\\made.bmp"));
    convert({QStringLiteral("-seed"), QStringLiteral("1"), QStringLiteral("-size"), QStringLiteral("45x31"),
             QStringLiteral("plasma:fractal"), QStringLiteral("-type"), QStringLiteral("TrueColor"),
             QStringLiteral("BMP3:") + made});
    TBitmap bitmap;
    bitmap.loadFromFile(QStringLiteral("c:\\made.bmp"));
    EXPECT_TRUE(firstDifference(imageMagickPixels(made), bitmap.image()).isEmpty());
    bitmap.saveToFile(QStringLiteral("c:\\saved.bmp"));
    EXPECT_TRUE(
        firstDifference(bitmap.image(), imageMagickPixels(drive.host(QStringLiteral("c:\\saved.bmp"))))
            .isEmpty());
}

} // namespace
