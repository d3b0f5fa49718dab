#include "tests/archive/ArchivePeers.h"
#include "tests/archive/ZipFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace archive;

using Placement = ZipFixture;

// The archive is made immutable once the job has begun, so the finished temporary file cannot be renamed
// over it.
TEST_F(Placement, ANewArchiveThatCannotTakeTheOldOnesPlaceIsKept) {
    writeScan("AB123456800.gif", textLikeBytes(1500));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    const QString archive = archiveHost("AB123456800.gif");
    if (runProgram("chattr", {"+i", archive}) != 0) GTEST_SKIP() << "chattr +i is not available here";
    writeScan("AB123456801.gif", textLikeBytes(1600));
    EXPECT_EQ(addScan("AB123456801.gif"), 0);
    runProgram("chattr", {"-i", archive});

    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].code, ErrArchiveNotReplaced);
    EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
    EXPECT_TRUE(scanIsThere("AB123456801.gif"));
    // The kept file is the complete new archive.
    const QString kept = errors[0].detail;
    EXPECT_TRUE(QFileInfo(kept).fileName().startsWith("qmb")) << kept.toStdString();
    EXPECT_EQ(leftoverTempFiles(host("c:\\picture\\transfer")), QStringList{QFileInfo(kept).fileName()});
    EXPECT_EQ(pythonMembers(kept).size(), 2);
    expectReadersAccept(kept);
}

TEST_F(Placement, ATemporaryFolderOnAnotherFileSystemIsCopiedFromThenEmptied) {
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/vorlex-archive-XXXXXX"));
    struct stat a {};
    struct stat b {};
    if (!elsewhere.isValid() || ::stat("/dev/shm", &a) != 0 ||
        ::stat(QFile::encodeName(drive.root()), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system here";
    zip.TempDir = elsewhere.path();
    writeScan("AB123456800.gif", textLikeBytes(1500));
    writeScan("AB123456801.gif", textLikeBytes(1600));
    EXPECT_EQ(addScan("AB123456800.gif"), 1);
    EXPECT_EQ(addScan("AB123456801.gif"), 1);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(pythonMembers(archiveHost("AB123456800.gif")).size(), 2);
    EXPECT_TRUE(leftoverTempFiles(elsewhere.path()).isEmpty());
    EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
}

TEST_F(Placement, TheNewArchiveIsBuiltInTempDirWhenThatIsAFolder) {
    drive.makeFolder("c:\\work");
    zip.TempDir = "c:\\work";
    QStringList inWork, inTransfer;
    zip.OnBegin = [&](TZip&, const QString&, int, bool&) {
        inWork = leftoverTempFiles(host("c:\\work"));
        inTransfer = leftoverTempFiles(host("c:\\picture\\transfer"));
    };
    writeScan("AB123456800.gif", textLikeBytes(1500));
    EXPECT_EQ(addScan("AB123456800.gif"), 1);
    EXPECT_EQ(inWork.size(), 1);
    EXPECT_TRUE(inTransfer.isEmpty());
    EXPECT_TRUE(leftoverTempFiles(host("c:\\work")).isEmpty());
    EXPECT_EQ(pythonMembers(archiveHost("AB123456800.gif")).size(), 1);
}

TEST_F(Placement, AFolderThatTakesNoNewFileIsWriteProtected) {
    const QString folder = host("c:\\picture\\transfer");
    writeScan("AB123456800.gif", textLikeBytes(100));
    if (runProgram("chattr", {"+i", folder}) != 0) GTEST_SKIP() << "chattr +i is not available here";
    const int added = addScan("AB123456800.gif");
    runProgram("chattr", {"-i", folder});
    EXPECT_EQ(added, 0);
    EXPECT_EQ(errorCodes(), QList<int>{ErrWriteProtected});
    EXPECT_TRUE(scanIsThere("AB123456800.gif"));
    EXPECT_FALSE(QFileInfo::exists(archiveHost("AB123456800.gif")));
}

// The process may write no file beyond a limit, so building the new archive fails part way: in the new
// member's data, or in the end record. Every test runs in a process of its own.
TEST_F(Placement, AWriteErrorLeavesTheArchiveAndTheScan) {
    writeScan("AB123456800.gif", textLikeBytes(1500));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    const QByteArray scan = randomBytes(300000);
    writeScan("AB123456801.gif", scan);
    ASSERT_EQ(addScan("AB123456801.gif"), 1);
    const qint64 fullSize = archiveBytes("AB123456800.gif").size();

    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    for (const qint64 limit : {fullSize / 2, fullSize - 10}) {
        SCOPED_TRACE(limit);
        drive.writeFile(transferPath("AB123456.Zip"), before);
        writeScan("AB123456801.gif", scan);
        errors.clear();
        rlimit limited = original;
        limited.rlim_cur = rlim_t(limit);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const int added = addScan("AB123456801.gif");
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &original), 0);
        EXPECT_EQ(added, 0);
        EXPECT_EQ(errorCodes(), QList<int>{ErrWriting});
        EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
        EXPECT_TRUE(scanIsThere("AB123456801.gif"));
        EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
    }
}
