#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/ExifTool.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

int cli(const QStringList& args, QByteArray* output) {
    return runProgram(QStringLiteral(VORLEX_BINARY_DIR "/vorlex-cli"), args, output);
}

TEST(PictureCommand, InfoDrawAndResize) {
    TempDrive drive;
    drive.makeFolder(QStringLiteral("c:\\picture"));
    const QString photo = drive.host(QStringLiteral("c:\\picture\\IMG_0042.JPG"));
    const QString scan = drive.host(QStringLiteral("c:\\picture\\scan.gif"));
    convert({QStringLiteral("-seed"), QStringLiteral("6"), QStringLiteral("-size"),
             QStringLiteral("1200x900"), QStringLiteral("plasma:fractal"), photo});
    convert({QStringLiteral("-size"), QStringLiteral("40x30"), QStringLiteral("xc:white"),
             QStringLiteral("+antialias"), QStringLiteral("-fill"), QStringLiteral("blue"),
             QStringLiteral("-draw"), QStringLiteral("rectangle 5,5 20,20"), QStringLiteral("-transparent"),
             QStringLiteral("white"), scan});
    const QStringList drived{QStringLiteral("--drive-c"), drive.root(), QStringLiteral("picture")};

    QByteArray output;
    ASSERT_EQ(
        cli(QStringList(drived) << QStringLiteral("info") << QStringLiteral("c:\\picture\\img_0042.jpg"),
            &output),
        0)
        << output.toStdString();
    EXPECT_TRUE(output.startsWith("Kind TJPEGImage\nWidth 1200\nHeight 900\n")) << output.toStdString();

    // Drawn over silver: the transparent white shows silver, stretched 3 times.
    const QString drawn = drive.host(QStringLiteral("c:\\drawn.png"));
    ASSERT_EQ(cli(QStringList(drived)
                      << QStringLiteral("draw") << QStringLiteral("c:\\picture\\scan.gif")
                      << QStringLiteral("120") << QStringLiteral("90") << QStringLiteral("c:\\drawn.png"),
                  &output),
              0)
        << output.toStdString();
    const QString expected = drive.host(QStringLiteral("c:\\expected.png"));
    convert({QStringLiteral("-size"), QStringLiteral("40x30"), QStringLiteral("xc:silver"), scan,
             QStringLiteral("-composite"), QStringLiteral("-sample"), QStringLiteral("120x90!"),
             QStringLiteral("PNG24:") + expected});
    EXPECT_TRUE(firstDifference(QImage(expected), imageMagickPixels(drawn)).isEmpty());

    ASSERT_EQ(cli(QStringList(drived)
                      << QStringLiteral("resize") << QStringLiteral("c:\\picture\\IMG_0042.JPG")
                      << QStringLiteral("c:\\picture\\TEMP.JPG"),
                  &output),
              0)
        << output.toStdString();
    EXPECT_EQ(identify(drive.host(QStringLiteral("c:\\picture\\TEMP.JPG")),
                       QStringLiteral("%w %h %Q %[interlace]")),
              QStringLiteral("800 600 90 None"));

    // libjpeg's warnings (here: data that ends early) are not shown.
    drive.writeFile(QStringLiteral("c:\\picture\\cut.jpg"),
                    drive.readFile(QStringLiteral("c:\\picture\\IMG_0042.JPG")).left(20000));
    ASSERT_EQ(cli(QStringList(drived)
                      << QStringLiteral("draw") << QStringLiteral("c:\\picture\\cut.jpg")
                      << QStringLiteral("100") << QStringLiteral("75") << QStringLiteral("c:\\cut.png"),
                  &output),
              0);
    EXPECT_TRUE(output.isEmpty()) << output.toStdString();

    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("info") << QStringLiteral("c:\\picture\\photo.png"),
                  &output),
              1);
    EXPECT_TRUE(output.contains("Unknown picture file extension (.png)")) << output.toStdString();
}

TEST(PictureCommand, InfoShowsTheCaptureRecordAndResizeCarriesIt) {
    TempDrive drive;
    drive.makeFolder(QStringLiteral("c:\\picture"));
    const QString photo = drive.host(QStringLiteral("c:\\picture\\DSC_0001.JPG"));
    const QString thumb = drive.host(QStringLiteral("c:\\thumb.jpg"));
    convert({QStringLiteral("-seed"), QStringLiteral("2"), QStringLiteral("-size"),
             QStringLiteral("1200x900"), QStringLiteral("plasma:fractal"), QStringLiteral("-quality"),
             QStringLiteral("92"), photo});
    convert({QStringLiteral("-size"), QStringLiteral("160x120"), QStringLiteral("xc:orange"), thumb});
    const QString bare = drive.host(QStringLiteral("c:\\picture\\bare.jpg"));
    QFile::copy(photo, bare);
    exiftool::write(photo, {QStringLiteral("-Make=NIKON CORPORATION"), QStringLiteral("-Model=NIKON D750"),
                            QStringLiteral("-DateTimeOriginal=2024:05:01 10:22:33"),
                            QStringLiteral("-GPSLatitude=13.7563"), QStringLiteral("-GPSLatitudeRef=N"),
                            QStringLiteral("-ThumbnailImage<=") + thumb});
    const QStringList drived{QStringLiteral("--drive-c"), drive.root(), QStringLiteral("picture")};

    QByteArray output;
    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("info") << photo, &output), 0)
        << output.toStdString();
    EXPECT_TRUE(output.endsWith("Captured 2024:05:01 10:22:33\nCamera NIKON CORPORATION NIKON D750\n"))
        << output.toStdString();
    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("info") << bare, &output), 0) << output.toStdString();
    EXPECT_FALSE(output.contains("Captured")) << output.toStdString();
    EXPECT_FALSE(output.contains("Camera")) << output.toStdString();

    const QString out = drive.host(QStringLiteral("c:\\picture\\TEMP.JPG"));
    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("resize") << photo << out, &output), 0)
        << output.toStdString();
    EXPECT_EQ(output, QByteArray("Width 800\nHeight 600\nExif kept\n"));
    const QJsonObject tags = exiftool::exifTags(out);
    EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2024:05:01 10:22:33"));
    EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), 800);
    EXPECT_EQ(tags.value("ExifIFD:ExifImageHeight").toInt(), 600);
    EXPECT_DOUBLE_EQ(tags.value("GPS:GPSLatitude").toDouble(), 13.7563);
    EXPECT_FALSE(tags.contains("IFD1:ThumbnailImage"));
    EXPECT_EQ(identify(out, QStringLiteral("%w %h %Q %[interlace]")), QStringLiteral("800 600 90 None"));
    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("info") << out, &output), 0) << output.toStdString();
    EXPECT_TRUE(output.endsWith("Captured 2024:05:01 10:22:33\nCamera NIKON CORPORATION NIKON D750\n"))
        << output.toStdString();

    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("resize") << bare << out, &output), 0);
    EXPECT_EQ(output, QByteArray("Width 800\nHeight 600\nExif none\n"));

    // A record whose IFD0 lies past its end: left out, the picture still resized.
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray damaged = file.readAll();
    file.close();
    const qsizetype tiff = damaged.indexOf(QByteArray("Exif\0\0", 6)) + 6;
    damaged.replace(tiff + 4, 4, QByteArray::fromHex("7FFFFFFF"));
    drive.writeFile(QStringLiteral("c:\\picture\\damaged.jpg"), damaged);
    ASSERT_EQ(cli(QStringList(drived) << QStringLiteral("info") << QStringLiteral("c:\\picture\\damaged.jpg"),
                  &output),
              0);
    EXPECT_FALSE(output.contains("Captured")) << output.toStdString();
    ASSERT_EQ(cli(QStringList(drived)
                      << QStringLiteral("resize") << QStringLiteral("c:\\picture\\damaged.jpg") << out,
                  &output),
              0);
    EXPECT_EQ(output, QByteArray("Width 800\nHeight 600\nExif left out (damaged or too large)\n"));
    EXPECT_FALSE(exiftool::exifTags(out).contains("IFD0:Make"));
}

} // namespace
