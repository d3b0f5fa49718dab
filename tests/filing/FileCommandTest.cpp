#include "filing/Messages.h"
#include "platform/Files.h"
#include "tests/filing/FilingFixture.h"
#include "tests/support/ExifTool.h"

#include <QDir>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun fileCommand(const TempDrive& drive, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VORLEX_CLI), QStringList({"--drive-c", drive.root(), "file"}) + args);
    CliRun run;
    if (!process.waitForFinished(60000)) return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList filesIn(const TempDrive& drive, const QString& systemPath) {
    return QDir(drive.host(systemPath)).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(FileCommand, FilesInboxPicturesAndPrintsTheirNames) {
    TempDrive drive;
    const QByteArray photo = pictures::jpeg(64, 48);
    drive.writeFile("c:\\picture\\IMG_0042.JPG", photo);
    drive.writeFile("c:\\picture\\scan.GIF", pictures::gif(QImage(20, 20, QImage::Format_RGB32)));
    drive.writeFile("c:\\picture\\AB123456\\AB123456300.jpg", "x");

    CliRun run = fileCommand(drive, {"--claim", "AB123456", "--category", "during", "IMG_0042.JPG"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("AB123456301.JPG\n"));
    EXPECT_EQ(drive.readFile("c:\\picture\\transfer\\AB123456301.JPG"), photo);

    run = fileCommand(drive, {"--category", "document", "--claim", "AB123456", "scan.GIF"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("AB123456800.GIF\n"));
    EXPECT_EQ(filesIn(drive, "c:\\picture\\AB123456"),
              QStringList({"AB123456300.jpg", "AB123456301.JPG", "AB123456800.GIF"}));
    EXPECT_EQ(filesIn(drive, "c:\\picture"), QStringList());
}

TEST(FileCommand, AnswersTheResizeQuestionAsTold) {
    TempDrive drive;
    const QByteArray big = pictures::jpeg(1600, 1200, true);
    drive.writeFile("c:\\picture\\big.jpg", big);

    CliRun run = fileCommand(drive, {"--claim", "AB123456", "--category", "before", "big.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("--resize")) << run.err.toStdString();
    run = fileCommand(drive, {"--claim", "AB123456", "--category", "before", "--resize", "no", "big.jpg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(filing::messages::TooLargeToTransfer)) << run.err.toStdString();
    EXPECT_EQ(drive.readFile("c:\\picture\\big.jpg"), big);
    EXPECT_TRUE(filesIn(drive, "c:\\picture\\transfer").isEmpty());

    run = fileCommand(drive, {"--claim", "AB123456", "--category", "before", "--resize", "yes", "big.jpg"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("AB123456001.jpg\n"));
    EXPECT_EQ(pictures::identify(drive.host("c:\\picture\\transfer\\AB123456001.jpg")),
              QStringLiteral("800 600 JPEG 90 None"));
    EXPECT_EQ(filesIn(drive, "c:\\picture"), QStringList());
}

TEST(FileCommand, AResizedPhotographKeepsItsCaptureRecordInBothCopies) {
    TempDrive drive;
    drive.makeFolder("c:\\picture");
    pictures::cameraPhoto(drive.host("c:\\picture\\DSC_0042.JPG"));
    ASSERT_GT(drive.readFile("c:\\picture\\DSC_0042.JPG").size(), 200000);
    const CliRun run =
        fileCommand(drive, {"--claim", "AB123456", "--category", "after", "--resize", "yes", "DSC_0042.JPG"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("AB123456500.JPG\n"));
    for (const char* copy :
         {"c:\\picture\\AB123456\\AB123456500.JPG", "c:\\picture\\transfer\\AB123456500.JPG"}) {
        SCOPED_TRACE(copy);
        const QString path = drive.host(QString::fromLatin1(copy));
        const QJsonObject tags = exiftool::exifTags(path);
        EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2024:05:01 10:22:33"));
        EXPECT_EQ(tags.value("IFD0:Model").toString(), QStringLiteral("NIKON D750"));
        EXPECT_EQ(tags.value("IFD0:Orientation").toInt(), 6);
        EXPECT_DOUBLE_EQ(tags.value("GPS:GPSLongitude").toDouble(), 100.5018);
        EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), 800);
        EXPECT_EQ(tags.value("ExifIFD:ExifImageHeight").toInt(), 600);
        EXPECT_FALSE(tags.contains("IFD1:ThumbnailImage"));
        EXPECT_EQ(pictures::identify(path), QStringLiteral("800 600 JPEG 90 None"));
    }
    EXPECT_EQ(filesIn(drive, "c:\\picture"), QStringList());
}

TEST(FileCommand, RefusesWhatADropRefuses) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\a.jpg", pictures::jpeg(16, 16));
    const struct {
        QStringList args;
        int exitCode;
        QString message;
    } cases[] = {
        {{"--claim", "AB12345", "--category", "before", "a.jpg"}, 1, filing::messages::ClaimNumberLength},
        {{"--claim", "", "--category", "before", "a.jpg"}, 1, filing::messages::EnterClaimNumber},
        {{"--claim", "AB/23456", "--category", "before", "a.jpg"},
         1,
         filing::messages::ClaimNumberCharacters.arg("AB/23456")},
        {{"--claim", "AB123456", "--category", "document", "a.jpg"}, 1, filing::messages::DocumentsOnly},
        {{"--claim", "AB123456", "--category", "before", "b.jpg"}, 1, "b.jpg is not among the new pictures"},
        {{"--claim", "AB123456", "--category", "sideways", "a.jpg"}, 2, "usage:"},
        {{"--claim", "AB123456", "a.jpg"}, 2, "usage:"},
        {{"--claim", "AB123456", "--category", "before", "--resize", "maybe", "a.jpg"}, 2, "usage:"},
    };
    for (const auto& c : cases) {
        const CliRun run = fileCommand(drive, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(filesIn(drive, "c:\\picture"), QStringList({"a.jpg"}));
    EXPECT_TRUE(filesIn(drive, "c:\\picture\\transfer").isEmpty());
}
