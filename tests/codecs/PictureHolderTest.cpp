#include "codecs/PictureHolder.h"
#include "codecs/Bitmap.h"
#include "codecs/FileFormats.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"
#include "tests/codecs/CodecsTestSupport.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

using namespace codecs_test;

namespace {

class PictureHolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_.makeFolder(QStringLiteral("c:\\picture"));
        convert({QStringLiteral("-size"), QStringLiteral("64x48"), QStringLiteral("xc:orange"),
                 host("photo.jpg")});
        convert(
            {QStringLiteral("-size"), QStringLiteral("30x60"), QStringLiteral("xc:navy"), host("scan.gif")});
        drive_.writeFile(QStringLiteral("c:\\picture\\IMG_0001.JPG"), file("photo.jpg"));
        drive_.writeFile(QStringLiteral("c:\\picture\\photo.jpeg"), file("photo.jpg"));
        drive_.writeFile(QStringLiteral("c:\\picture\\scan.jpg"), file("scan.gif"));
        drive_.writeFile(QStringLiteral("c:\\picture\\photo.png"), file("photo.jpg"));
        drive_.writeFile(QStringLiteral("c:\\picture\\icon.ico"), file("photo.jpg"));
        drive_.writeFile(QStringLiteral("c:\\picture\\README"), file("photo.jpg"));
    }
    QString host(const char* name) const {
        return drive_.host(QStringLiteral("c:\\picture\\") + QLatin1String(name));
    }
    QByteArray file(const char* name) const {
        return drive_.readFile(QStringLiteral("c:\\picture\\") + QLatin1String(name));
    }

    TempDrive drive_;
};

TEST_F(PictureHolderTest, KindFollowsTheExtensionAndFailuresKeepThePicture) {
    TPictureHolder holder;
    int changes = 0;
    holder.onChange = [&] { ++changes; };
    holder.loadFromFile(QStringLiteral("c:\\picture\\scan.gif"));
    ASSERT_EQ(changes, 1);
    const struct {
        const char* path;
        const char* kind;    // after a successful load
        const char* message; // or the error
    } cases[] = {
        {"c:\\picture\\IMG_0001.JPG", "TJPEGImage", nullptr},
        {"c:\\picture\\photo.jpeg", "TJPEGImage", nullptr},
        {"C:\\PICTURE\\SCAN.GIF", "TGIFImage", nullptr},
        {"c:\\picture\\photo.png", nullptr, "Unknown picture file extension (.png)"},
        {"c:\\picture\\scan.jpg", nullptr, "JPEG error #53"},
        {"c:\\picture\\icon.ico", nullptr, "Icons cannot be loaded"},
        {"c:\\picture\\README", nullptr, "Platform pictures cannot be loaded"},
        {"c:\\picture\\gone.jpg", nullptr,
         "Cannot open file \"c:\\picture\\gone.jpg\". No such file or directory"},
    };
    for (const auto& c : cases) {
        const TGraphic* before = holder.graphic();
        const int changesBefore = changes;
        const QString message = errorOf([&] { holder.loadFromFile(QString::fromLatin1(c.path)); });
        if (c.kind) {
            EXPECT_TRUE(message.isEmpty()) << c.path << ": " << message.toStdString();
            ASSERT_NE(holder.graphic(), nullptr);
            EXPECT_EQ(holder.graphic()->className(), QLatin1String(c.kind)) << c.path;
            EXPECT_EQ(changes, changesBefore + 1) << c.path;
        } else {
            EXPECT_EQ(message, QLatin1String(c.message)) << c.path;
            EXPECT_EQ(holder.graphic(), before) << c.path << ": the previous picture went";
            EXPECT_EQ(changes, changesBefore) << c.path;
        }
    }
}

TEST_F(PictureHolderTest, GifNamedJpgKeepsTheJpegShown) {
    TPictureHolder holder;
    holder.loadFromFile(QStringLiteral("c:\\picture\\IMG_0001.JPG"));
    TGraphic* shown = holder.graphic();
    EXPECT_EQ(errorOf([&] { holder.loadFromFile(QStringLiteral("c:\\picture\\scan.jpg")); }),
              QStringLiteral("JPEG error #53"));
    EXPECT_EQ(holder.graphic(), shown);
    EXPECT_EQ(holder.width(), 64);
}

TEST_F(PictureHolderTest, InstalledBitmapIsACopy) {
    TBitmap cell;
    cell.setSize(10, 8);
    cell.setTransparentColor(QColor(128, 128, 0));
    cell.setTransparent(true);
    TPictureHolder box;
    box.assign(&cell);
    cell.setSize(3, 3);
    ASSERT_NE(box.bitmap(), nullptr);
    EXPECT_EQ(box.width(), 10);
    EXPECT_TRUE(box.bitmap()->transparent());
    EXPECT_EQ(box.bitmap()->transparentColor(), QColor(128, 128, 0));
    box.assign(nullptr);
    EXPECT_EQ(box.graphic(), nullptr);
}

TEST_F(PictureHolderTest, ChangesOfThePictureReachTheOwner) {
    TPictureHolder holder;
    holder.loadFromFile(QStringLiteral("c:\\picture\\scan.gif"));
    int changes = 0;
    holder.onChange = [&] { ++changes; };
    holder.graphic()->setTransparent(false);
    EXPECT_EQ(changes, 1);
}

TEST_F(PictureHolderTest, SavingToAFolderThatIsNotThereFails) {
    TJPEGImage jpeg;
    jpeg.loadFromFile(QStringLiteral("c:\\picture\\IMG_0001.JPG"));
    const QString message = errorOf([&] { jpeg.saveToFile(QStringLiteral("c:\\nowhere\\TEMP.JPG")); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"c:\\nowhere\\TEMP.JPG\". ")))
        << message.toStdString();
}

TEST(FileFormats, RegisteredInTheirOrder) {
    TempDrive drive;
    QStringList seen;
    for (const TFileFormat& format : fileFormats().entries())
        seen << format.extension + QLatin1Char('=') + format.className + QLatin1Char('/') +
                    format.description;
    EXPECT_EQ(seen, QStringList({
                        QStringLiteral("wmf=TMetafile/Metafiles"),
                        QStringLiteral("emf=TMetafile/Enhanced Metafiles"),
                        QStringLiteral("ico=TIcon/Icons"),
                        QStringLiteral("bmp=TBitmap/Bitmaps"),
                        QStringLiteral("jpeg=TJPEGImage/JPEG Image File"),
                        QStringLiteral("jpg=TJPEGImage/JPEG Image File"),
                        QStringLiteral("gif=TGIFImage/CompuServe GIF Image"),
                        QStringLiteral("=TPlatformPicture/Platform pictures"),
                    }));
}

TEST(FileFormats, LaterRegistrationsWin) {
    TempDrive drive;
    TFileFormatsList list;
    list.add(QStringLiteral("JPG"), QStringLiteral("Replacement"), QStringLiteral("TBitmap"),
             [] { return std::make_unique<TBitmap>(); });
    ASSERT_NE(list.find(QStringLiteral("Jpg")), nullptr);
    EXPECT_EQ(list.find(QStringLiteral("Jpg"))->description, QStringLiteral("Replacement"));
    EXPECT_EQ(list.find(QStringLiteral("png")), nullptr);
    EXPECT_EQ(pictureExtension(QStringLiteral("c:\\pic.d\\file")), QString());
    EXPECT_EQ(pictureExtension(QStringLiteral("c:\\picture\\a.b.JPEG")), QStringLiteral("jpeg"));
}

} // namespace
