#include "ftp/ServerReply.h"
#include "ftp/FtpErrors.h"
#include "ftp/LineBuffer.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

using ftp::ServerReply;

namespace {

// The lines of a byte stream that ends where the bytes end, as a closed connection does.
class BytesSource : public ftp::LineSource {
public:
    explicit BytesSource(const QByteArray& bytes, int maxLineLength = 16384) : maxLineLength_(maxLineLength) {
        buffer_.append(bytes.constData(), bytes.size());
    }
    QByteArray readLine() override {
        if (auto line = buffer_.takeLine(maxLineLength_)) return *line;
        if (!buffer_.isEmpty()) return buffer_.takeRest();
        throw platform::Error(QStringLiteral("Connection Closed Gracefully."));
    }

private:
    ftp::LineBuffer buffer_;
    int maxLineLength_;
};

} // namespace

TEST(ServerReply, RepliesAreReadAndParsed) {
    struct Case {
        const char* bytes;
        int code;
        const char* codeText;
        QStringList text;
    };
    const Case cases[] = {
        {"220 Service ready\r\n", 220, "220", {"Service ready"}},
        {"220 Service ready\n", 220, "220", {"Service ready"}},
        {"220\r\n", 220, "220", {""}},
        {"220 \r\n", 220, "220", {""}},
        {"  220 Padded\t\x01\r\n", 220, "220", {"Padded"}},
        {"\r\n\r\n \t\r\n331 Password required\r\n", 331, "331", {"Password required"}},
        {"220-Welcome\r\n220-to the server\r\n220 Ready\r\n",
         220,
         "220",
         {"Welcome", "to the server", "Ready"}},
        {"220-Welcome\r\n\r\n\r\n220 Ready\r\n", 220, "220", {"Welcome", "Ready"}},
        // Middle lines lose their first four characters whether or not they hold the code.
        {"230-Hello\r\nplain middle line\r\n   indented\r\n230 Done\r\n",
         230,
         "230",
         {"Hello", "n middle line", "nted", "Done"}},
        // A middle line beginning with the code and a hyphen does not end the reply.
        {"211-Features\r\n211-More\r\n211 End\r\n", 211, "211", {"Features", "More", "End"}},
        // The end marker is compared without regard to case; a short line also ends the reply.
        {"abc-Letters\r\nABC end\r\n", 0, "abc", {"Letters", "end"}},
        {"211-Status\r\nok\r\n", 211, "211", {"Status", ""}},
        {"xyz Not a number\r\n", 0, "xyz", {"Not a number"}},
        {"2x0 Broken code\r\n", 0, "2x0", {"Broken code"}},
        {"22 Short code\r\n", 0, "22 S", {"hort code"}},
        // A last line without its line feed still counts when the connection has ended.
        {"226 Transfer complete", 226, "226", {"Transfer complete"}},
        // Thai code page text.
        {"550 \xe4\xc1\xe8\xbe\xba\r\n", 550, "550", {QString::fromUtf8("ไม่พบ")}},
    };
    for (const Case& c : cases) {
        BytesSource source(c.bytes);
        const ServerReply reply = ftp::readReply(source);
        EXPECT_EQ(reply.code, c.code) << c.bytes;
        EXPECT_EQ(reply.codeText, QString::fromLatin1(c.codeText)) << c.bytes;
        EXPECT_EQ(reply.text, c.text) << c.bytes;
        EXPECT_EQ(reply.lines.size(), c.text.size()) << c.bytes;
    }
}

TEST(ServerReply, ConsecutiveRepliesAreReadOneByOne) {
    BytesSource source("331 Need password\r\n\r\n230-Welcome\r\n230 In\r\n200 Type set\r\n");
    EXPECT_EQ(ftp::readReply(source).code, 331);
    EXPECT_EQ(ftp::readReply(source).text, (QStringList{"Welcome", "In"}));
    EXPECT_EQ(ftp::readReply(source).code, 200);
    EXPECT_EQ(errorOf([&] { ftp::readReply(source); }), "Connection Closed Gracefully.");
}

TEST(ServerReply, OverlongAndEndlessRepliesFail) {
    struct Case {
        QByteArray bytes;
        const char* error;
    };
    const Case cases[] = {
        {"220 " + QByteArray(16380, 'a') + "\r\n", "Connection Closed Gracefully."}, // 16384: allowed
        {"220 " + QByteArray(16381, 'a') + "\r\n", "Max line length exceeded."},
        {"220 " + QByteArray(16381, 'a'), "Max line length exceeded."}, // before the line feed comes
        {"220-Start\r\n" + QByteArray(16385, ' ') + "\r\n220 End\r\n", "Max line length exceeded."},
        {"220-Start\r\n" + QByteArray("220-more\r\n").repeated(ftp::kMaxReplyLines),
         "Reply longer than 1000 lines."},
        {QByteArray("\r\n").repeated(ftp::kMaxReplyLines + 1) + "220 Late\r\n",
         "Reply longer than 1000 lines."},
        {"220-Start\r\n220-never ends\r\n", "Connection Closed Gracefully."},
    };
    for (const Case& c : cases) {
        BytesSource source(c.bytes);
        EXPECT_EQ(errorOf([&] {
                      ftp::readReply(source);
                      ftp::readReply(source);
                  }),
                  QString::fromLatin1(c.error))
            << c.bytes.left(40).constData();
    }
}

TEST(LineBuffer, LinesAreCutAtLineFeedsAsBytesArrive) {
    ftp::LineBuffer buffer;
    buffer.append("220 Rea", 7);
    EXPECT_FALSE(buffer.takeLine(16384).has_value());
    buffer.append("dy\r", 3);
    EXPECT_FALSE(buffer.takeLine(16384).has_value());
    buffer.append("\n\r\nnext", 7);
    EXPECT_EQ(buffer.takeLine(16384), QByteArray("220 Ready"));
    EXPECT_EQ(buffer.takeLine(16384), QByteArray(""));
    EXPECT_FALSE(buffer.takeLine(16384).has_value());
    EXPECT_EQ(buffer.takeRest(), QByteArray("next"));
    EXPECT_TRUE(buffer.isEmpty());

    // A line at the limit may wait for its CR LF; one byte more fails at once.
    buffer.append(QByteArray(10, 'x') + '\r', 11);
    EXPECT_FALSE(buffer.takeLine(10).has_value());
    buffer.append("\n", 1);
    EXPECT_EQ(buffer.takeLine(10), QByteArray(10, 'x'));
    buffer.append(QByteArray(11, 'x'), 11);
    EXPECT_EQ(errorOf([&] { buffer.takeLine(10); }), "Max line length exceeded.");
}

TEST(ServerReply, CheckAcceptsOnlyTheNamedCodes) {
    BytesSource source("550-No such folder\r\n550 Try again\r\n");
    const ServerReply reply = ftp::readReply(source);
    EXPECT_NO_THROW(ftp::checkReply(reply, {}));
    EXPECT_NO_THROW(ftp::checkReply(reply, {250, 550}));
    try {
        ftp::checkReply(reply, {200, 250});
        FAIL() << "550 was accepted";
    } catch (const ftp::ReplyError& e) {
        EXPECT_EQ(e.code(), 550);
        EXPECT_EQ(e.message(), "No such folder\r\nTry again\r\n");
    }
}
