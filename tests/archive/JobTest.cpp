#include "archive/FileSearch.h"
#include "archive/ZipHeaders.h"
#include "platform/Files.h"
#include "tests/archive/ArchivePeers.h"
#include "tests/archive/ZipFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace archive;

using Job = ZipFixture;

TEST_F(Job, FirstScanCreatesTheArchiveAndGoesToTheTrash) {
    const QByteArray content = textLikeBytes(40000);
    writeScan("AB123456800.gif", content);
    EXPECT_EQ(addScan("AB123456800.gif"), 1);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(begins, (QList<QPair<QString, int>>{{"c:\\Picture\\Transfer\\AB123456800.gif", 1}}));
    EXPECT_EQ(deleted, QStringList{"c:\\Picture\\Transfer\\AB123456800.gif"});
    EXPECT_FALSE(scanIsThere("AB123456800.gif"));
    // The trash is the test's own, inside its temporary folder.
    QFile inTrash(trashed("AB123456800.gif"));
    ASSERT_TRUE(inTrash.open(QIODevice::ReadOnly)) << trashed("AB123456800.gif").toStdString();
    EXPECT_EQ(inTrash.readAll(), content);
    EXPECT_TRUE(QFileInfo(archiveHost("AB123456800.gif")).fileName() == "AB123456.Zip");
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].content, content);
    expectReadersAccept(archiveHost("AB123456800.gif"));
    EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
}

TEST_F(Job, SecondScanIsAppendedAfterTheUnchangedFirstMember) {
    writeScan("AB123456800.gif", textLikeBytes(9000));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray first = archiveBytes("AB123456800.gif");
    const qint64 firstCentral =
        get32(first.constData() + first.size() - kEndRecordSize + endrecord::CentralOffset);

    const QByteArray second = randomBytes(5000);
    writeScan("AB123456801.gif", second);
    begins.clear();
    EXPECT_EQ(addScan("AB123456801.gif"), 1);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(begins, (QList<QPair<QString, int>>{{"c:\\Picture\\Transfer\\AB123456801.gif", 2}}));
    const QByteArray both = archiveBytes("AB123456801.gif");
    EXPECT_EQ(both.left(firstCentral), first.left(firstCentral));
    // The first member's central header and name are carried over byte for byte (its offset is still 0).
    const qint64 bothCentral =
        get32(both.constData() + both.size() - kEndRecordSize + endrecord::CentralOffset);
    EXPECT_EQ(both.mid(bothCentral, kCentralHeaderSize + 15),
              first.mid(firstCentral, kCentralHeaderSize + 15));
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456801.gif"));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].rawName, "AB123456800.gif");
    EXPECT_EQ(members[0].headerOffset, 0);
    EXPECT_EQ(members[1].rawName, "AB123456801.gif");
    EXPECT_EQ(members[1].headerOffset, firstCentral);
    EXPECT_EQ(members[1].content, second);
    for (const PeerMember& m : members)
        EXPECT_EQ(m.internalAttr, 1);
    expectReadersAccept(archiveHost("AB123456801.gif"));
}

TEST_F(Job, AnIdenticalScanIsNotAddedButRemoved) {
    const QByteArray content = textLikeBytes(2000);
    writeScan("AB123456800.gif", content);
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    writeScan("AB123456800.gif", content); // same size, time and attributes
    deleted.clear();
    progress.clear();
    EXPECT_EQ(addScan("AB123456800.gif"), 0);
    EXPECT_EQ(errorCodes(), QList<int>{ErrNothingToDo});
    EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
    EXPECT_FALSE(scanIsThere("AB123456800.gif"));
    EXPECT_EQ(deleted, QStringList{"c:\\Picture\\Transfer\\AB123456800.gif"});
    EXPECT_EQ(progress, (QList<Progress>{{0, 0}})); // before the removal only
}

TEST_F(Job, ADifferentScanOfTheSameNameStaysInItsFolder) {
    const QByteArray original = textLikeBytes(2000);
    writeScan("AB123456800.gif", original);
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    QByteArray sameSize = original;
    sameSize[1000] = 'Q';
    // Another size; another time; only other bytes, with size, time and attributes as the member's.
    const QList<QPair<QByteArray, QDateTime>> others = {
        {randomBytes(2001), scanTime()}, {original, scanTime().addSecs(60)}, {sameSize, scanTime()}};
    for (const auto& [bytes, lastWrite] : others) {
        writeScan("AB123456800.gif", bytes, lastWrite);
        errors.clear();
        EXPECT_EQ(addScan("AB123456800.gif"), 0);
        ASSERT_EQ(errors.size(), 2);
        EXPECT_EQ(errors[0].code, ErrEventNotAssigned);
        EXPECT_EQ(errors[0].detail, "OnReplaceFile");
        EXPECT_EQ(errors[0].fileName, "c:\\Picture\\Transfer\\AB123456800.gif");
        EXPECT_EQ(errors[0].archiveFile, "c:\\Picture\\Transfer\\AB123456.Zip");
        EXPECT_EQ(errors[1].code, ErrNothingToDo);
        EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
        EXPECT_TRUE(scanIsThere("AB123456800.gif"));
    }
}

TEST_F(Job, AReplaceHandlerThatAgreesReplacesTheMember) {
    writeScan("AB123456800.gif", textLikeBytes(2000));
    writeScan("AB123456801.gif", textLikeBytes(300));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    ASSERT_EQ(addScan("AB123456801.gif"), 1);
    const QByteArray newer = randomBytes(3000);
    writeScan("AB123456800.gif", newer);
    zip.OnReplaceFile = [](TZip&, const QString&, bool& replace) { replace = true; };
    EXPECT_EQ(addScan("AB123456800.gif"), 1);
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].rawName, "AB123456801.gif");
    EXPECT_EQ(members[1].rawName, "AB123456800.gif");
    EXPECT_EQ(members[1].content, newer);
    EXPECT_FALSE(scanIsThere("AB123456800.gif"));
    expectReadersAccept(archiveHost("AB123456800.gif"));
}

TEST_F(Job, FilesThatAreNotTakenLeaveNoArchive) {
    // A pattern that matches nothing, and a hidden scan (a name beginning with ".").
    drive.writeFile(transferPath(".AB123456800.gif"), "hidden");
    for (const QString& spec : {transferPath("AB999999*.gif"), transferPath(".AB123456800.gif")}) {
        errors.clear();
        EXPECT_EQ(addToArchive(transferPath("AB123456.Zip"), spec), 0) << spec.toStdString();
        EXPECT_EQ(errorCodes(), QList<int>{ErrNothingToDo});
    }
    EXPECT_FALSE(QFileInfo::exists(archiveHost("AB123456800.gif")));
    EXPECT_TRUE(scanIsThere(".AB123456800.gif"));
    EXPECT_TRUE(deleted.isEmpty());
    EXPECT_TRUE(progress.isEmpty()); // no archive, so no removal step
    EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
}

TEST_F(Job, AReadOnlyScanIsTakenWithItsAttribute) {
    writeScan("AB123456800.gif", textLikeBytes(500));
    QFile::setPermissions(host(transferPath("AB123456800.gif")),
                          QFileDevice::ReadOwner | QFileDevice::ReadOther);
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].externalAttr, 0x21u);
}

TEST_F(Job, AReadOnlyArchiveIsLeftUntouchedAndTheScanKept) {
    writeScan("AB123456800.gif", textLikeBytes(500));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    QFile::setPermissions(archiveHost("AB123456800.gif"), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    writeScan("AB123456801.gif", textLikeBytes(600));
    EXPECT_EQ(addScan("AB123456801.gif"), 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].code, ErrEventNotAssigned);
    EXPECT_EQ(errors[0].detail, "OnNonWriteableArchive");
    EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
    EXPECT_TRUE(scanIsThere("AB123456801.gif"));
    EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());

    // A handler that agrees makes the archive writable and the job goes on.
    zip.OnNonWriteableArchive = [](TZip&, const QString&, bool& makeWritable) { makeWritable = true; };
    EXPECT_EQ(addScan("AB123456801.gif"), 1);
    EXPECT_EQ(pythonMembers(archiveHost("AB123456801.gif")).size(), 2);
}

TEST_F(Job, AMissingTransferFolderEndsTheJobQuietly) {
    QDir(host("c:\\picture\\transfer")).removeRecursively();
    drive.writeFile("c:\\picture\\AB123456800.gif", "scan");
    EXPECT_EQ(addToArchive("c:\\Picture\\Transfer\\AB123456.Zip", "c:\\picture\\AB123456800.gif"), 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].code, ErrInvalidDirectory);
    EXPECT_EQ(errors[0].detail, "c:\\Picture\\Transfer");
    EXPECT_FALSE(QFileInfo::exists(host("c:\\picture\\transfer")));
    EXPECT_TRUE(QFileInfo::exists(host("c:\\picture\\AB123456800.gif")));
}

TEST_F(Job, ScansOfTwoClaimsMakeTwoArchives) {
    for (const char* name : {"12345678800.gif", "12345678801.gif", "12345678802.gif", "87654321800.gif"})
        writeScan(name, textLikeBytes(1000 + int(qstrlen(name))));
    // The transfer run's archiving step: every scan in name order, each one job.
    QList<platform::files::FoundFile> scans = platform::files::find(transferPath("*.gif"));
    for (const platform::files::FoundFile& scan : scans)
        EXPECT_EQ(addScan(scan.name), 1) << scan.name.toStdString();
    EXPECT_TRUE(platform::files::find(transferPath("*.gif")).isEmpty());
    EXPECT_EQ(pythonMembers(archiveHost("12345678800.gif")).size(), 3);
    EXPECT_EQ(pythonMembers(archiveHost("87654321800.gif")).size(), 1);
    QStringList left = QDir(host("c:\\picture\\transfer")).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"12345678.Zip", "87654321.Zip"}));
}

TEST_F(Job, ACancelledJobAddsNothingAndRemovesNothing) {
    writeScan("AB123456800.gif", textLikeBytes(1000));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray before = archiveBytes("AB123456800.gif");
    const struct {
        const char* when;
        int scanSize;
        Progress cancelAt;
    } cases[] = {{"first block", 400000, {33, 33}},
                 {"last block", 400000, {100, 100}},
                 {"before the central directory", 400000, {0, 0}},
                 {"an empty scan", 0, {0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        drive.writeFile(transferPath("AB123456.Zip"), before);
        writeScan("AB123456801.gif", textLikeBytes(c.scanSize));
        errors.clear();
        zip.OnProgress = [&](TZip& sender, quint8 byFile, quint8 byArchive) {
            if (Progress{byFile, byArchive} == c.cancelAt) sender.Cancel();
        };
        if (c.scanSize == 0) zip.OnBegin = [](TZip& sender, const QString&, int, bool&) { sender.Cancel(); };
        EXPECT_EQ(addScan("AB123456801.gif"), 0);
        EXPECT_EQ(errorCodes(), QList<int>{ErrUserCanceled});
        EXPECT_EQ(archiveBytes("AB123456800.gif"), before);
        EXPECT_TRUE(scanIsThere("AB123456801.gif"));
        EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
    }
}

TEST_F(Job, FilesLeftOutByOnBeginOrThatVanishStayOut) {
    writeScan("AB123456800.gif", textLikeBytes(1000));
    writeScan("AB123456801.gif", textLikeBytes(1100));
    writeScan("AB123456802.gif", textLikeBytes(1200));
    zip.OnBegin = [this](TZip&, const QString& fileName, int, bool& extract) {
        if (fileName.endsWith("800.gif")) extract = false;
        if (fileName.endsWith("801.gif")) QFile::remove(host(fileName)); // gone before it is opened
    };
    EXPECT_EQ(addToArchive(transferPath("AB123456.Zip"), transferPath("AB123456*.gif")), 1);
    EXPECT_EQ(errorCodes(), QList<int>{ErrOpeningFile});
    EXPECT_EQ(errors[0].fileName, transferPath("AB123456801.gif"));
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].rawName, "AB123456802.gif");
    EXPECT_EQ(members[0].headerOffset, 0);
    EXPECT_TRUE(scanIsThere("AB123456800.gif"));
    EXPECT_FALSE(scanIsThere("AB123456802.gif"));
    expectReadersAccept(archiveHost("AB123456800.gif"));
}

TEST_F(Job, ArchivePathAndDefaultExtensionRules) {
    zip.setDefaultExt("ZIP");
    EXPECT_EQ(zip.DefaultExt(), ".zip");
    zip.setArchiveFile("c:/Picture/Transfer/AB123456");
    EXPECT_EQ(zip.ArchiveFile(), "c:\\Picture\\Transfer\\AB123456.zip");
    zip.setArchiveFile("c:\\Picture\\Transfer\\AB123456.Zip");
    EXPECT_EQ(zip.ArchiveFile(), "c:\\Picture\\Transfer\\AB123456.Zip");
    EXPECT_TRUE(zip.NewArchive());
    drive.writeFile("c:\\picture\\OLD.zip", "x");
    zip.setArchiveFile("C:\\Picture\\old.zip");
    EXPECT_FALSE(zip.NewArchive());
    zip.setArchiveFile("c:\\Pic.ture\\a.gif");
    EXPECT_EQ(zip.ArchiveFile(), "c:\\Pic.ture\\a.gif");
    zip.setDefaultExt("abcdef");
    EXPECT_EQ(zip.DefaultExt(), ".abc");
    zip.setDefaultExt(".");
    EXPECT_EQ(zip.DefaultExt(), ".ZIP");
    zip.setDefaultExt("");
    EXPECT_EQ(zip.DefaultExt(), ".ZIP");
    zip.setArchiveFile("c:\\Pic.ture\\a");
    EXPECT_EQ(zip.ArchiveFile(), "c:\\Pic.ture\\a.ZIP");

    // The job then works on the path as given with "\".
    writeScan("AB123456800.gif", "scan");
    EXPECT_EQ(addToArchive("C:/picture/transfer/AB123456", transferPath("AB123456800.gif")), 1);
    EXPECT_TRUE(QFileInfo::exists(host("c:\\picture\\transfer\\AB123456.ZIP")));
}

TEST_F(Job, SubfoldersAreSearchedOnlyWhenAsked) {
    writeScan("AB123456800.gif", "top");
    drive.writeFile("c:\\picture\\transfer\\sub\\AB123456801.gif", "below");
    drive.writeFile("c:\\picture\\transfer\\.hid\\AB123456802.gif", "hidden folder");
    EXPECT_EQ(addToArchive(transferPath("FLAT.zip"), transferPath("*.gif")), 1);
    zip.RecurseDirs = true;
    zip.Switch = swAdd;
    writeScan("AB123456800.gif", "top again");
    EXPECT_EQ(addToArchive(transferPath("DEEP.zip"), transferPath("*.gif")), 2);
    const QList<PeerMember> members = pythonMembers(host(transferPath("DEEP.zip")));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].rawName, "AB123456800.gif");
    EXPECT_EQ(members[1].rawName, "sub/AB123456801.gif");
    EXPECT_TRUE(QFileInfo::exists(host("c:\\picture\\transfer\\sub\\AB123456801.gif")));
}

TEST(AttributeFilter, TheTransferRunsFilterTakesOrdinaryFilesOnly) {
    const TqmbFileAttributes admit = fsZeroAttr | fsReadOnly | fsArchive | fsCompressed | fsEncrypted;
    struct Case {
        quint32 word;
        bool taken;
    };
    for (const Case& c :
         {Case{0x00, true}, Case{0x80, true}, Case{0x01, true}, Case{0x20, true}, Case{0x800, true},
          Case{0x2000, true}, Case{0x4000, true}, Case{0x22, true}, Case{0x02, false}, Case{0x04, false},
          Case{0x100, false}, Case{0x106, false}, Case{0x82, false}, Case{0x10, false}})
        EXPECT_EQ(passesAttributeFilter(admit, {}, c.word), c.taken) << std::hex << c.word;
    // The excluding set never uses the not-content-indexed row.
    EXPECT_TRUE(passesAttributeFilter(admit, fsReadOnly, 0x2000));
    EXPECT_FALSE(passesAttributeFilter(admit, fsReadOnly, 0x21));
    EXPECT_FALSE(passesAttributeFilter(admit, fsZeroAttr, 0x80));
}

TEST_F(Job, TheArchiveNeverTakesItself) {
    writeScan("AB123456800.gif", textLikeBytes(1000));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    writeScan("AB123456801.gif", textLikeBytes(1100));
    EXPECT_EQ(addToArchive(transferPath("AB123456.Zip"), transferPath("*.*")), 1);
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[1].rawName, "AB123456801.gif");
    EXPECT_EQ(deleted, (QStringList{transferPath("AB123456800.gif"), transferPath("AB123456801.gif")}));
}

TEST_F(Job, AnArchiveMadeAfterTheAssignmentIsExtendedNotOverwritten) {
    writeScan("AB123456800.gif", textLikeBytes(1000));
    writeScan("AB123456801.gif", textLikeBytes(1100));
    zip.setArchiveFile(transferPath("AB123456.Zip"));
    ASSERT_TRUE(zip.NewArchive());
    TZip other;
    applyTransferSettings(other);
    other.setArchiveFile(transferPath("AB123456.Zip"));
    other.FileSpec = QStringList{transferPath("AB123456800.gif")};
    ASSERT_EQ(other.Compress(), 1);
    zip.FileSpec = QStringList{transferPath("AB123456801.gif")};
    EXPECT_EQ(zip.Compress(), 1);
    EXPECT_EQ(pythonMembers(archiveHost("AB123456800.gif")).size(), 2);
}

TEST_F(Job, ArchivePathsThatCannotBeReachedEndTheJob) {
    writeScan("AB123456800.gif", textLikeBytes(100));
    const struct {
        const char* archive;
        QList<int> codes;
    } cases[] = {{"d:\\Transfer\\AB123456.Zip", {ErrNotAccessible}},
                 {"c:\\nofolder\\AB123456.Zip", {ErrInvalidDirectory}},
                 {"", {}}};
    for (const auto& c : cases) {
        errors.clear();
        EXPECT_EQ(addToArchive(c.archive, transferPath("AB123456800.gif")), 0) << c.archive;
        EXPECT_EQ(errorCodes(), c.codes) << c.archive;
    }
    EXPECT_TRUE(scanIsThere("AB123456800.gif"));
}

// The figures OnProgress gets, ending with (0, 0) before the central directory and (0, 0) before the scan
// is removed.
TEST_F(Job, ProgressFigures) {
    const struct {
        const char* what;
        QByteArray earlierMember; // none when empty
        const char* scan;
        QByteArray content;
        QList<Progress> expected;
    } cases[] = {
        // Deflated in blocks of 131,072 bytes.
        {"one file of 300,000 bytes",
         {},
         "AB123456800.gif",
         textLikeBytes(300000),
         {{44, 44}, {87, 87}, {100, 100}, {0, 0}, {0, 0}}},
        // Stored in blocks of 102,400 bytes: 12.5 % gives 12, 37.5 % gives 38, 62.5 % gives 62, 87.5 % 88.
        {"halves rounded to even",
         {},
         "AB123456800.zip",
         randomBytes(819200),
         {{12, 12}, {25, 25}, {38, 38}, {50, 50}, {62, 62}, {75, 75}, {88, 88}, {100, 100}, {0, 0}, {0, 0}}},
        // Copying the earlier member uses up the job's bytes before the new file is encoded.
        {"after a larger member",
         randomBytes(400000),
         "AB123456801.gif",
         textLikeBytes(300000),
         {{44, 100}, {87, 100}, {100, 100}, {0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(host(transferPath("AB123456.Zip")));
        if (!c.earlierMember.isEmpty()) {
            writeScan("AB123456800.gif", c.earlierMember);
            ASSERT_EQ(addScan("AB123456800.gif"), 1);
        }
        writeScan(c.scan, c.content);
        progress.clear();
        ASSERT_EQ(addScan(c.scan), 1);
        EXPECT_EQ(progress, c.expected);
    }
}
