#include "archive/ZipHeaders.h"
#include "tests/archive/ArchivePeers.h"
#include "tests/archive/ZipFixture.h"

#include <QFile>
#include <zlib.h>

using namespace archive;

namespace {

QByteArray le16(quint16 v) {
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8);
}
QByteArray le32(quint32 v) {
    return le16(quint16(v & 0xFFFF)) + le16(quint16(v >> 16));
}

quint32 crcOf(const QByteArray& bytes) {
    return quint32(
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

} // namespace

using Layout = ZipFixture;

TEST_F(Layout, NewArchiveMatchesTheWorkedExampleByteForByte) {
    const QByteArray content = textLikeBytes(5000);
    writeScan("AB123456800.gif", content);
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray bytes = archiveBytes("AB123456800.gif");
    ASSERT_GT(bytes.size(), 128);
    const quint32 c = quint32(bytes.size() - 128);
    const QByteArray name = "AB123456800.gif";
    const quint16 time = quint16(scanDosTime() & 0xFFFF), date = quint16(scanDosTime() >> 16);
    const quint32 crc = crcOf(content);

    QByteArray expected = "PK\x03\x04" + le16(20) + le16(0) + le16(8) + le16(time) + le16(date) + le32(crc) +
                          le32(c) + le32(5000) + le16(15) + le16(0) + name;
    ASSERT_EQ(expected.size(), 45);
    expected += bytes.mid(45, c);
    expected += "PK\x01\x02" + le16(20) + le16(20) + le16(0) + le16(8) + le16(time) + le16(date) + le32(crc) +
                le32(c) + le32(5000) + le16(15) + le16(0) + le16(0) + le16(0) + le16(1) + le32(0x20) +
                le32(0) + name;
    expected += "PK\x05\x06" + le16(0) + le16(0) + le16(1) + le16(1) + le32(61) + le32(45 + c) + le16(0);
    EXPECT_EQ(bytes.toHex().toStdString(), expected.toHex().toStdString());

    // The data area is raw deflate that any reader inflates back to the scan.
    const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].content, content);
    EXPECT_EQ(members[0].dateTime, (QList<int>{2024, 3, 5, 14, 7, 38}));
    expectReadersAccept(archiveHost("AB123456800.gif"));
}

TEST_F(Layout, ZipinfoSeesMsDosVersionTwoTextBitAndArchiveAttribute) {
    writeScan("AB123456801.gif", textLikeBytes(3000));
    ASSERT_EQ(addScan("AB123456801.gif"), 1);
    const QString info = zipinfoVerbose(archiveHost("AB123456801.gif"));
    for (const char* line : {"file system or operating system of origin:      MS-DOS, OS/2 or NT FAT",
                             "version of encoding software:                    2.0",
                             "minimum software version required to extract:   2.0",
                             "compression method:                              deflated",
                             "compression sub-type (deflation):                normal",
                             "file security status:                            not encrypted",
                             "extended local header:                           no",
                             "file last modified on (DOS date/time):           2024 Mar 5 14:07:38",
                             "apparent file type:                              text",
                             "MS-DOS file attributes (20 hex):                 arc",
                             "length of extra field:                           0 bytes",
                             "length of file comment:                          0 characters"})
        EXPECT_TRUE(info.simplified().contains(QString::fromLatin1(line).simplified())) << line << "\n"
                                                                                        << info.toStdString();
}

struct EncodingCase {
    const char* name;
    QByteArray content;
    int method;
    bool dataShorterThanFile;
};

TEST_F(Layout, EachFileIsStoredOrDeflatedByItsExtensionAndSize) {
    const QList<EncodingCase> cases = {
        {"empty.gif", QByteArray(), 0, false},
        {"random100.gif", randomBytes(100), 0, false},
        {"same100.gif", QByteArray(100, 'A'), 8, true},
        {"random300.gif", randomBytes(300), 8, false},
        {"random256.gif", randomBytes(256, 3), 0, false},
        {"random257.gif", randomBytes(257, 4), 8, false},
        {"scan.ZIP", textLikeBytes(1000), 0, false},
        {"scan.Gz", textLikeBytes(1000), 0, false},
        {"scan.tar.gz", textLikeBytes(1000), 0, false},
        {"scan.zoo", textLikeBytes(1000), 0, false},
        {"scan.gif", textLikeBytes(1000), 8, true},
        {"noextension", textLikeBytes(1000), 8, true},
        {"big.gif", randomBytes(400000, 5), 8, false},
    };
    // One archive grows by one member per job, so every later job also copies the earlier members.
    const QString archivePath = transferPath("CASES.zip");
    for (const EncodingCase& c : cases) {
        writeScan(c.name, c.content);
        ASSERT_EQ(addToArchive(archivePath, transferPath(c.name)), 1) << c.name;
    }
    EXPECT_TRUE(errors.isEmpty());
    const QList<PeerMember> members = pythonMembers(host(archivePath));
    ASSERT_EQ(members.size(), cases.size());
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const EncodingCase& c = cases[i];
        const PeerMember& m = members[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(m.rawName, QByteArray(c.name));
        EXPECT_EQ(m.method, c.method);
        EXPECT_EQ(m.flags, 0);
        EXPECT_EQ(m.content, c.content);
        EXPECT_EQ(m.crc, crcOf(c.content));
        EXPECT_EQ(m.size, c.content.size());
        EXPECT_EQ(m.internalAttr, 1);
        if (c.method == 0) {
            EXPECT_EQ(m.compressedSize, c.content.size());
        }
        if (c.method == 8) {
            EXPECT_EQ(m.compressedSize < m.size, c.dataShorterThanFile);
        }
    }
    EXPECT_EQ(members[0].crc, 0u);
    expectReadersAccept(host(archivePath));
}

TEST_F(Layout, DeflateTypeChoosesLevelAndFlagBits) {
    struct Case {
        TDeflateType type;
        TCompressMethod method;
        int expectedMethod;
        int expectedFlags;
    };
    const Case cases[] = {{dtDeflateF, cmDeflate, 8, 0x04},
                          {dtDeflateN, cmDeflate, 8, 0},
                          {dtDeflateX, cmDeflate, 8, 0x02},
                          {dtDeflateS, cmDeflate, 0, 0},
                          {dtDeflateN, cmStore, 0, 0}};
    const QByteArray content = textLikeBytes(20000);
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("level%1.gif").arg(n++);
        writeScan(name, content);
        zip.DeflateType = c.type;
        zip.CompressMethod = c.method;
        ASSERT_EQ(addToArchive(transferPath("LEVELS.zip"), transferPath(name)), 1);
        if (c.method == cmStore) {
            EXPECT_EQ(zip.DeflateType, dtDeflateS);
        }
    }
    const QList<PeerMember> members = pythonMembers(host(transferPath("LEVELS.zip")));
    ASSERT_EQ(members.size(), qsizetype(std::size(cases)));
    for (int i = 0; i < members.size(); ++i) {
        EXPECT_EQ(members[i].method, cases[i].expectedMethod) << i;
        EXPECT_EQ(members[i].flags, cases[i].expectedFlags) << i;
        EXPECT_EQ(members[i].content, content) << i;
    }
    // Level 9 packs tighter than level 1.
    EXPECT_LT(members[2].compressedSize, members[0].compressedSize);
    expectReadersAccept(host(transferPath("LEVELS.zip")));
}

TEST_F(Layout, ThaiNamesAreStoredInTheThaiCodePage) {
    const QString name = QStringLiteral("AB123456ใบเสร็จ.gif");
    writeScan(name, textLikeBytes(700));
    ASSERT_EQ(addScan(name), 1);
    const QList<PeerMember> members = pythonMembers(archiveHost(name));
    ASSERT_EQ(members.size(), 1);
    // One byte a letter: U+0E01 to U+0E5B are 0xA1 to 0xFB in the code page.
    EXPECT_EQ(members[0].rawName, QByteArray("AB123456\xE3\xBA\xE0\xCA\xC3\xE7\xA8.gif"));

    // The member is found again by its name: the same scan once more is recognised as archived.
    writeScan(name, textLikeBytes(700));
    errors.clear();
    EXPECT_EQ(addScan(name), 0);
    EXPECT_EQ(errorCodes(), QList<int>{ErrNothingToDo});
    EXPECT_FALSE(scanIsThere(name));
}

TEST(DosDateTime, LocalTimeSecondsRoundedDownAndOutOfRangeYearsClamped) {
    qputenv("TZ", "ICT-7");
    tzset();
    const auto dos = [](int y, int mo, int d, int h, int mi, int s) {
        return (quint32((y - 1980) * 512 + mo * 32 + d) << 16) | quint32(h * 2048 + mi * 32 + s / 2);
    };
    EXPECT_EQ(dosDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 39))), dos(2024, 3, 5, 14, 7, 38));
    EXPECT_EQ(dosDateTime(QDateTime(QDate(2024, 3, 5), QTime(7, 0, 0), Qt::UTC)), dos(2024, 3, 5, 14, 0, 0));
    EXPECT_EQ(dosDateTime(QDateTime(QDate(1975, 6, 1), QTime(12, 0))), dos(1980, 1, 1, 0, 0, 0));
    EXPECT_EQ(dosDateTime(QDateTime(QDate(2150, 6, 1), QTime(12, 0))), dos(2107, 12, 31, 23, 59, 58));
}
