#include "filing/Resize.h"
#include "codecs/JpegCodec.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/filing/FilingFixture.h"

#include <gtest/gtest.h>

TEST(Resize, TemporaryNameKeepsTheExtensionAndAvoidsInboxPictures) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    EXPECT_EQ(filing::temporaryName("IMG_0001.JPG"), QStringLiteral("TEMP.JPG"));
    EXPECT_EQ(filing::temporaryName("img_0001.jpg"), QStringLiteral("TEMP.jpg"));
    drive.writeFile("c:\\picture\\temp.jpg", "x");
    EXPECT_EQ(filing::temporaryName("IMG_0001.JPG"), QStringLiteral("TEMP1.JPG"));
    drive.writeFile("c:\\picture\\TEMP1.JPG", "x");
    drive.makeFolder("c:\\picture\\TEMP2.JPG");
    EXPECT_EQ(filing::temporaryName("img_0001.jpg"), QStringLiteral("TEMP3.jpg"));
    EXPECT_EQ(filing::temporaryName("scan.gif"), QStringLiteral("TEMP.gif"));
}

TEST(Resize, APhotographIsStretchedToEightHundredBySixHundred) {
    TempDrive drive;
    // Left half white, right half black; portrait, so stretched rather than turned.
    QImage portrait(600, 800, QImage::Format_RGB32);
    portrait.fill(Qt::white);
    for (int y = 0; y < 800; ++y)
        for (int x = 300; x < 600; ++x)
            portrait.setPixel(x, y, qRgb(0, 0, 0));
    codecs::jpeg::EncodeOptions options;
    drive.writeFile("c:\\picture\\p.jpg", codecs::jpeg::encode(portrait, options));
    int beeps = 0;
    filing::writeResized("c:\\picture\\p.jpg", "c:\\picture\\TEMP.jpg", [&] { ++beeps; });
    EXPECT_EQ(beeps, 0);
    const QString out = drive.host("c:\\picture\\TEMP.jpg");
    EXPECT_EQ(pictures::identify(out), QStringLiteral("800 600 JPEG 90 None"));
    const QImage back(out);
    EXPECT_GT(qGray(back.pixel(100, 300)), 240);
    EXPECT_LT(qGray(back.pixel(700, 300)), 15);
}

TEST(Resize, TheStretchSamplesNearestNeighbourWithoutAveraging) {
    TempDrive drive;
    // One-pixel columns, white and black by turns: halving them picks one colour of each pair, where any
    // averaging gives grey.
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    codecs::jpeg::EncodeOptions options;
    options.quality = 100;
    drive.writeFile("c:\\picture\\s.jpg", codecs::jpeg::encode(stripes, options));
    filing::writeResized("c:\\picture\\s.jpg", "c:\\picture\\TEMP.jpg", {});
    const QImage back(drive.host("c:\\picture\\TEMP.jpg"));
    ASSERT_EQ(back.size(), QSize(800, 600));
    int grey = 0;
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            if (qGray(back.pixel(x, y)) > 48 && qGray(back.pixel(x, y)) < 208) ++grey;
    EXPECT_EQ(grey, 0);
}

TEST(Resize, AFailedStretchBeepsAndWritesTheFileUnchanged) {
    TempDrive drive;
    const QByteArray damaged = pictures::damagedAfterHeader(pictures::jpeg(1200, 900, true));
    drive.writeFile("c:\\picture\\d.jpg", damaged);
    int beeps = 0;
    filing::writeResized("c:\\picture\\d.jpg", "c:\\picture\\TEMP.jpg", [&] { ++beeps; });
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(drive.readFile("c:\\picture\\TEMP.jpg"), damaged);
}

TEST(Resize, WhatCannotBeResizedFailsWithItsMessage) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\scan.gif", pictures::gif(QImage(40, 40, QImage::Format_RGB32)));
    drive.writeFile("c:\\picture\\a.jpg", pictures::jpeg(40, 40));
    drive.writeFile("c:\\picture\\file", "x");
    const auto failure = [](const QString& source, const QString& target) {
        try {
            filing::writeResized(source, target, {});
        } catch (const platform::Error& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(failure("c:\\picture\\scan.gif", "c:\\picture\\TEMP.gif"), QStringLiteral("JPEG error #53"));
    EXPECT_FALSE(platform::files::exists("c:\\picture\\TEMP.gif"));
    EXPECT_TRUE(failure("c:\\picture\\a.jpg", "c:\\picture\\file\\TEMP.jpg")
                    .startsWith(QStringLiteral("Cannot create file \"")));
}
