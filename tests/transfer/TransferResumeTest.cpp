#include "tests/transfer/TransferFixture.h"

#include "platform/DurableFile.h"
#include "transfer/TransferJournal.h"

#include <QDir>
#include <QFile>

using transfer::SentFile;
using transfer::TransferJournal;

namespace {

transfer::FileStamp stampOfBytes(const QByteArray& bytes, const TempDrive& drive) {
    drive.writeFile("c:\\stamp.tmp", bytes);
    return transfer::stampOf("c:\\stamp.tmp");
}

void record(const QString& name, TransferJournal::FileState state, const transfer::FileStamp& stamp) {
    TransferJournal journal;
    journal.open();
    if (state == TransferJournal::FileState::InFlight)
        journal.recordInFlight(name, stamp);
    else
        journal.recordSent(name, stamp);
}

} // namespace

TEST_F(TransferFixture, AFileBrokenOffPartWayIsResumedToExactlyTheLocalBytes) {
    const QByteArray bytes = randomBytes(200000, 1);
    writeTransferFile("AB123456.Zip", bytes);
    record("AB123456.Zip", TransferJournal::FileState::InFlight, stampOfBytes(bytes, drive));
    writeRemoteFile("AB123456.Zip", bytes.left(70001));
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(remoteFile("AB123456.Zip"), bytes);
    ASSERT_EQ(outcome.receipt.files.size(), 1);
    EXPECT_EQ(int(outcome.receipt.files[0].how), int(SentFile::How::Resumed));
    EXPECT_EQ(outcome.receipt.files[0].from, 70001);
    EXPECT_FALSE(isLocal("AB123456.Zip"));
}

TEST_F(TransferFixture, InFlightFilesEndWholeWhateverTheServerKept) {
    struct Case {
        const char* name;
        qint64 remoteBytes; // -1: nothing on the server
        bool changedSince;  // the local file is not the one that was in flight
        SentFile::How how;
    };
    const Case cases[] = {
        {"nothing arrived", -1, false, SentFile::How::Sent},
        {"all bytes arrived before the confirmation", 150000, false, SentFile::How::Resumed},
        {"no byte arrived", 0, false, SentFile::How::Resumed},
        {"the file changed since", 4000, true, SentFile::How::Replaced},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = randomBytes(150000, 2);
        const QByteArray inFlight = c.changedSince ? randomBytes(150000, 3) : bytes;
        writeTransferFile("a.jpg", bytes);
        record("a.jpg", TransferJournal::FileState::InFlight, stampOfBytes(inFlight, drive));
        if (c.remoteBytes >= 0) writeRemoteFile("a.jpg", inFlight.left(c.remoteBytes));
        const transfer::RunOutcome outcome = run();
        ASSERT_TRUE(outcome.succeeded) << c.name << ": " << outcome.error.toStdString();
        EXPECT_EQ(remoteFile("a.jpg"), bytes) << c.name;
        ASSERT_EQ(outcome.receipt.files.size(), 1) << c.name;
        EXPECT_EQ(int(outcome.receipt.files[0].how), int(c.how)) << c.name;
        collectRemoteFiles();
    }
}

TEST_F(TransferFixture, AFileTheServerConfirmedButThatStayedIsOnlyDeleted) {
    const QByteArray bytes = randomBytes(50000, 4);
    writeTransferFile("a.jpg", bytes);
    writeTransferFile("b.jpg", "b");
    record("a.jpg", TransferJournal::FileState::Sent, stampOfBytes(bytes, drive));
    writeRemoteFile("a.jpg", bytes);
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(remoteFile("a.jpg"), bytes) << "not doubled";
    EXPECT_EQ(remoteFile("b.jpg"), "b");
    EXPECT_TRUE(localFiles().isEmpty());
    ASSERT_EQ(outcome.receipt.files.size(), 2);
    EXPECT_EQ(int(outcome.receipt.files[0].how), int(SentFile::How::AlreadySent));
}

TEST_F(TransferFixture, AFileOnTheServerThatIsNotOursIsNeverExtended) {
    struct Case {
        const char* name;
        bool inFlight; // recorded in flight, but the server holds more than that file
    };
    for (const Case& c : {Case{"no record", false}, Case{"larger than our part", true}}) {
        const QByteArray bytes = randomBytes(5000, 5);
        writeTransferFile("a.jpg", "first");
        writeTransferFile("b.jpg", bytes);
        writeTransferFile("c.jpg", "last");
        if (c.inFlight) record("b.jpg", TransferJournal::FileState::InFlight, stampOfBytes(bytes, drive));
        writeRemoteFile("b.jpg", randomBytes(6000, 6));
        const transfer::RunOutcome outcome = run();
        EXPECT_FALSE(outcome.succeeded) << c.name;
        EXPECT_TRUE(outcome.error.contains("\"b.jpg\"")) << c.name << ": " << outcome.error.toStdString();
        EXPECT_EQ(remoteFile("b.jpg"), randomBytes(6000, 6)) << c.name;
        EXPECT_EQ(remoteFile("a.jpg"), "first") << c.name;
        EXPECT_EQ(localFiles(), QStringList({"b.jpg", "c.jpg"})) << c.name;
        collectRemoteFiles();
        ASSERT_TRUE(run().succeeded) << c.name;
        EXPECT_EQ(remoteFile("b.jpg"), bytes) << c.name;
        collectRemoteFiles();
    }
}

TEST_F(TransferFixture, CancelStopsAfterABlockAndTheNextRunSendsTheRest) {
    const QByteArray big = randomBytes(2 << 20, 7);
    writeTransferFile("a.jpg", "small");
    writeTransferFile("b.Zip", big);
    hooks.cancelAfterBlocks = 10;
    const transfer::RunOutcome cancelled = run();
    EXPECT_FALSE(cancelled.succeeded);
    EXPECT_TRUE(cancelled.error.contains("cancelled")) << cancelled.error.toStdString();
    EXPECT_TRUE(isLocal("b.Zip"));
    EXPECT_LT(remoteFile("b.Zip").size(), big.size());
    hooks.cancelAfterBlocks = -1;
    const transfer::RunOutcome second = run();
    ASSERT_TRUE(second.succeeded) << second.error.toStdString();
    EXPECT_EQ(remoteFile("b.Zip"), big);
    EXPECT_EQ(remoteFile("a.jpg"), "small");
}

TEST_F(TransferFixture, AScanWhoseArchiveIsStillOnItsWayWaitsForTheNextRun) {
    const QByteArray archiveBytes = randomBytes(1000, 8);
    writeTransferFile("12345678.Zip", archiveBytes);
    record("12345678.Zip", TransferJournal::FileState::InFlight, stampOfBytes(archiveBytes, drive));
    writeRemoteFile("12345678.Zip", archiveBytes.left(300));
    writeTransferFile("12345678802.gif", "scan");
    ASSERT_TRUE(run().succeeded);
    EXPECT_EQ(remoteFile("12345678.Zip"), archiveBytes);
    EXPECT_EQ(localFiles(), QStringList({"12345678802.gif"}));
    collectRemoteFiles();
    ASSERT_TRUE(run().succeeded);
    EXPECT_EQ(unzipMembers(remoteFolder() + "/12345678.Zip"),
              (QList<QPair<QString, QByteArray>>{{"12345678802.gif", "scan"}}));
}

TEST(TransferJournal, ALineCutShortOrDamagedIsIgnoredAndTheRestKept) {
    TempDrive drive;
    drive.makeFolder("c:\\claim");
    drive.makeFolder("c:\\claim\\db");
    {
        TransferJournal journal;
        journal.open();
        journal.recordInFlight("a b.jpg", {10, 0xabc});
        journal.recordSent("c.jpg", {11, 0xdef});
        TransferJournal::ExportRecord e;
        e.table = {1, 2};
        e.index = {3, 4};
        e.keys = {{QString::fromUtf8("กข 12,/3"), 4}, {"X", 5}};
        journal.recordExport(e);
        journal.recordSent("Vorlex2.DB", {1, 2});
    }
    QByteArray bytes = platform::durable::readWhole(TransferJournal::defaultPath());
    QByteArray damaged = bytes;
    damaged.replace("c.jpg", "d.jpg"); // its check no longer fits
    platform::durable::replaceSynced(TransferJournal::defaultPath(), damaged + "put e.jpg 12 3"); // cut short
    TransferJournal journal;
    journal.open();
    ASSERT_TRUE(journal.file("a b.jpg"));
    EXPECT_EQ(journal.file("a b.jpg")->stamp, (transfer::FileStamp{10, 0xabc}));
    EXPECT_FALSE(journal.file("c.jpg"));
    EXPECT_FALSE(journal.file("d.jpg"));
    EXPECT_FALSE(journal.file("e.jpg"));
    ASSERT_TRUE(journal.pendingExport());
    EXPECT_TRUE(journal.pendingExport()->tableSent);
    EXPECT_FALSE(journal.pendingExport()->indexSent);
    EXPECT_EQ(journal.pendingExport()->keys,
              (QList<transfer::RowKey>{{QString::fromUtf8("กข 12,/3"), 4}, {"X", 5}}));
    // Reopening rewrote it whole: an append now follows a whole line.
    journal.recordSent("Vorlex2.PX", {3, 4});
    TransferJournal again;
    again.open();
    EXPECT_TRUE(again.pendingExport()->confirmed());
    again.recordMarked();
    TransferJournal last;
    last.open();
    EXPECT_FALSE(last.pendingExport());
}
