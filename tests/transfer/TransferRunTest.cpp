#include "tests/transfer/TransferFixture.h"

#include "platform/DurableFile.h"
#include "platform/Error.h"
#include "transfer/TransferJournal.h"

#include <QDir>
#include <QFile>

using transfer::RowKey;

namespace {

QByteArray photo(int seed) {
    return randomBytes(150000 + seed * 7, unsigned(seed));
}

} // namespace

TEST_F(TransferFixture, AnEmptyTransferFolderConnectsSendsNothingAndSucceeds) {
    const transfer::RunOutcome outcome = run();
    EXPECT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_TRUE(transfer::UploadSucceeded);
    EXPECT_EQ(hooks.barMaximum, 1);
    EXPECT_EQ(hooks.barPosition, 1);
    EXPECT_EQ(hooks.windowClosed, 1);
    EXPECT_TRUE(remoteFiles().isEmpty());
    EXPECT_EQ(rows.exports, 0);
    EXPECT_EQ(rows.markings, 0);
    EXPECT_TRUE(server->log().contains("CWD")) << server->log().toStdString();
}

TEST_F(TransferFixture, FourFilesArriveWholeTheBarGoesFromOneToFiveAndTheFilesGo) {
    const QStringList names = {"AB123456001.JPG", "AB123456002.jpg", "AB123456301.Jpg", "CD000001500.jpg"};
    for (int i = 0; i < names.size(); ++i)
        writeTransferFile(names[i], photo(i));
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(hooks.barMaximum, 5);
    EXPECT_EQ(hooks.barPosition, 5);
    EXPECT_EQ(hooks.labels.first(), "AB123456001.JPG | From 'Transfer' to 'Garage 1'");
    EXPECT_GT(hooks.blocks, 4) << "the bar moves within each file";
    EXPECT_EQ(remoteFiles(), names);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(remoteFile(names[i]), photo(i)) << names[i].toStdString();
    EXPECT_TRUE(localFiles().isEmpty());
    ASSERT_EQ(outcome.receipt.files.size(), 4);
    EXPECT_EQ(outcome.receipt.files[0].stamp.size, photo(0).size());
}

TEST_F(TransferFixture, AFailureAtTheThirdOfFiveKeepsItAndTheRestAndSaysWhy) {
    const QStringList names = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
    for (int i = 0; i < names.size(); ++i)
        writeTransferFile(names[i], photo(i));
    QDir(remoteFolder()).mkdir("c.jpg"); // the server cannot take a file of that name
    const transfer::RunOutcome outcome = run();
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(transfer::UploadSucceeded);
    EXPECT_TRUE(outcome.error.startsWith("Sending \"c.jpg\" failed: 550")) << outcome.error.toStdString();
    EXPECT_EQ(transfer::failureMessage(outcome.error), "Transfer failed\n\n" + outcome.error);
    EXPECT_EQ(localFiles(), QStringList({"c.jpg", "d.jpg", "e.jpg"}));
    EXPECT_EQ(remoteFile("a.jpg"), photo(0));
    EXPECT_EQ(remoteFile("b.jpg"), photo(1));
    EXPECT_EQ(hooks.windowClosed, 1);
}

TEST_F(TransferFixture, PhotographsInCapitalsGoAndOtherKindsStay) {
    writeTransferFile("X1234567001.JPG", photo(1));
    writeTransferFile("notes.txt", "text");
    writeTransferFile("X1234567.ZIP", photo(2));
    transfer::TransferJournal journal(transfer::TransferJournal::defaultPath());
    journal.open();
    writeTransferFile("Y1234567801.GIF", photo(3)); // after the archiving step a GIF is never sent
    transfer::UploadSettings upload = settings().upload;
    const transfer::UploadResult result = transfer::uploadTransferFolder(upload, journal, hooks);
    ASSERT_TRUE(result.succeeded) << result.error.toStdString();
    EXPECT_EQ(remoteFiles(), QStringList({"X1234567.ZIP", "X1234567001.JPG"}));
    EXPECT_EQ(localFiles(), QStringList({"Y1234567801.GIF", "notes.txt"}));
}

TEST_F(TransferFixture, AThaiGarageNameNamesTheFolderInTheThaiCodePage) {
    garage = QString::fromUtf8("อู่ช่างเอก");
    QDir(server->root()).mkpath(remoteFolder());
    writeTransferFile("AB123456001.jpg", photo(1));
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(remoteFile("AB123456001.jpg"), photo(1));
    EXPECT_EQ(hooks.labels.first(), QString::fromUtf8("AB123456001.jpg | From 'Transfer' to 'อู่ช่างเอก'"));
}

TEST_F(TransferFixture, ScansGoIntoOneArchivePerClaimAndTheArchivesToTheServer) {
    writeTransferFile("12345678801.gif", photo(1));
    writeTransferFile("12345678802.gif", photo(2));
    writeTransferFile("12345678803.GIF", photo(3));
    writeTransferFile("87654321801.gif", photo(4));
    writeTransferFile("a.gif", photo(5));
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(hooks.archiveJobs, QStringList({"12345678801.gif", "12345678802.gif", "12345678803.GIF",
                                              "87654321801.gif", "a.gif"}));
    EXPECT_EQ(remoteFiles(), QStringList({"12345678.Zip", "87654321.Zip", "a.gif.Zip"}));
    EXPECT_TRUE(localFiles().isEmpty());
    const auto first = unzipMembers(remoteFolder() + "/12345678.Zip");
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0], qMakePair(QString("12345678801.gif"), photo(1)));
    EXPECT_EQ(first[1], qMakePair(QString("12345678802.gif"), photo(2)));
    EXPECT_EQ(first[2], qMakePair(QString("12345678803.GIF"), photo(3)));
    EXPECT_EQ(unzipMembers(remoteFolder() + "/87654321.Zip"),
              (QList<QPair<QString, QByteArray>>{{"87654321801.gif", photo(4)}}));
    EXPECT_EQ(unzipMembers(remoteFolder() + "/a.gif.Zip"),
              (QList<QPair<QString, QByteArray>>{{"a.gif", photo(5)}}));
    EXPECT_EQ(runProgram("unzip", {"-tq", remoteFolder() + "/12345678.Zip"}), 0);
}

TEST_F(TransferFixture, ASecondRunArchivesOnlyTheScansFiledSince) {
    writeTransferFile("12345678801.gif", photo(1));
    ASSERT_TRUE(run().succeeded);
    collectRemoteFiles();
    writeTransferFile("12345678802.gif", photo(2));
    hooks.archiveJobs.clear();
    const transfer::RunOutcome second = run();
    ASSERT_TRUE(second.succeeded) << second.error.toStdString();
    EXPECT_EQ(hooks.archiveJobs, QStringList({"12345678802.gif"}));
    EXPECT_EQ(unzipMembers(remoteFolder() + "/12345678.Zip"),
              (QList<QPair<QString, QByteArray>>{{"12345678802.gif", photo(2)}}));
}

TEST_F(TransferFixture, ScansOfAFailedRunWaitInTheirArchiveAndLaterScansJoinIt) {
    writeTransferFile("12345678801.gif", photo(1));
    transfer::RunSettings noServer = settings();
    noServer.upload.host.clear();
    const transfer::RunOutcome failed = transfer::runTransfer(rows, noServer, hooks);
    EXPECT_FALSE(failed.succeeded);
    EXPECT_TRUE(failed.error.contains("FTP Host")) << failed.error.toStdString();
    EXPECT_EQ(localFiles(), QStringList({"12345678.Zip"}));
    writeTransferFile("12345678802.gif", photo(2));
    ASSERT_TRUE(run().succeeded);
    const auto members = unzipMembers(remoteFolder() + "/12345678.Zip");
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[1].second, photo(2));
}

TEST_F(TransferFixture, RowsAreMarkedOnceTheirExportFilesAreOnTheServer) {
    rows.add("AB123456", 1);
    rows.add("AB123456", 2);
    rows.add("CD000001", 1);
    writeTransferFile("AB123456001.jpg", photo(1));
    hooks.duringArchiving = [&] { rows.add("EF000001", 1); }; // saved while the run goes
    writeTransferFile("AB123456801.gif", photo(2));
    const transfer::RunOutcome outcome = run();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    const QList<RowKey> exported = {{"AB123456", 1}, {"AB123456", 2}, {"CD000001", 1}};
    EXPECT_EQ(MemoryRows::keysIn(remoteFile("Vorlex2.DB")), exported);
    EXPECT_EQ(remoteFile("Vorlex2.PX"), "index of export 1");
    EXPECT_EQ(rows.sent(), exported);
    EXPECT_EQ(rows.unsent(), (QList<RowKey>{{"EF000001", 1}}));
    EXPECT_EQ(outcome.receipt.rowsMarked, exported);
    EXPECT_TRUE(localFiles().isEmpty());
}

TEST_F(TransferFixture, RowsOfAFailedUploadAreSentByTheNextRunOnceAndNotExportedAgain) {
    rows.add("AB123456", 1);
    writeTransferFile("AB123456001.jpg", photo(1));
    QDir(remoteFolder()).mkdir("Vorlex2.PX"); // the index cannot go
    const transfer::RunOutcome failed = run();
    EXPECT_FALSE(failed.succeeded);
    EXPECT_EQ(rows.sent(), QList<RowKey>{});
    EXPECT_EQ(remoteFile("AB123456001.jpg"), photo(1));
    EXPECT_TRUE(isLocal("Vorlex2.PX"));
    EXPECT_FALSE(isLocal("Vorlex2.DB")) << "the table was sent before the index failed";

    rows.add("AB123456", 2); // a row saved since
    QDir(remoteFolder()).rmdir("Vorlex2.PX");
    const transfer::RunOutcome second = run();
    ASSERT_TRUE(second.succeeded) << second.error.toStdString();
    EXPECT_EQ(rows.exports, 1) << "the first export's rows are not exported again";
    EXPECT_EQ(rows.sent(), (QList<RowKey>{{"AB123456", 1}}));
    EXPECT_EQ(rows.unsent(), (QList<RowKey>{{"AB123456", 2}}));
    EXPECT_EQ(MemoryRows::keysIn(remoteFile("Vorlex2.DB")), (QList<RowKey>{{"AB123456", 1}}));
    EXPECT_EQ(remoteFile("Vorlex2.PX"), "index of export 1");

    collectRemoteFiles();
    ASSERT_TRUE(run().succeeded);
    EXPECT_EQ(MemoryRows::keysIn(remoteFile("Vorlex2.DB")), (QList<RowKey>{{"AB123456", 2}}));
    EXPECT_EQ(rows.unsent(), QList<RowKey>{});
}

TEST_F(TransferFixture, AFailedCopyOfTheExportFilesFailsTheRun) {
    rows.add("AB123456", 1);
    writeTransferFile("AB123456001.jpg", photo(1));
    QDir().mkpath(drive.host(transferPath("Vorlex2.PX")) + "/in-the-way"); // a folder where the copy goes
    const transfer::RunOutcome outcome = run();
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.error.startsWith("Cannot copy")) << outcome.error.toStdString();
    EXPECT_TRUE(remoteFiles().isEmpty());
    EXPECT_EQ(rows.sent(), QList<RowKey>{});
}

TEST_F(TransferFixture, AnErrorOfTheTablesEndsTheRunBeforeAnythingIsSent) {
    rows.add("AB123456", 1);
    rows.failExport = true;
    writeTransferFile("AB123456001.jpg", photo(1));
    EXPECT_THROW(run(), platform::Error);
    EXPECT_TRUE(remoteFiles().isEmpty());
    EXPECT_TRUE(isLocal("AB123456001.jpg"));
}

TEST_F(TransferFixture, EachRunLeavesAReceipt) {
    rows.add("AB123456", 1);
    writeTransferFile("AB123456001.jpg", "photo");
    ASSERT_TRUE(run().succeeded);
    transfer::RunSettings noServer = settings();
    noServer.upload.host.clear();
    EXPECT_FALSE(transfer::runTransfer(rows, noServer, hooks).succeeded);
    const QString receipts = transfer::ReceiptLog().last(2);
    const QStringList lines = receipts.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << receipts.toStdString();
    EXPECT_TRUE(lines[0].startsWith("== ") && lines[0].endsWith(" Transfer Complete"))
        << receipts.toStdString();
    EXPECT_EQ(lines[1], "file AB123456001.jpg 5 bytes CRC-32 " + transfer::crcText(0x14b78418) + " sent")
        << receipts.toStdString();
    EXPECT_TRUE(lines[2].startsWith("file Vorlex2.DB "));
    EXPECT_TRUE(lines[3].startsWith("file Vorlex2.PX "));
    EXPECT_EQ(lines[4], "rows marked: 1 AB123456/1");
    EXPECT_TRUE(lines[5].endsWith(" Transfer failed"));
    EXPECT_TRUE(lines[6].startsWith("error: No FTP server is set"));
    EXPECT_EQ(lines[7], "rows marked: 0");
    EXPECT_EQ(transfer::ReceiptLog().last(1), lines.mid(5).join('\n') + '\n');
}
