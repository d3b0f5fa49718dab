#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/TempDrive.h"

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

} // namespace
