#include "ftp/FtpClient.h"
#include "ftp/FtpErrors.h"
#include "platform/Socket.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

using ftp::FtpClient;
using Commands = QList<QByteArray>;

namespace {

const QByteArray kLoginCommands[] = {"USER online", "PASS zqvbrtkmw", "TYPE I", "SYST"};

ScriptedFtpServer& login(ScriptedFtpServer& server) {
    return server.send("220 Insurer FTP ready\r\n")
        .reply("331 Password required for online.\r\n")
        .reply("230 User online logged in.\r\n")
        .reply("200 Type set to I.\r\n")
        .reply("215 UNIX Type: L8\r\n");
}

void configure(FtpClient& client, const ScriptedFtpServer& server) {
    client.setHost(QStringLiteral("127.0.0.1"));
    client.setPort(server.port());
    client.setUser(QStringLiteral("online"));
    client.setPassword(QStringLiteral("zqvbrtkmw"));
}

Commands loginThen(std::initializer_list<QByteArray> more) {
    Commands commands(std::begin(kLoginCommands), std::end(kLoginCommands));
    commands.append(more);
    return commands;
}

// How an action failed: its message, and the reply code or socket error number it carried.
struct Failure {
    QString message = QStringLiteral("(no error)");
    int replyCode = -1;
    int socketError = -1;
};

template <typename Action> Failure failureOf(Action action) {
    Failure failure;
    try {
        action();
    } catch (const ftp::ReplyError& e) {
        failure.message = e.message();
        failure.replyCode = e.code();
    } catch (const ftp::SocketError& e) {
        failure.message = e.message();
        failure.socketError = e.number();
    } catch (const platform::Error& e) {
        failure.message = e.message();
    }
    return failure;
}

template <typename Action> QString errorOf(Action action) {
    return failureOf(action).message;
}

// A loopback port that nobody listens on.
quint16 closedPort() {
    ScriptedFtpServer nobody; // its port is free again once it is gone
    return nobody.port();
}

// The lowest file handle number not in use: a handle left open moves it.
int lowestFreeHandle() {
    int handle = 0;
    while (::fcntl(handle, F_GETFD) != -1)
        ++handle;
    return handle;
}

} // namespace

TEST(FtpClientScript, AWholeUploadRunSendsExactlyTheseCommands) {
    TempDrive drive;
    const QByteArray photo = randomBytes(100000, 1);
    const QByteArray archive = randomBytes(70000, 2);
    drive.writeFile("c:\\picture\\transfer\\AB123456003.JPG", photo);
    drive.writeFile("c:\\picture\\transfer\\AB123456.Zip", archive);
    ScriptedFtpServer server;
    login(server).reply("250 CWD command successful.\r\n").upload().upload().waitForClose();
    server.start();

    FtpClient client;
    configure(client, server);
    std::vector<QString> shown;
    client.setTrace({[&](const QString& line) { shown.push_back(line); }, nullptr});
    client.connect();
    client.changeDirectory(QString::fromUtf8("Claim\\Garage"));
    client.put("c:\\picture\\transfer\\AB123456003.JPG", "AB123456003.JPG", true);
    client.put("c:\\picture\\transfer\\AB123456.Zip", "AB123456.Zip", true);
    client.disconnect();
    EXPECT_FALSE(client.connected());

    ASSERT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands(),
              loginThen({"CWD Claim\\Garage", "PASV", "APPE AB123456003.JPG", "PASV", "APPE AB123456.Zip"}));
    ASSERT_EQ(server.uploads().size(), 2);
    EXPECT_EQ(server.uploads()[0].bytes, photo);
    EXPECT_TRUE(server.uploads()[0].endedCleanly);
    EXPECT_EQ(server.uploads()[1].bytes, archive);
    EXPECT_TRUE(server.clientClosed());
    EXPECT_EQ(client.greeting().text, QStringList{"Insurer FTP ready"});
    EXPECT_EQ(client.loginReply().code, 230);
    EXPECT_EQ(client.systemDescription(), "UNIX Type: L8");
    // The trace shows every command but never the password.
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[1], "PASS ****");
    for (const QString& line : shown)
        EXPECT_FALSE(line.contains("zqvbrtkmw"));
}

TEST(FtpClientScript, UploadCommandFollowsNameAndAppendFlag) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\a.jpg", "abc");
    ScriptedFtpServer server;
    login(server).upload().upload().upload().upload().waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true);
    client.put("c:\\picture\\transfer\\a.jpg", "b.jpg", false);
    client.put("c:\\picture\\transfer\\a.jpg", "", true);
    client.put("c:\\picture\\transfer\\a.jpg", "", false);
    client.disconnect();
    ASSERT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands(),
              loginThen({"PASV", "APPE a.jpg", "PASV", "STOR b.jpg", "PASV", "STOU ", "PASV", "STOU "}));
}

TEST(FtpClientScript, GreetingAndLoginVariants) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        Commands commands;
        QString systemDescription;
    };
    const Case cases[] = {
        {"multi-line greeting with empty lines and lines without the code",
         [](ScriptedFtpServer& s) {
             s.send("\r\n220-Welcome to the\r\n\r\n insurer's server\r\n220-second line\r\n220 Ready\r\n")
                 .reply("331 Password required.\r\n")
                 .reply("230-Logged in.\r\n\r\n230 Go ahead.\r\n")
                 .reply("200 Type set.\r\n")
                 .reply("215 UNIX Type: L8\r\n");
         },
         Commands(std::begin(kLoginCommands), std::end(kLoginCommands)), "UNIX Type: L8"},
        {"230 to USER: no PASS; SYST answered 500",
         [](ScriptedFtpServer& s) {
             s.send("220 Ready\r\n")
                 .reply("230 No password needed.\r\n")
                 .reply("200 Type set.\r\n")
                 .reply("500 SYST not understood.\r\n");
         },
         {"USER online", "TYPE I", "SYST"},
         "Unknown"},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        ScriptedFtpServer server;
        c.script(server);
        server.waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        EXPECT_NO_THROW(client.connect()) << c.name;
        EXPECT_TRUE(client.connected()) << c.name;
        EXPECT_EQ(client.systemDescription(), c.systemDescription) << c.name;
        client.disconnect();
        EXPECT_EQ(server.finish(), "") << c.name;
        EXPECT_EQ(server.commands(), c.commands) << c.name;
    }
}

TEST(FtpClientScript, FailedConnectsLeaveTheClientNotConnected) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        QString error;
        int replyCode;
        Commands commands;
    };
    const Case cases[] = {
        {"greeting 120",
         [](ScriptedFtpServer& s) { s.send("120 Service ready in 5 minutes.\r\n"); },
         "Service ready in 5 minutes.\r\n",
         120,
         {}},
        {"greeting 421",
         [](ScriptedFtpServer& s) { s.send("421-Too many users.\r\n421 Try later.\r\n"); },
         "Too many users.\r\nTry later.\r\n",
         421,
         {}},
        {"PASS refused",
         [](ScriptedFtpServer& s) {
             s.send("220 Ready\r\n").reply("331 Password required.\r\n").reply("530 Login incorrect.\r\n");
         },
         "Login incorrect.\r\n",
         530,
         {"USER online", "PASS zqvbrtkmw"}},
        {"account asked for",
         [](ScriptedFtpServer& s) {
             s.send("220 Ready\r\n").reply("331 Password required.\r\n").reply("332 Need account.\r\n");
         },
         "Need account.\r\n",
         332,
         {"USER online", "PASS zqvbrtkmw"}},
        {"TYPE refused",
         [](ScriptedFtpServer& s) {
             s.send("220 Ready\r\n").reply("230 In.\r\n").reply("504 Type not supported.\r\n");
         },
         "Type not supported.\r\n",
         504,
         {"USER online", "TYPE I"}},
        {"reply line too long",
         [](ScriptedFtpServer& s) { s.send("220 " + QByteArray(20000, 'x') + "\r\n"); },
         "Max line length exceeded.",
         -1,
         {}},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        ScriptedFtpServer server;
        c.script(server);
        server.waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        const Failure failure = failureOf([&] { client.connect(); });
        EXPECT_EQ(failure.message, c.error) << c.name;
        EXPECT_EQ(failure.replyCode, c.replyCode) << c.name;
        EXPECT_FALSE(client.connected()) << c.name;
        EXPECT_EQ(server.finish(), "") << c.name;
        EXPECT_TRUE(server.clientClosed()) << c.name;
        EXPECT_EQ(server.commands(), c.commands) << c.name;
    }
}

TEST(FtpClientScript, ServerClosingTheConnectionAfterItsGreeting) {
    struct Case {
        QByteArray greeting;
        bool autoLogin;
        Commands commands;
    };
    // The greeting arrives whole, also without its line feed; the next command finds the connection gone.
    const Case cases[] = {
        {"220 Ready\r\n", true, {"USER online"}},
        {"220 Ready\r\n", false, {"USER online"}},
        {"220 Ready", false, {}},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        ScriptedFtpServer server;
        server.send(c.greeting).closeControl();
        server.start();
        FtpClient client;
        configure(client, server);
        if (c.autoLogin) {
            EXPECT_EQ(errorOf([&] { client.connect(); }), "Connection Closed Gracefully.");
        } else {
            client.connect(false);
            EXPECT_EQ(client.greeting().code, 220);
            EXPECT_EQ(errorOf([&] { client.login(); }), "Connection Closed Gracefully.");
        }
        EXPECT_FALSE(client.connected());
        EXPECT_EQ(server.finish(), "");
        EXPECT_EQ(server.commands(), c.commands);
    }
}

TEST(FtpClientScript, RefusedChangeOfDirectoryKeepsTheConnection) {
    TempDrive drive;
    ScriptedFtpServer server;
    login(server)
        .reply("550 Claim\\Nowhere: No such file or directory.\r\n")
        .reply("200 NOOP ok.\r\n")
        .waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    EXPECT_EQ(failureOf([&] { client.changeDirectory("Claim\\Nowhere"); }).replyCode, 550);
    EXPECT_TRUE(client.connected());
    EXPECT_EQ(client.sendCommand("NOOP", {200}), 200);
    client.disconnect();
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands(), loginThen({"CWD Claim\\Nowhere", "NOOP"}));
}

TEST(FtpClientScript, PassiveRepliesWithAndWithoutParenthesesAndAnotherLoopbackAddress) {
    struct Case {
        QByteArray pattern;
        QByteArray address;
    };
    const Case cases[] = {
        {"227 Entering Passive Mode (%s).\r\n", "127.0.0.1"},
        {"227 Entering Passive Mode %s\r\n", "127.0.0.1"},
        {"227 Entering Passive Mode (%s)\r\n", "127.0.0.2"},
        {"227-Entering Passive Mode (%s)\r\n227 Go ahead.\r\n", "127.0.0.3"},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        const QByteArray bytes = randomBytes(50000, 3);
        drive.writeFile("c:\\picture\\transfer\\a.jpg", bytes);
        ScriptedFtpServer server;
        login(server)
            .passive(c.pattern, c.address)
            .command()
            .acceptData()
            .send("125 Data connection already open; transfer starting.\r\n")
            .receiveData()
            .send("250 Done.\r\n")
            .waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        client.connect();
        EXPECT_NO_THROW(client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true)) << c.pattern.constData();
        client.disconnect();
        ASSERT_EQ(server.finish(), "") << c.pattern.constData();
        ASSERT_EQ(server.uploads().size(), 1);
        EXPECT_EQ(server.uploads()[0].bytes, bytes);
    }
}

TEST(FtpClientScript, FailedPutsLeaveTheControlConnectionOpen) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        int replyCode;
        qsizetype dataConnections;
        bool dataReset; // the data connection was broken off, so the server cannot take it as a whole file
    };
    const Case cases[] = {
        {"PASV refused", [](ScriptedFtpServer& s) { s.reply("500 PASV not understood.\r\n"); }, 500, 0,
         false},
        {"APPE refused",
         [](ScriptedFtpServer& s) {
             s.passive().command().acceptData().send("550 Permission denied.\r\n").receiveData();
         },
         550, 1, true},
        {"426 then 226",
         [](ScriptedFtpServer& s) {
             s.passive()
                 .command()
                 .acceptData()
                 .send("150 Go.\r\n")
                 .receiveData()
                 .send("426 Connection closed; transfer aborted.\r\n226 Closing data connection.\r\n");
         },
         426, 1, false},
        {"450 alone",
         [](ScriptedFtpServer& s) {
             s.passive()
                 .command()
                 .acceptData()
                 .send("150 Go.\r\n")
                 .receiveData()
                 .send("450 File unavailable.\r\n500 What?\r\n");
         },
         450, 1, false},
        {"final reply outside the accepted set",
         [](ScriptedFtpServer& s) {
             s.passive().command().acceptData().send("150 Go.\r\n").receiveData().send("552 Disk full.\r\n");
         },
         552, 1, false},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        const QByteArray bytes = randomBytes(20000, 4);
        drive.writeFile("c:\\picture\\transfer\\a.jpg", bytes);
        ScriptedFtpServer server;
        login(server);
        c.script(server);
        server.reply("200 NOOP ok.\r\n").waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        client.connect();
        EXPECT_EQ(failureOf([&] { client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true); }).replyCode,
                  c.replyCode)
            << c.name;
        EXPECT_TRUE(client.connected()) << c.name;
        EXPECT_EQ(client.sendCommand("NOOP", {200}), 200) << c.name; // the replies kept in step
        client.disconnect();
        EXPECT_EQ(server.finish(), "") << c.name;
        EXPECT_EQ(drive.readFile("c:\\picture\\transfer\\a.jpg"), bytes) << c.name;
        ASSERT_EQ(server.uploads().size(), c.dataConnections) << c.name;
        if (c.dataConnections > 0) {
            EXPECT_EQ(!server.uploads()[0].endedCleanly, c.dataReset) << c.name;
        }
    }
}

TEST(FtpClientScript, AnEmptyFileOpensAndClosesTheDataConnection) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\empty.db", "");
    ScriptedFtpServer server;
    login(server).upload().waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    client.put("c:\\picture\\transfer\\empty.db", "empty.db", true);
    client.disconnect();
    ASSERT_EQ(server.finish(), "");
    ASSERT_EQ(server.uploads().size(), 1);
    EXPECT_TRUE(server.uploads()[0].bytes.isEmpty());
    EXPECT_TRUE(server.uploads()[0].endedCleanly);
}

TEST(FtpClientScript, NothingIsSentForAFileThatCannotBeOpenedOrANameThatCannotBeSent) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\a.jpg", "abc");
    ScriptedFtpServer server;
    login(server).waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    EXPECT_EQ(errorOf([&] { client.put("c:\\picture\\transfer\\none.jpg", "none.jpg", true); }),
              "Cannot open file \"c:\\picture\\transfer\\none.jpg\". No such file or directory");
    for (const QString& name : {QString("a.jpg\r\nDELE b.jpg"), QString("a\nb"), QString("a") + QChar(0)})
        EXPECT_TRUE(errorOf([&] {
                        client.put("c:\\picture\\transfer\\a.jpg", name, true);
                    }).startsWith("A command cannot hold"));
    EXPECT_TRUE(
        errorOf([&] { client.changeDirectory("Claim\\x\r\nRMD y"); }).startsWith("A command cannot hold"));
    EXPECT_TRUE(client.connected());
    client.disconnect();
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands(), loginThen({}));
}

TEST(FtpClientScript, UsageErrors) {
    TempDrive drive;
    FtpClient idle;
    EXPECT_EQ(errorOf([&] { idle.writeLine("NOOP"); }), "Not Connected");
    EXPECT_EQ(errorOf([&] { idle.getReply(); }), "Not Connected");
    EXPECT_EQ(errorOf([&] { idle.changeDirectory("Claim\\x"); }), "Not Connected");

    ScriptedFtpServer server;
    login(server).waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    EXPECT_EQ(errorOf([&] { client.connect(); }), "Already connected.");
    EXPECT_TRUE(client.connected());
    client.disconnect();
    EXPECT_EQ(server.finish(), "");
}

TEST(FtpClientScript, ConnectionsThatCannotBeMadeCloseTheirSockets) {
    TempDrive drive;
    const quint16 port = closedPort();
    FtpClient client;
    client.setHost("LocalHost");
    client.setPort(port);
    const int freeHandle = lowestFreeHandle();
    const Failure refused = failureOf([&] { client.connect(); });
    EXPECT_EQ(refused.message, QString("Socket Error # %1\r\nConnection refused.").arg(ECONNREFUSED));
    EXPECT_EQ(refused.socketError, ECONNREFUSED);
    EXPECT_FALSE(client.connected());
    EXPECT_EQ(lowestFreeHandle(), freeHandle);

    // With no handle left for a socket.
    rlimit limits{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limits), 0);
    rlimit noMoreHandles = limits;
    noMoreHandles.rlim_cur = rlim_t(freeHandle);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &noMoreHandles), 0);
    const QString error = errorOf([&] { client.connect(); });
    ::setrlimit(RLIMIT_NOFILE, &limits);
    EXPECT_EQ(error, "Cannot allocate socket.");
    EXPECT_FALSE(client.connected());
}

TEST(FtpClientScript, ADataConnectionThatCannotBeMadeFailsThePutAfterTheUploadCommand) {
    TempDrive drive;
    drive.writeFile("c:\\picture\\transfer\\a.jpg", "abc");
    const quint16 port = closedPort();
    ScriptedFtpServer server;
    login(server)
        .reply("227 Entering Passive Mode (127,0,0,1," + QByteArray::number(port / 256) + ',' +
               QByteArray::number(port % 256) + ").\r\n")
        .command()
        .reply("200 NOOP ok.\r\n")
        .waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.connect();
    const int freeHandle = lowestFreeHandle();
    EXPECT_EQ(failureOf([&] { client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true); }).socketError,
              ECONNREFUSED);
    EXPECT_EQ(lowestFreeHandle(), freeHandle);
    EXPECT_TRUE(client.connected());
    EXPECT_EQ(client.sendCommand("NOOP", {200}), 200);
    client.disconnect();
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.commands(), loginThen({"PASV", "APPE a.jpg", "NOOP"}));
}

TEST(FtpClientScript, AServerThatStopsAnsweringTimesOut) {
    struct Case {
        const char* name;
        std::function<void(ScriptedFtpServer&)> script;
        bool loggedIn;
    };
    const Case cases[] = {
        {"no greeting", [](ScriptedFtpServer&) {}, false},
        {"no reply to USER", [](ScriptedFtpServer& s) { s.send("220 Ready\r\n").command(); }, false},
        // Each line comes well within the time-out, but the reply as a whole does not.
        {"a reply that keeps coming",
         [](ScriptedFtpServer& s) {
             s.trickle("220-still talking\r\n", 200, 50)
                 .send("220 Ready\r\n")
                 .reply("230 In.\r\n")
                 .reply("200 Type set.\r\n")
                 .reply("215 UNIX Type: L8\r\n");
         },
         false},
        {"no reply to PASV", [](ScriptedFtpServer& s) { login(s).command(); }, true},
        {"no preliminary reply", [](ScriptedFtpServer& s) { login(s).passive().command().acceptData(); },
         true},
        {"data not taken",
         [](ScriptedFtpServer& s) {
             login(s)
                 .passive("227 Entering Passive Mode (%s).\r\n", "127.0.0.1", 4096)
                 .command()
                 .acceptData()
                 .send("150 Go.\r\n");
         },
         true},
        {"no final reply",
         [](ScriptedFtpServer& s) {
             login(s).passive().command().acceptData().send("150 Go.\r\n").receiveData();
         },
         true},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        drive.writeFile("c:\\picture\\transfer\\a.jpg", randomBytes(8 << 20, 5));
        ScriptedFtpServer server;
        c.script(server);
        server.waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        client.setTimeout(300);
        if (c.loggedIn) {
            client.connect();
            EXPECT_EQ(
                failureOf([&] { client.put("c:\\picture\\transfer\\a.jpg", "a.jpg", true); }).socketError,
                platform::Socket::timedOut())
                << c.name;
            EXPECT_TRUE(client.connected()) << c.name;
            client.disconnect();
        } else {
            EXPECT_EQ(failureOf([&] { client.connect(); }).socketError, platform::Socket::timedOut())
                << c.name;
            EXPECT_FALSE(client.connected()) << c.name;
        }
        EXPECT_EQ(server.finish(), "") << c.name;
    }
}

TEST(FtpClientScript, ASlowButMovingUploadIsNotCutOff) {
    TempDrive drive;
    const QByteArray bytes = randomBytes(384 << 10, 6);
    drive.writeFile("c:\\picture\\transfer\\slow.jpg", bytes);
    ScriptedFtpServer server;
    // The server takes 4 KB at a time with pauses: the whole upload lasts well beyond the time-out.
    login(server)
        .passive("227 Entering Passive Mode (%s).\r\n", "127.0.0.1", 4096)
        .command()
        .acceptData()
        .send("150 Go.\r\n")
        .receiveData(25, 4096)
        .send("226 Done.\r\n")
        .waitForClose();
    server.start();
    FtpClient client;
    configure(client, server);
    client.setTimeout(1000);
    client.connect();
    EXPECT_NO_THROW(client.put("c:\\picture\\transfer\\slow.jpg", "slow.jpg", true));
    client.disconnect();
    ASSERT_EQ(server.finish(), "");
    ASSERT_EQ(server.uploads().size(), 1);
    EXPECT_EQ(server.uploads()[0].bytes, bytes);
}

TEST(FtpClientScript, AFileChangedWhileItIsSent) {
    // Another program may write the file meanwhile: only its length when sending began is sent, and a
    // file that shrinks below it fails the put.
    struct Case {
        const char* name;
        std::function<void(const QString& hostPath)> change;
        QString error;
    };
    const Case cases[] = {
        {"shrinks", [](const QString& hostPath) { QFile::resize(hostPath, 0); }, "No data to read."},
        {"grows",
         [](const QString& hostPath) {
             QFile file(hostPath);
             if (file.open(QIODevice::Append)) file.write(QByteArray(1 << 20, 'z'));
         },
         "(no error)"},
    };
    for (const Case& c : cases) {
        TempDrive drive;
        const QString path = "c:\\picture\\transfer\\changing.jpg";
        const QByteArray original = randomBytes(16 << 20, 7);
        drive.writeFile(path, original);
        const QString hostPath = drive.host(path);
        const bool fails = c.error != "(no error)";
        ScriptedFtpServer server;
        login(server)
            .passive("227 Entering Passive Mode (%s).\r\n", "127.0.0.1", 4096)
            .command()
            .acceptData()
            .send("150 Go.\r\n")
            .receiveData(0, 4096, [&c, hostPath] { c.change(hostPath); });
        if (!fails) server.send("226 Done.\r\n");
        server.waitForClose();
        server.start();
        FtpClient client;
        configure(client, server);
        client.connect();
        EXPECT_EQ(errorOf([&] { client.put(path, "changing.jpg", true); }), c.error) << c.name;
        client.disconnect();
        ASSERT_EQ(server.finish(), "") << c.name;
        ASSERT_EQ(server.uploads().size(), 1) << c.name;
        // A failed file is broken off, so that the server does not take it as whole.
        EXPECT_EQ(server.uploads()[0].endedCleanly, !fails) << c.name;
        if (!fails) {
            EXPECT_EQ(server.uploads()[0].bytes, original) << c.name;
        }
    }
}
