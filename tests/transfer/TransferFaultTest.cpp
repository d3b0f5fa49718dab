#include "platform/DurableFile.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDrive.h"
#include "transfer/TransferJournal.h"
#include "transfer/Upload.h"

#include <QFile>
#include <gtest/gtest.h>

using transfer::TransferJournal;
using Commands = QList<QByteArray>;

// Odd servers, played by a script, with the exact commands the upload sends them.
namespace {

ScriptedFtpServer& loginAndFolder(ScriptedFtpServer& server) {
    return server.send("220 Insurer FTP ready\r\n")
        .reply("331 Password required for online.\r\n")
        .reply("230 User online logged in.\r\n")
        .reply("200 Type set to I.\r\n")
        .reply("215 UNIX Type: L8\r\n")
        .reply("250 CWD command successful.\r\n");
}

const Commands kLogin = {"USER online", "PASS zqvbrtkmw", "TYPE I", "SYST", "CWD Claim\\Garage 1"};

Commands loginThen(const Commands& more) {
    return kLogin + more;
}

class Observer : public transfer::UploadObserver {};

struct Upload {
    TempDrive drive;
    TransferJournal journal;
    Observer observer;
    transfer::UploadResult result;

    Upload() {
        drive.makeFolder("c:\\picture");
        drive.makeFolder("c:\\picture\\transfer");
        drive.makeFolder("c:\\claim");
        drive.makeFolder("c:\\claim\\db");
        journal.open();
    }
    void run(const ScriptedFtpServer& server) {
        transfer::UploadSettings settings;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = server.port();
        settings.garageName = QStringLiteral("Garage 1");
        settings.timeoutMs = 5000;
        result = transfer::uploadTransferFolder(settings, journal, observer);
    }
    bool isLocal(const QString& name) const {
        return QFile::exists(drive.host("c:\\picture\\transfer\\" + name));
    }
    std::optional<TransferJournal::FileState> recorded(const QString& name) {
        TransferJournal reread;
        reread.open();
        if (const auto record = reread.file(name)) return record->state;
        return std::nullopt;
    }
};

} // namespace

TEST(TransferFaults, ARefusedOrBrokenOffFileStaysInFlightAndLocal) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        const char* error;
    };
    const QByteArray bytes = randomBytes(100000, 1);
    const Case cases[] = {
        {"550 on APPE",
         [](ScriptedFtpServer& s) {
             s.passive()
                 .command()
                 .acceptData()
                 .send("550 Permission denied.\r\n")
                 .receiveData()
                 .waitForClose();
         },
         "Sending \"a.jpg\" failed: 550 Permission denied."},
        {"426 after the data",
         [](ScriptedFtpServer& s) {
             s.passive()
                 .command()
                 .acceptData()
                 .send("150 Go.\r\n")
                 .receiveData()
                 .send("426 Connection closed; transfer aborted.\r\n226 Done.\r\n")
                 .waitForClose();
         },
         "Sending \"a.jpg\" failed: 426 Connection closed; transfer aborted."},
        {"server stops in the middle of the file",
         [](ScriptedFtpServer& s) {
             s.passive().command().acceptData().send("150 Go.\r\n").stopAfterData(40000);
         },
         "Sending \"a.jpg\" failed: "},
    };
    for (const Case& c : cases) {
        Upload upload;
        upload.drive.writeFile("c:\\picture\\transfer\\a.jpg", bytes);
        upload.drive.writeFile("c:\\picture\\transfer\\b.jpg", "b");
        ScriptedFtpServer server;
        loginAndFolder(server).reply("550 a.jpg: No such file.\r\n");
        c.script(server);
        server.start();
        upload.run(server);
        ASSERT_EQ(server.finish(), "") << c.name;
        EXPECT_FALSE(upload.result.succeeded) << c.name;
        EXPECT_FALSE(transfer::UploadSucceeded) << c.name;
        EXPECT_TRUE(upload.result.error.startsWith(c.error))
            << c.name << ": " << upload.result.error.toStdString();
        EXPECT_EQ(server.commands().mid(0, 8), loginThen({"SIZE a.jpg", "PASV", "APPE a.jpg"})) << c.name;
        EXPECT_TRUE(upload.isLocal("a.jpg")) << c.name;
        EXPECT_TRUE(upload.isLocal("b.jpg")) << c.name;
        EXPECT_EQ(upload.recorded("a.jpg"), TransferJournal::FileState::InFlight) << c.name;
        EXPECT_FALSE(upload.recorded("b.jpg")) << c.name;
    }
}

TEST(TransferFaults, WithoutSizeANewFileGoesByAppendAndOurOwnPartIsReplacedWhole) {
    Upload upload;
    const QByteArray partial = randomBytes(70000, 2);
    upload.drive.writeFile("c:\\picture\\transfer\\a.jpg", partial);
    upload.journal.recordInFlight("a.jpg", transfer::stampOf("c:\\picture\\transfer\\a.jpg"));
    upload.drive.writeFile("c:\\picture\\transfer\\b.jpg", "bee");
    ScriptedFtpServer server;
    loginAndFolder(server)
        .reply("502 Command not implemented.\r\n")
        .upload()
        .reply("500 SIZE not understood.\r\n")
        .upload()
        .waitForClose();
    server.start();
    upload.run(server);
    ASSERT_EQ(server.finish(), "");
    ASSERT_TRUE(upload.result.succeeded) << upload.result.error.toStdString();
    EXPECT_EQ(server.commands(),
              loginThen({"SIZE a.jpg", "PASV", "STOR a.jpg", "SIZE b.jpg", "PASV", "APPE b.jpg"}));
    ASSERT_EQ(server.uploads().size(), 2);
    EXPECT_EQ(server.uploads()[0].bytes, partial);
    EXPECT_EQ(server.uploads()[1].bytes, "bee");
    EXPECT_FALSE(upload.isLocal("a.jpg"));
    EXPECT_FALSE(upload.isLocal("b.jpg"));
    EXPECT_EQ(upload.recorded("a.jpg"), TransferJournal::FileState::Sent);
    EXPECT_EQ(upload.recorded("b.jpg"), TransferJournal::FileState::Sent);
}

TEST(TransferFaults, AResumeWaitsForTheServersSizeToSettleThenSendsOnlyTheRest) {
    struct Case {
        const char* name;
        QList<QByteArray> sizes; // the server's answers to SIZE, one after the other
        qint64 from;
    };
    const Case cases[] = {
        {"a size that stays", {"213 65536\r\n", "213 65536\r\n"}, 65536},
        {"a size still growing from the broken-off connection",
         {"213 30000\r\n", "213 50000\r\n", "213 65536\r\n", "213 65536\r\n"},
         65536},
        {"the whole file", {"213 90000\r\n"}, 90000},
    };
    for (const Case& c : cases) {
        Upload upload;
        const QByteArray bytes = randomBytes(90000, 3);
        upload.drive.writeFile("c:\\picture\\transfer\\a.Zip", bytes);
        upload.journal.recordInFlight("a.Zip", transfer::stampOf("c:\\picture\\transfer\\a.Zip"));
        ScriptedFtpServer server;
        loginAndFolder(server);
        Commands expected = kLogin;
        for (const QByteArray& size : c.sizes) {
            server.reply(size);
            expected.append("SIZE a.Zip");
        }
        if (c.from < bytes.size()) {
            server.upload();
            expected << "PASV"
                     << "APPE a.Zip";
        }
        server.waitForClose();
        server.start();
        upload.run(server);
        ASSERT_EQ(server.finish(), "") << c.name;
        ASSERT_TRUE(upload.result.succeeded) << c.name << ": " << upload.result.error.toStdString();
        EXPECT_EQ(server.commands(), expected) << c.name;
        if (c.from < bytes.size()) {
            ASSERT_EQ(server.uploads().size(), 1) << c.name;
            EXPECT_EQ(server.uploads()[0].bytes, bytes.mid(c.from)) << c.name;
        }
        EXPECT_EQ(upload.result.files.value(0).from, c.from) << c.name;
        EXPECT_FALSE(upload.isLocal("a.Zip")) << c.name;
    }
}

TEST(TransferFaults, UnreachableServerRefusedLoginAndRefusedFolderSayWhy) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        const char* error;
    };
    const Case cases[] = {
        {"login refused",
         [](ScriptedFtpServer& s) {
             s.send("220 Hi\r\n").reply("331 Password.\r\n").reply("530 Login incorrect.\r\n").waitForClose();
         },
         "Connecting to 127.0.0.1 port %1 failed: 530 Login incorrect."},
        {"folder refused",
         [](ScriptedFtpServer& s) {
             s.send("220 Hi\r\n")
                 .reply("230 In.\r\n")
                 .reply("200 I.\r\n")
                 .reply("215 UNIX\r\n")
                 .reply("550 No such folder.\r\n")
                 .waitForClose();
         },
         "The server refused the folder \"Claim\\Garage 1\": 550 No such folder."},
    };
    for (const Case& c : cases) {
        Upload upload;
        upload.drive.writeFile("c:\\picture\\transfer\\a.jpg", "a");
        ScriptedFtpServer server;
        c.script(server);
        server.start();
        upload.run(server);
        ASSERT_EQ(server.finish(), "") << c.name;
        EXPECT_EQ(upload.result.error, QString::fromLatin1(c.error).arg(server.port())) << c.name;
        EXPECT_TRUE(upload.isLocal("a.jpg")) << c.name;
    }
    Upload upload;
    quint16 closed;
    {
        ScriptedFtpServer nobody;
        closed = nobody.port();
    }
    transfer::UploadSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = closed;
    const transfer::UploadResult result =
        transfer::uploadTransferFolder(settings, upload.journal, upload.observer);
    EXPECT_TRUE(result.error.startsWith(
        QStringLiteral("Connecting to 127.0.0.1 port %1 failed: Socket Error # 111").arg(closed)))
        << result.error.toStdString();
}
