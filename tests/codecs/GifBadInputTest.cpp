#include "codecs/GifImage.h"
#include "codecs/Graphic.h"
#include "platform/Error.h"
#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

const QVector<QRgb> kFourColours{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

QByteArray ramp(int count, int modulo) {
    QByteArray values;
    for (int i = 0; i < count; ++i)
        values.append(char(i % modulo));
    return values;
}

// A one-frame GIF of the given values, four colours, coded at min code size 2 without compression.
GifLayout oneFrame(int width, int height, const QByteArray& lzw, int minCodeSize = 2) {
    GifLayout layout;
    layout.screenWidth = width;
    layout.screenHeight = height;
    layout.globalMap = kFourColours;
    GifFrameLayout frame;
    frame.width = width;
    frame.height = height;
    frame.minCodeSize = minCodeSize;
    frame.lzw = lzw;
    layout.frames = {frame};
    return layout;
}

QString loadError(const QByteArray& bytes) {
    TGIFImage gif;
    try {
        gif.loadFromBytes(bytes);
    } catch (const platform::Error& e) {
        EXPECT_TRUE(gif.empty()) << "a failed load left a picture";
        return e.message();
    }
    return QString();
}

// The colour-map index of every pixel of frame 0, row by row.
QByteArray indices(TGIFImage& gif) {
    const QImage& image = gif.frame(0).bitmap().image();
    QByteArray out;
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width());
    return out;
}

TEST(GifBadInput, RefusedFilesNameTheirFault) {
    TempDrive drive;
    const QByteArray good = gifBytes(oneFrame(3, 2, lzwUncompressed(ramp(6, 4), 2)));
    QByteArray badVersion = good;
    badVersion.replace(3, 3, "88a");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"empty file", QByteArray(), "Unknown GIF version"},
        {"shorter than the signature", QByteArray("GIF8"), "Unknown GIF version"},
        {"another format", QByteArray("\x89PNG\r\n\x1a\n0000000000000", 21), "Unknown GIF version"},
        {"unknown version", badVersion, "Unknown GIF version"},
        {"cut in the screen descriptor", good.left(9), "Stream read error"},
        {"cut in the global colour map", good.left(15), "Stream read error"},
        {"header and trailer only", good.left(25) + ";", "The GIF file holds no image"},
        {"cut in the image descriptor", good.left(30), "The GIF file holds no image"},
        {"a frame past the pixel limit", gifBytes(oneFrame(40000, 40000, lzwUncompressed(ramp(6, 4), 2))),
         "The picture is too large (40000 by 40000 pixels)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loadError(c.bytes), QString::fromLatin1(c.message)) << c.name;
}

TEST(GifBadInput, EveryCutOfAFileEndsInAPictureOrAnError) {
    TempDrive drive;
    const QString path = drive.host(QStringLiteral("c:\\scan.gif"));
    convert({QStringLiteral("-seed"), QStringLiteral("2"), QStringLiteral("-size"), QStringLiteral("90x70"),
             QStringLiteral("plasma:fractal"), QStringLiteral("-colors"), QStringLiteral("64"), path});
    const QByteArray whole = drive.readFile(QStringLiteral("c:\\scan.gif"));
    const QImage full = imageMagickPixels(path);
    QList<qsizetype> cuts;
    for (qsizetype cut = 0; cut < whole.size(); cut += 7)
        cuts.append(cut);
    cuts << whole.size() - 2 << whole.size() - 1;
    for (qsizetype cut : cuts) {
        TGIFImage gif;
        try {
            gif.loadFromBytes(whole.left(cut));
        } catch (const platform::Error&) {
            continue;
        }
        ASSERT_EQ(gif.width(), 90) << "cut at " << cut;
        ASSERT_EQ(gif.height(), 70) << "cut at " << cut;
        // Without its terminator and trailer the picture is whole.
        const QImage shown = gif.frame(0).bitmap().image().convertToFormat(QImage::Format_ARGB32);
        if (cut >= whole.size() - 2) {
            EXPECT_TRUE(firstDifference(full, shown).isEmpty()) << "cut at " << cut;
        }
    }
}

TEST(GifBadInput, DataThatRunsOutLeavesColourZero) {
    TempDrive drive;
    QByteArray lzw = lzwUncompressed(ramp(12, 3).replace(char(0), char(3)), 2);
    lzw.chop(lzw.size() / 2);
    GifLayout layout = oneFrame(4, 3, lzw);
    layout.frames[0].terminateData = false;
    layout.trailer = false;
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    const QByteArray got = indices(gif);
    ASSERT_EQ(got.size(), 12);
    EXPECT_EQ(got.left(3), QByteArray("\x03\x01\x02", 3));
    EXPECT_EQ(got.right(3), QByteArray(3, '\0'));
}

TEST(GifBadInput, ACodePastTheTableStopsDecodingAndMarksTheFrame) {
    TempDrive drive;
    // clear, 1, 2, then code 15 while the next free entry is 7.
    const QByteArray lzw = packCodes({{4, 3}, {1, 3}, {2, 3}, {7, 3}, {15, 4}, {3, 4}, {5, 4}});
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(oneFrame(4, 2, lzw)));
    EXPECT_TRUE(gif.frame(0).corrupted());
    // 1, 2, then code 7 (the entry being made: 2 2), then nothing.
    EXPECT_EQ(indices(gif), QByteArray("\x01\x02\x02\x02\x00\x00\x00\x00", 8));
}

TEST(GifBadInput, AFrameLargerThanTheScreenIsShownWhole) {
    TempDrive drive;
    GifLayout layout = oneFrame(10, 6, lzwUncompressed(ramp(60, 4), 2));
    layout.screenWidth = 4;
    layout.screenHeight = 4;
    layout.frames[0].left = 2;
    layout.frames[0].top = 1;
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    EXPECT_EQ(gif.screenWidth(), 4);
    EXPECT_EQ(gif.width(), 10);
    EXPECT_EQ(gif.height(), 6);
    EXPECT_EQ(gif.frame(0).left(), 2);
    EXPECT_EQ(indices(gif), ramp(60, 4));
}

TEST(GifBadInput, ZeroSizeMeansTheScreensSize) {
    TempDrive drive;
    GifLayout layout = oneFrame(5, 3, lzwUncompressed(ramp(15, 4), 2));
    layout.frames[0].width = 0;
    layout.frames[0].height = 0;
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    EXPECT_EQ(gif.width(), 5);
    EXPECT_EQ(gif.height(), 3);
    EXPECT_EQ(indices(gif), ramp(15, 4));
}

TEST(GifBadInput, CodeSizesOutsideTwoToNineAreClampedAndMarked) {
    TempDrive drive;
    const struct {
        int written;
        int codedWith;
        bool corrupted;
    } cases[] = {{0, 2, true},  {1, 2, true},  {2, 2, false}, {8, 8, false},
                 {9, 9, false}, {11, 9, true}, {255, 9, true}};
    for (const auto& c : cases) {
        const QByteArray values = ramp(40, 4);
        TGIFImage gif;
        gif.loadFromBytes(gifBytes(oneFrame(8, 5, lzwUncompressed(values, c.codedWith), c.written)));
        EXPECT_EQ(gif.frame(0).minCodeSize(), c.codedWith) << c.written;
        EXPECT_EQ(gif.frame(0).corrupted(), c.corrupted) << c.written;
        EXPECT_EQ(indices(gif), values) << c.written;
    }
}

TEST(GifBadInput, AFullTableIsUsedAsItStandsUntilTheNextClear) {
    TempDrive drive;
    // Enough varied data to fill the 4096 entries long before the end, coded without further clears.
    QByteArray values;
    quint32 seed = 12345;
    for (int i = 0; i < 300 * 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        values.append(char((seed >> 16) % 13 < 9 ? (seed >> 20) % 4 : (seed >> 24) % 200));
    }
    GifLayout layout = oneFrame(300, 200, lzwWithoutClears(values, 8), 8);
    QVector<QRgb> map(256);
    for (int i = 0; i < 256; ++i)
        map[i] = qRgb(i, 255 - i, (i * 7) & 255);
    layout.globalMap = map;
    const QByteArray bytes = gifBytes(layout);

    TGIFImage gif;
    gif.loadFromBytes(bytes);
    EXPECT_FALSE(gif.frame(0).corrupted());
    EXPECT_EQ(indices(gif), values);

    drive.writeFile(QStringLiteral("c:\\full.gif"), bytes);
    const QString difference = firstDifference(imageMagickPixels(drive.host(QStringLiteral("c:\\full.gif"))),
                                               gif.frame(0).bitmap().image());
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

TEST(GifBadInput, InterlacedRowsLandInTheirPasses) {
    TempDrive drive;
    // Row r of the file holds value r (mod 4) everywhere; rows arrive in pass order.
    const int height = 11;
    const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
    QByteArray values;
    for (int row : order)
        values.append(QByteArray(3, char(row % 4)));
    GifLayout layout = oneFrame(3, height, lzwUncompressed(values, 2));
    layout.frames[0].interlaced = true;
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    QByteArray expected;
    for (int row = 0; row < height; ++row)
        expected.append(QByteArray(3, char(row % 4)));
    EXPECT_EQ(indices(gif), expected);
}

TEST(GifBadInput, NoColourMapGivesBlackWhiteAndGreys) {
    TempDrive drive;
    GifLayout layout = oneFrame(4, 1, lzwUncompressed(QByteArray("\x00\x01\x02\x03", 4), 2));
    layout.globalMap.clear();
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    const QImage& image = gif.frame(0).bitmap().image();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(2, 2, 2));
}

TEST(GifBadInput, ExtensionsGoToTheNextImage) {
    TempDrive drive;
    GifLayout layout = oneFrame(2, 2, lzwUncompressed(QByteArray("\x00\x01\x02\x03", 4), 2));
    layout.comments = {QStringLiteral("scanned at the garage\r\nsecond line\rthird\n\r\nfifth")};
    layout.frames[0].transparentIndex = 2;
    layout.frames[0].delay = 150;
    GifFrameLayout second = layout.frames[0];
    second.transparentIndex = -1;
    second.delay = 0;
    second.localMap = {qRgb(1, 2, 3), qRgb(4, 5, 6)};
    layout.frames.append(second);
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    EXPECT_EQ(gif.comments(), QStringList({"scanned at the garage", "second line", "third", "", "fifth"}));
    ASSERT_EQ(gif.frameCount(), 2);
    EXPECT_EQ(gif.frame(0).transparentIndex(), 2);
    EXPECT_EQ(gif.frame(0).transparentColor(), std::optional<QRgb>(qRgb(0, 255, 0)));
    EXPECT_EQ(gif.frame(0).delay(), 150);
    EXPECT_FALSE(gif.frame(1).transparentColor().has_value());
    EXPECT_EQ(gif.frame(1).bitsPerPixel(), 1);
    // Values are masked to the frame's bits per pixel: 2 and 3 become 0 and 1.
    EXPECT_EQ(gif.frame(1).bitmap().image().pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(gif.frame(1).bitmap().image().pixel(1, 1), qRgb(4, 5, 6));
}

TEST(GifBadInput, SignatureInAnyCaseAndTheEndCodeEndsTheData) {
    TempDrive drive;
    // values 1 2 3 (the third widens the codes to 4 bits), end code, then codes that must not be read.
    const QByteArray lzw = packCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 4}, {3, 4}, {3, 4}});
    GifLayout layout = oneFrame(3, 2, lzw);
    layout.signature = "gif87a";
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    EXPECT_EQ(gif.version(), QStringLiteral("87a"));
    EXPECT_FALSE(gif.frame(0).corrupted());
    EXPECT_EQ(indices(gif), QByteArray("\x01\x02\x03\x00\x00\x00", 6));
}

TEST(GifBadInput, ALowerPixelLimitRefusesEarlier) {
    TempDrive drive;
    codecs::setPixelLimit(100);
    EXPECT_EQ(loadError(gifBytes(oneFrame(11, 10, lzwUncompressed(ramp(6, 4), 2)))),
              QStringLiteral("The picture is too large (11 by 10 pixels)"));
    EXPECT_EQ(loadError(gifBytes(oneFrame(10, 10, lzwUncompressed(ramp(6, 4), 2)))), QString());
    codecs::setPixelLimit(codecs::kDefaultPixelLimit);
}

} // namespace

namespace {

TEST(GifBadInput, ImageBlocksPastTenThousandAreNotRead) {
    TempDrive drive;
    GifLayout layout = oneFrame(1, 1, lzwUncompressed(QByteArray(1, '\x01'), 2));
    const GifFrameLayout tiny = layout.frames[0];
    for (int i = 0; i < 10050; ++i)
        layout.frames.append(tiny);
    TGIFImage gif;
    gif.loadFromBytes(gifBytes(layout));
    EXPECT_EQ(gif.frameCount(), 10000);
}

} // namespace
