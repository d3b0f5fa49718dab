#include "codecs/Canvas.h"
#include "codecs/GifImage.h"
#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

// A frame's pixels as they show: its colours, and see-through where the frame's transparent colour is.
QImage shownPixels(TGIFFrame& frame) {
    QImage image = frame.bitmap().image().convertToFormat(QImage::Format_ARGB32);
    if (!frame.transparentColor()) return image;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (*frame.transparentColor() & 0xFFFFFF))
                image.setPixel(x, y, 0);
    return image;
}

struct MadeGif {
    const char* name;
    QStringList convertArgs; // everything before the output file
    int frames;
    int bitsPerPixel;
    bool interlaced;
    bool transparent;
};

QStringList args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* w : words)
        list << QString::fromLatin1(w);
    return list;
}

const MadeGif kMadeGifs[] = {
    {"two_colours", args({"-size", "37x23", "pattern:checkerboard", "-colors", "2"}), 1, 1, false, false},
    {"sixteen_colours", args({"-seed", "7", "-size", "61x47", "plasma:fractal", "-colors", "16"}), 1, 4,
     false, false},
    {"full_palette", args({"-seed", "3", "-size", "401x299", "plasma:fractal", "-colors", "256"}), 1, 8,
     false, false},
    {"interlaced",
     args({"-seed", "5", "-size", "77x45", "plasma:fractal", "-colors", "200", "-interlace", "GIF"}), 1, 8,
     true, false},
    {"transparent",
     args({"-size", "50x40", "xc:white", "+antialias", "-fill", "red", "-draw", "circle 25,20 25,5",
           "-transparent", "white"}),
     1, 1, false, true},
    {"animated", args({"-delay", "10", "-size", "40x30", "xc:red", "xc:blue", "xc:lime", "-loop", "0"}), 3, 1,
     false, false},
    {"local_colour_maps",
     args({"-seed", "9", "-size", "64x48", "plasma:fractal", "-colors", "16", "(", "-size", "64x48",
           "gradient:yellow-blue", "-colors", "8", ")"}),
     2, 4, false, false},
};

// Test names show the case's name, not its bytes.
void PrintTo(const MadeGif& made, std::ostream* out) {
    *out << made.name;
}

class GifAgainstImageMagick : public ::testing::TestWithParam<MadeGif> {};

TEST_P(GifAgainstImageMagick, EveryFrameDecodesToTheSamePixels) {
    TempDrive drive;
    const MadeGif& made = GetParam();
    const QString path = drive.host(QStringLiteral("c:\\picture\\made.gif"));
    drive.makeFolder(QStringLiteral("c:\\picture"));
    convert(QStringList(made.convertArgs) << path);

    TGIFImage gif;
    gif.loadFromFile(QStringLiteral("c:\\picture\\made.gif"));
    ASSERT_EQ(gif.frameCount(), made.frames);
    EXPECT_EQ(gif.currentFrame(), 0);
    EXPECT_EQ(gif.frame(0).bitsPerPixel(), made.bitsPerPixel);
    EXPECT_EQ(gif.frame(0).interlaced(), made.interlaced);
    EXPECT_EQ(gif.frame(0).transparentColor().has_value(), made.transparent);
    for (int i = 0; i < gif.frameCount(); ++i) {
        EXPECT_FALSE(gif.frame(i).corrupted()) << "frame " << i;
        const QString difference = firstDifference(imageMagickPixels(path, i), shownPixels(gif.frame(i)));
        EXPECT_TRUE(difference.isEmpty()) << "frame " << i << ": " << difference.toStdString();
    }
    EXPECT_EQ(gif.width(), gif.frame(0).width());
    EXPECT_EQ(gif.height(), gif.frame(0).height());
}

INSTANTIATE_TEST_SUITE_P(MadeByImageMagick, GifAgainstImageMagick, ::testing::ValuesIn(kMadeGifs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GifImage, AnimationShowsItsFirstFrameAndKeepsTheOthers) {
    TempDrive drive;
    const QString path = drive.host(QStringLiteral("c:\\anim.gif"));
    convert(args({"-delay", "25", "-size", "30x20", "xc:red", "xc:blue", "-loop", "0"}) << path);
    TGIFImage gif;
    gif.loadFromFile(QStringLiteral("c:\\anim.gif"));
    ASSERT_EQ(gif.frameCount(), 2);
    EXPECT_EQ(gif.frame(1).delay(), 25);
    EXPECT_TRUE(gif.frame(0).decoded());
    EXPECT_FALSE(gif.frame(1).decoded());

    QImage box(60, 40, QImage::Format_RGB32);
    box.fill(Qt::white);
    TCanvas canvas(box);
    canvas.stretchDraw(box.rect(), &gif);
    for (const QPoint& p : {QPoint(0, 0), QPoint(59, 39), QPoint(30, 20)})
        EXPECT_EQ(box.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
}

TEST(GifImage, LaterFramesWithTheirOwnColourMap) {
    TempDrive drive;
    const QString path = drive.host(QStringLiteral("c:\\maps.gif"));
    convert(args({"-seed", "9", "-size", "64x48", "plasma:fractal", "-colors", "16", "(", "-size", "64x48",
                  "gradient:yellow-blue", "-colors", "8", ")"})
            << path);
    TGIFImage gif;
    gif.loadFromFile(QStringLiteral("c:\\maps.gif"));
    ASSERT_EQ(gif.frameCount(), 2);
    EXPECT_FALSE(gif.frame(0).hasLocalColorMap());
    EXPECT_TRUE(gif.frame(1).hasLocalColorMap());
    EXPECT_NE(gif.frame(1).colorMap(), gif.globalColorMap());
}

TEST(GifImage, TransparentPixelsShowWhatIsBehind) {
    TempDrive drive;
    const QString path = drive.host(QStringLiteral("c:\\spot.gif"));
    convert(args({"-size", "50x40", "xc:white", "+antialias", "-fill", "red", "-draw", "circle 25,20 25,5",
                  "-fill", "blue", "-draw", "rectangle 0,0 9,9", "-transparent", "white"})
            << path);
    const QString expectedPath = drive.host(QStringLiteral("c:\\expected.png"));
    convert(args({"-size", "50x40", "xc:silver"})
            << path << QStringLiteral("-composite") << QStringLiteral("PNG24:") + expectedPath);

    TGIFImage gif;
    gif.loadFromFile(QStringLiteral("c:\\spot.gif"));
    ASSERT_TRUE(gif.transparent());
    QImage box(50, 40, QImage::Format_RGB32);
    box.fill(QColor(192, 192, 192));
    TCanvas canvas(box);
    canvas.draw(0, 0, &gif);
    const QString difference = firstDifference(QImage(expectedPath), box);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
    EXPECT_EQ(box.pixel(25, 20), qRgb(255, 0, 0));
    EXPECT_EQ(box.pixel(49, 39), qRgb(192, 192, 192));

    // With the flag off the transparent colour is drawn like any other.
    gif.setTransparent(false);
    canvas.draw(0, 0, &gif);
    ASSERT_TRUE(gif.frame(0).transparentColor().has_value());
    EXPECT_EQ(box.pixel(49, 39), *gif.frame(0).transparentColor() | 0xFF000000);
    EXPECT_NE(box.pixel(49, 39), qRgb(192, 192, 192));
}

} // namespace
