#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"
#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* w : list)
        out << QString::fromLatin1(w);
    return out;
}

// A photograph-like JPEG made by ImageMagick in c:\picture.
QString makeJpeg(TempDrive& drive, const QString& name, const QStringList& options,
                 const QString& size = "333x257") {
    drive.makeFolder(QStringLiteral("c:\\picture"));
    const QString path = drive.host(QStringLiteral("c:\\picture\\") + name);
    convert(words({"-seed", "4", "-size"}) << size << QStringLiteral("plasma:fractal") << options << path);
    return path;
}

struct DjpegCase {
    const char* name;
    QStringList makeOptions;
    TJPEGScale scale;
    QStringList djpegOptions;
    bool grey;
    bool progressive;
};

const DjpegCase kDjpegCases[] = {
    {"colour", words({"-quality", "85"}), TJPEGScale::jsFullSize, {}, false, false},
    {"colour_444",
     words({"-quality", "95", "-sampling-factor", "1x1"}),
     TJPEGScale::jsFullSize,
     {},
     false,
     false},
    {"grayscale", words({"-colorspace", "Gray", "-quality", "80"}), TJPEGScale::jsFullSize, {}, true, false},
    {"progressive",
     words({"-interlace", "Plane", "-quality", "88"}),
     TJPEGScale::jsFullSize,
     {},
     false,
     true},
    {"progressive_grey",
     words({"-colorspace", "Gray", "-interlace", "Plane"}),
     TJPEGScale::jsFullSize,
     {},
     true,
     true},
    {"half", words({"-quality", "85"}), TJPEGScale::jsHalf, words({"-scale", "1/2"}), false, false},
    {"quarter", words({"-quality", "85"}), TJPEGScale::jsQuarter, words({"-scale", "1/4"}), false, false},
    {"eighth", words({"-interlace", "Plane"}), TJPEGScale::jsEighth, words({"-scale", "1/8"}), false, true},
};

// Test names show the case's name, not its bytes.
void PrintTo(const DjpegCase& c, std::ostream* out) {
    *out << c.name;
}

class JpegAgainstDjpeg : public ::testing::TestWithParam<DjpegCase> {};

TEST_P(JpegAgainstDjpeg, DecodesAsDjpegDoes) {
    TempDrive drive;
    const DjpegCase& c = GetParam();
    const QString path = makeJpeg(drive, QStringLiteral("photo.jpg"), c.makeOptions);
    TJPEGImage jpeg;
    jpeg.setScale(c.scale);
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\photo.jpg"));
    EXPECT_FALSE(jpeg.hasBitmap());
    EXPECT_EQ(jpeg.progressiveStream(), c.progressive);
    EXPECT_EQ(jpeg.grayscaleStream(), c.grey);
    EXPECT_FALSE(jpeg.progressiveEncoding());

    const QImage expected = djpegPixels(path, c.djpegOptions);
    EXPECT_EQ(jpeg.width(), expected.width());
    EXPECT_EQ(jpeg.height(), expected.height());
    const TBitmap& bitmap = jpeg.bitmap();
    if (c.grey) {
        EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::pf8bit);
        EXPECT_EQ(bitmap.image().format(), QImage::Format_Grayscale8);
    } else {
        EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::pf24bit);
    }
    EXPECT_LE(maxChannelDifference(expected, bitmap.image()), 2);
}

INSTANTIATE_TEST_SUITE_P(MadeByImageMagick, JpegAgainstDjpeg, ::testing::ValuesIn(kDjpegCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegImage, PaletteOutputQuantisesAsLibjpegDoes) {
    TempDrive drive;
    const QString path = makeJpeg(drive, QStringLiteral("photo.jpg"), words({"-quality", "90"}));
    TJPEGImage jpeg;
    jpeg.setPixelFormat(TJPEGPixelFormat::jf8Bit);
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\photo.jpg"));
    const QImage& image = jpeg.bitmap().image();
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_LE(image.colorCount(), 236);
    EXPECT_LE(maxChannelDifference(djpegPixels(path, words({"-colors", "236"})), image), 2);
}

TEST(JpegImage, InkStreamsDecodeAsImageMagickShowsThem) {
    TempDrive drive;
    const QString path = makeJpeg(drive, QStringLiteral("inks.jpg"), words({"-colorspace", "CMYK"}));
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\inks.jpg"));
    const QString shown = drive.host(QStringLiteral("c:\\picture\\shown.png"));
    convert({path, QStringLiteral("-colorspace"), QStringLiteral("sRGB"), QStringLiteral("PNG24:") + shown});
    EXPECT_LE(maxChannelDifference(QImage(shown), jpeg.bitmap().image()), 2);
}

TEST(JpegImage, EmptyBitmapSavesAsAnEmptyFile) {
    TempDrive drive;
    TJPEGImage jpeg;
    jpeg.assign(TBitmap());
    EXPECT_TRUE(jpeg.empty());
    EXPECT_TRUE(jpeg.saveToBytes().isEmpty());
}

TEST(JpegImage, HeaderGivesTheSizeWithoutDecoding) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("big.jpg"), {}, QStringLiteral("1600x1200"));
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\big.jpg"));
    EXPECT_EQ(jpeg.width(), 1600);
    EXPECT_EQ(jpeg.height(), 1200);
    EXPECT_FALSE(jpeg.hasBitmap());
    EXPECT_FALSE(jpeg.empty());
}

TEST(JpegImage, SizeCannotBeSet) {
    TempDrive drive;
    TJPEGImage jpeg;
    EXPECT_EQ(errorOf([&] { jpeg.setWidth(10); }), QStringLiteral("Cannot change the size of a JPEG image"));
    EXPECT_EQ(errorOf([&] { jpeg.setHeight(10); }), QStringLiteral("Cannot change the size of a JPEG image"));
}

TEST(JpegImage, UnchangedPictureSavesTheBytesItWasLoadedFrom) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("IMG_0042.JPG"), words({"-interlace", "Plane"}));
    const QByteArray original = drive.readFile(QStringLiteral("c:\\picture\\IMG_0042.JPG"));
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("C:\\Picture\\img_0042.jpg"));
    QImage box(100, 80, QImage::Format_RGB32);
    TCanvas canvas(box);
    canvas.stretchDraw(box.rect(), &jpeg); // decoding does not change the picture
    jpeg.saveToFile(QStringLiteral("c:\\picture\\copy.jpg"));
    EXPECT_EQ(drive.readFile(QStringLiteral("c:\\picture\\copy.jpg")), original);

    TJPEGImage second;
    second.assign(jpeg);
    second.saveToFile(QStringLiteral("c:\\picture\\second.jpg"));
    EXPECT_EQ(drive.readFile(QStringLiteral("c:\\picture\\second.jpg")), original);
}

TEST(JpegImage, AssignedBitmapIsEncodedAsLibjpegsOwnEncoderDoes) {
    TempDrive drive;
    const QString source = makeJpeg(drive, QStringLiteral("photo.jpg"), {}, QStringLiteral("1000x750"));
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\photo.jpg"));
    TBitmap bitmap;
    bitmap.setSize(800, 600);
    bitmap.canvas().stretchDraw(QRect(0, 0, 800, 600), &jpeg);
    // Marks whose colours show whether red and blue kept their places.
    bitmap.canvas().fillRect(QRect(0, 0, 100, 100), Qt::red);
    bitmap.canvas().fillRect(QRect(700, 500, 100, 100), Qt::blue);
    jpeg.assign(bitmap);
    EXPECT_EQ(jpeg.width(), 800);
    const QString saved = drive.host(QStringLiteral("c:\\picture\\TEMP.JPG"));
    jpeg.saveToFile(QStringLiteral("c:\\picture\\TEMP.JPG"));

    EXPECT_EQ(identify(saved, QStringLiteral("%w %h %Q %[interlace] %[colorspace]")),
              QStringLiteral("800 600 90 None sRGB"));
    const QByteArray bytes = drive.readFile(QStringLiteral("c:\\picture\\TEMP.JPG"));
    EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2))) << "no baseline frame header";
    EXPECT_FALSE(bytes.contains(QByteArray("\xFF\xC2", 2))) << "progressive frame header";

    // cjpeg applies the same defaults and quality: the bytes must agree.
    const QString ppm = drive.host(QStringLiteral("c:\\picture\\pixels.ppm"));
    ASSERT_TRUE(bitmap.image().convertToFormat(QImage::Format_RGB888).save(ppm, "PPM"));
    const QString reference = drive.host(QStringLiteral("c:\\picture\\cjpeg.jpg"));
    ASSERT_EQ(runProgram(QStringLiteral("/usr/bin/cjpeg"), {QStringLiteral("-quality"), QStringLiteral("90"),
                                                            QStringLiteral("-outfile"), reference, ppm}),
              0);
    EXPECT_EQ(bytes, drive.readFile(QStringLiteral("c:\\picture\\cjpeg.jpg")));

    const QImage readBack = imageMagickPixels(saved);
    EXPECT_LE(qAbs(qRed(readBack.pixel(50, 50)) - 255) + qGreen(readBack.pixel(50, 50)) +
                  qBlue(readBack.pixel(50, 50)),
              12);
    EXPECT_LE(qRed(readBack.pixel(750, 550)) + qGreen(readBack.pixel(750, 550)) +
                  qAbs(qBlue(readBack.pixel(750, 550)) - 255),
              12);
    Q_UNUSED(source);
}

TEST(JpegImage, ResizedProgressivePhotographIsWrittenBaseline) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), words({"-interlace", "Plane"}));
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\photo.jpg"));
    ASSERT_TRUE(jpeg.progressiveStream());
    TBitmap bitmap;
    bitmap.setSize(80, 60);
    bitmap.canvas().stretchDraw(QRect(0, 0, 80, 60), &jpeg);
    jpeg.assign(bitmap);
    jpeg.saveToFile(QStringLiteral("c:\\picture\\TEMP.jpg"));
    EXPECT_EQ(
        identify(drive.host(QStringLiteral("c:\\picture\\TEMP.jpg")), QStringLiteral("%w %h %[interlace]")),
        QStringLiteral("80 60 None"));
    EXPECT_FALSE(jpeg.progressiveStream());
}

TEST(JpegImage, GreyEncodingSettingWritesOneChannel) {
    TempDrive drive;
    TBitmap bitmap;
    bitmap.setSize(64, 48);
    bitmap.canvas().fillRect(QRect(0, 0, 32, 48), QColor(200, 30, 30));
    TJPEGImage jpeg;
    jpeg.setGrayscale(true);
    jpeg.setProgressiveEncoding(true);
    jpeg.assign(bitmap);
    jpeg.saveToFile(QStringLiteral("c:\\grey.jpg"));
    EXPECT_EQ(
        identify(drive.host(QStringLiteral("c:\\grey.jpg")), QStringLiteral("%[colorspace] %[interlace]")),
        QStringLiteral("Gray JPEG"));
    EXPECT_EQ(jpeg.bitmap().image().format(), QImage::Format_Grayscale8);
}

TEST(JpegImage, AssignFromAnotherJpegSharesItsPicture) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), {});
    TJPEGImage first;
    first.loadFromFile(QStringLiteral("c:\\picture\\photo.jpg"));
    first.dibNeeded();
    TJPEGImage second;
    second.assign(first);
    EXPECT_TRUE(second.hasBitmap());
    EXPECT_EQ(second.data().constData(), first.data().constData()); // one stream, shared
    EXPECT_EQ(second.bitmap().image(), first.bitmap().image());
}

TEST(JpegBadInput, FatalLibjpegErrorsNameTheirCode) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), {});
    const QByteArray good = drive.readFile(QStringLiteral("c:\\picture\\photo.jpg"));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"a GIF", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14), "JPEG error #53"},
        {"text", QByteArray("hello, this is not a picture"), "JPEG error #53"},
        {"start marker only", good.left(2), "JPEG error #"},
        {"cut in the header", good.left(100), "JPEG error #"},
    };
    for (const auto& c : cases) {
        TJPEGImage jpeg;
        const QString message = errorOf([&] { jpeg.loadFromBytes(c.bytes); });
        EXPECT_TRUE(message.startsWith(QLatin1String(c.message))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(jpeg.empty()) << c.name;
    }
}

TEST(JpegBadInput, EmptyFileIsAnEmptyPicture) {
    TempDrive drive;
    drive.writeFile(QStringLiteral("c:\\empty.jpg"), QByteArray());
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\empty.jpg"));
    EXPECT_TRUE(jpeg.empty());
    EXPECT_EQ(jpeg.width(), 0);
    QImage box(10, 10, QImage::Format_RGB32);
    box.fill(Qt::green);
    TCanvas canvas(box);
    canvas.stretchDraw(box.rect(), &jpeg);
    EXPECT_EQ(box.pixel(5, 5), QColor(Qt::green).rgb());
    jpeg.saveToFile(QStringLiteral("c:\\empty2.jpg"));
    EXPECT_TRUE(drive.readFile(QStringLiteral("c:\\empty2.jpg")).isEmpty());
}

TEST(JpegBadInput, DataCutAfterTheHeaderDecodesWhatIsThere) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), {});
    const QByteArray good = drive.readFile(QStringLiteral("c:\\picture\\photo.jpg"));
    for (const qsizetype keep : {good.size() / 2, good.size() - 2}) {
        TJPEGImage jpeg;
        jpeg.loadFromBytes(good.left(keep));
        const TBitmap& bitmap = jpeg.bitmap();
        EXPECT_EQ(bitmap.width(), 333);
        EXPECT_EQ(bitmap.height(), 257);
    }
}

// Rewrites the size in the first frame header.
QByteArray withSize(QByteArray jpeg, int width, int height) {
    for (qsizetype i = 0; i + 9 < jpeg.size(); ++i) {
        const uchar marker = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(JpegBadInput, PicturesPastThePixelLimitAreRefusedAtLoad) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), {}, QStringLiteral("64x48"));
    const QByteArray good = drive.readFile(QStringLiteral("c:\\picture\\photo.jpg"));
    TJPEGImage jpeg;
    EXPECT_EQ(errorOf([&] { jpeg.loadFromBytes(withSize(good, 60000, 50000)); }),
              QStringLiteral("The picture is too large (60000 by 50000 pixels)"));
    EXPECT_TRUE(jpeg.empty());
    jpeg.loadFromBytes(withSize(good, 10000, 10000)); // within the limit: loads, the data is short
    EXPECT_EQ(jpeg.width(), 10000);
}

TEST(JpegBadInput, EndlessScansAreRefused) {
    TempDrive drive;
    makeJpeg(drive, QStringLiteral("photo.jpg"), words({"-interlace", "Plane"}), QStringLiteral("16x16"));
    const QByteArray good = drive.readFile(QStringLiteral("c:\\picture\\photo.jpg"));
    // The last scan (from its SOS marker to the end-of-image marker), repeated over and over.
    const qsizetype lastScan = good.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype end = good.lastIndexOf(QByteArray("\xFF\xD9", 2));
    ASSERT_GT(lastScan, 0);
    ASSERT_GT(end, lastScan);
    QByteArray endless = good.left(end);
    const QByteArray scan = good.mid(lastScan, end - lastScan);
    for (int i = 0; i < 1200; ++i)
        endless.append(scan);
    endless.append("\xFF\xD9", 2);
    TJPEGImage jpeg;
    jpeg.loadFromBytes(endless);
    EXPECT_EQ(errorOf([&] { jpeg.bitmap(); }), QStringLiteral("The JPEG image has too many scans"));
}

} // namespace
