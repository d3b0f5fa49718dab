#include "filing/Resize.h"
#include "codecs/Exif.h"
#include "codecs/JpegCodec.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "tests/filing/FilingFixture.h"
#include "tests/support/ExifTool.h"

#include <QJsonObject>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The JPEG without its first APP1 segment, which must follow the start marker.
QByteArray withoutFirstSegment(const QByteArray& jpeg) {
    EXPECT_EQ(jpeg.left(4), QByteArray::fromHex("FFD8FFE1"));
    const int length = uchar(jpeg[4]) << 8 | uchar(jpeg[5]);
    return jpeg.left(2) + jpeg.mid(4 + length);
}

// The photograph with its APP1 "Exif" segment's record replaced (same place, new length).
QByteArray withRecordReplaced(const QByteArray& jpeg, const QByteArray& record) {
    const qsizetype at = jpeg.indexOf(QByteArray("Exif\0\0", 6));
    EXPECT_GT(at, 4);
    const int length = uchar(jpeg[at - 2]) << 8 | uchar(jpeg[at - 1]);
    const int newLength = int(record.size()) + 8;
    return jpeg.left(at - 2) + char(newLength >> 8) + char(newLength & 0xFF) + QByteArray("Exif\0\0", 6) +
           record + jpeg.mid(at - 2 + length);
}

quint32 read32(const QByteArray& tiff, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(tiff.constData() + at);
    return tiff.startsWith("MM") ? quint32(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]
                                 : quint32(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
}

void write32(QByteArray& tiff, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        tiff[at + (tiff.startsWith("MM") ? 3 - i : i)] = char(v >> (8 * i));
}

// Where IFD0's entry for `tag` keeps its value or offset.
qsizetype ifd0Value(const QByteArray& tiff, quint16 tag) {
    const qsizetype ifd0 = read32(tiff, 4);
    const bool big = tiff.startsWith("MM");
    const int count =
        big ? uchar(tiff[ifd0]) << 8 | uchar(tiff[ifd0 + 1]) : uchar(tiff[ifd0 + 1]) << 8 | uchar(tiff[ifd0]);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = ifd0 + 2 + 12 * i;
        const int t = big ? uchar(tiff[entry]) << 8 | uchar(tiff[entry + 1])
                          : uchar(tiff[entry + 1]) << 8 | uchar(tiff[entry]);
        if (t == tag) return entry + 8;
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

QByteArray djpegHeader(const QString& hostPath) {
    QByteArray out;
    EXPECT_EQ(runProgram(QStringLiteral("/usr/bin/djpeg"), {QStringLiteral("-pnm"), hostPath}, &out), 0);
    return out.left(15);
}

} // namespace

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

class ResizeCarriesTheRecord : public ::testing::TestWithParam<const char*> {};

TEST_P(ResizeCarriesTheRecord, EveryFieldAsTheCameraWroteItWithTheNewSizeAndNoThumbnail) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    const QString source = drive.host("c:\\picture\\DSC_0042.JPG");
    pictures::cameraPhoto(source, QString::fromLatin1(GetParam()));
    QJsonObject expected = exiftool::exifTags(source);
    ASSERT_EQ(expected.value("IFD0:Orientation").toInt(), 6);
    ASSERT_TRUE(expected.contains("IFD1:ThumbnailImage"));

    int beeps = 0;
    const filing::ResizeOutcome outcome =
        filing::writeResized("c:\\picture\\DSC_0042.JPG", "c:\\picture\\TEMP.JPG", [&] { ++beeps; });
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(outcome.stretched);
    EXPECT_EQ(outcome.exif, filing::ExifCarried::Kept);
    const QString out = drive.host("c:\\picture\\TEMP.JPG");

    const QJsonObject tags = exiftool::exifTags(out);
    EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2024:05:01 10:22:33"));
    EXPECT_EQ(tags.value("IFD0:Make").toString(), QStringLiteral("NIKON CORPORATION"));
    EXPECT_EQ(tags.value("IFD0:Model").toString(), QStringLiteral("NIKON D750"));
    EXPECT_EQ(tags.value("IFD0:Orientation").toInt(), 6);
    EXPECT_DOUBLE_EQ(tags.value("GPS:GPSLatitude").toDouble(), 13.7563);
    EXPECT_DOUBLE_EQ(tags.value("GPS:GPSLongitude").toDouble(), 100.5018);
    EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), 800);
    EXPECT_EQ(tags.value("ExifIFD:ExifImageHeight").toInt(), 600);
    // And every other field as it was; the thumbnail is gone.
    for (const QString& key : expected.keys())
        if (key.startsWith("IFD1:")) expected.remove(key);
    expected["ExifIFD:ExifImageWidth"] = 800;
    expected["ExifIFD:ExifImageHeight"] = 600;
    EXPECT_EQ(tags, expected);
    const QJsonObject all = exiftool::tags(out);
    EXPECT_EQ(all.value("ExifTool:Warning").toString(), QString());
    EXPECT_EQ(all.value("File:ExifByteOrder").toString(), QString::fromLatin1(GetParam()));

    // exiftool's own check of the record's structure (offsets, order, types of the standard fields).
    EXPECT_EQ(exiftool::run({"-validate", "-warning", "-a", "-s3", out}).trimmed(), QByteArray("OK"));

    EXPECT_EQ(pictures::identify(out), QStringLiteral("800 600 JPEG 90 None"));
    EXPECT_EQ(djpegHeader(out), QByteArray("P6\n800 600\n255\n"));

    // Nothing else changed: without its record the file is the one the same photograph without a record
    // gives.
    drive.writeFile("c:\\picture\\bare.JPG", drive.readFile("c:\\picture\\DSC_0042.JPG"));
    exiftool::write(drive.host("c:\\picture\\bare.JPG"), {"-all="});
    ASSERT_TRUE(codecs::exif::findRecord(drive.readFile("c:\\picture\\bare.JPG")).isEmpty());
    EXPECT_EQ(filing::writeResized("c:\\picture\\bare.JPG", "c:\\picture\\TEMP1.JPG", {}).exif,
              filing::ExifCarried::None);
    const QByteArray bare = drive.readFile("c:\\picture\\TEMP1.JPG");
    EXPECT_EQ(withoutFirstSegment(drive.readFile("c:\\picture\\TEMP.JPG")), bare);
    EXPECT_FALSE(exiftool::tags(drive.host("c:\\picture\\TEMP1.JPG")).contains("IFD0:Make"));
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ResizeCarriesTheRecord, ::testing::Values("MM", "II"));

TEST(Resize, ADamagedRecordIsLeftOutAndThePhotographStillResized) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    pictures::cameraPhoto(drive.host("c:\\picture\\cam.jpg"));
    const QByteArray photo = drive.readFile("c:\\picture\\cam.jpg");
    const QByteArray record = codecs::exif::findRecord(photo);
    ASSERT_FALSE(record.isEmpty());
    drive.writeFile("c:\\picture\\bare.jpg", photo);
    exiftool::write(drive.host("c:\\picture\\bare.jpg"), {"-all="});
    filing::writeResized("c:\\picture\\bare.jpg", "c:\\picture\\bare-out.jpg", {});
    const QByteArray bare = drive.readFile("c:\\picture\\bare-out.jpg");

    const struct {
        const char* name;
        std::function<QByteArray(QByteArray)> damage;
    } cases[] = {
        {"truncated in IFD0", [](QByteArray r) { return r.left(100); }},
        {"IFD0 past the end",
         [](QByteArray r) {
             write32(r, 4, 0xFFFFFF00);
             return r;
         }},
        {"Exif IFD past the end",
         [](QByteArray r) {
             write32(r, ifd0Value(r, 0x8769), quint32(r.size() - 4));
             return r;
         }},
        {"Exif IFD loops back to IFD0",
         [](QByteArray r) {
             write32(r, ifd0Value(r, 0x8769), read32(r, 4));
             return r;
         }},
        {"GPS IFD overlaps the Exif IFD",
         [](QByteArray r) {
             write32(r, ifd0Value(r, 0x8825), read32(r, ifd0Value(r, 0x8769)) + 2);
             return r;
         }},
        {"Make's text points into IFD0",
         [](QByteArray r) {
             write32(r, ifd0Value(r, 0x010F), read32(r, 4));
             return r;
         }},
        {"not TIFF", [](QByteArray r) { return r.replace(0, 4, "XXXX"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drive.writeFile("c:\\picture\\damaged.jpg", withRecordReplaced(photo, c.damage(record)));
        int beeps = 0;
        const filing::ResizeOutcome outcome =
            filing::writeResized("c:\\picture\\damaged.jpg", "c:\\picture\\TEMP.jpg", [&] { ++beeps; });
        EXPECT_EQ(beeps, 0);
        EXPECT_TRUE(outcome.stretched);
        EXPECT_EQ(outcome.exif, filing::ExifCarried::LeftOut);
        EXPECT_EQ(drive.readFile("c:\\picture\\TEMP.jpg"), bare);
    }
}
