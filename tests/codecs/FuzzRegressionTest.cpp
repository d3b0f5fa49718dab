#include "tests/fuzz/PictureExercise.h"
#include "tests/support/TempDrive.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The fuzzers' seed files and every input that once made one of them fail: each must still end in a
// picture or an error, with nothing read or written out of bounds (the fuzz build checks that).
QStringList inputs(const QStringList& folders) {
    QStringList files;
    for (const QString& folder : folders) {
        const QDir dir(QStringLiteral(VORLEX_SOURCE_DIR "/") + folder);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    return files;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(FuzzRegression, GifInputs) {
    TempDrive drive;
    codecs::setPixelLimit(4'000'000);
    const QStringList files = inputs(
        {QStringLiteral("tests/fuzz/corpus/fuzz_gif"), QStringLiteral("tests/codecs/fuzz-regressions/gif")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        picture_exercise::gif(contents(path));
    }
}

TEST(FuzzRegression, JpegInputs) {
    TempDrive drive;
    codecs::setPixelLimit(4'000'000);
    const QStringList files = inputs({QStringLiteral("tests/fuzz/corpus/fuzz_jpeg"),
                                      QStringLiteral("tests/codecs/fuzz-regressions/jpeg")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        picture_exercise::jpeg(contents(path));
    }
}

TEST(FuzzRegression, ExifInputs) {
    const QStringList files = inputs({QStringLiteral("tests/fuzz/corpus/fuzz_exif"),
                                      QStringLiteral("tests/codecs/fuzz-regressions/exif")});
    ASSERT_FALSE(files.isEmpty());
    int carried = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = contents(path);
        picture_exercise::exif(bytes);
        if (!codecs::exif::rebuiltForSize(codecs::exif::findRecord(bytes), 800, 600).isEmpty()) ++carried;
    }
    // The seeds that hold a capture record rebuild.
    EXPECT_GE(carried, 3);
}

} // namespace
