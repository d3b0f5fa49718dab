#include "archive/ZipHeaders.h"
#include "archive/ZipReader.h"
#include "tests/archive/ArchivePeers.h"
#include "tests/archive/ZipFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

using namespace archive;

namespace {

QByteArray readHostFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeHostFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

using Extend = ZipFixture;

// Archives of other writers: Info-ZIP's zip (extra fields, made on Unix, an archive comment) and Python's
// zipfile writing to a pipe (sizes in data descriptors after the data, a file comment). Our job carries
// every member over unchanged.
TEST_F(Extend, ArchivesOfOtherWritersKeepTheirMembers) {
    const QString folder = host("c:\\picture\\transfer");
    writeHostFile(folder + "/other.txt", textLikeBytes(5000));
    const QString streamed =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    z.writestr('piped.txt', b'claim ' * 400)\n"
        "    i = zipfile.ZipInfo('noted.txt', (2023, 1, 2, 3, 4, 6)); i.comment = b'note'\n"
        "    z.writestr(i, b'stored bytes')\n";
    const QStringList makers = {
        "cd '" + folder + "' && zip -q AB123456.Zip other.txt && echo 'a comment' | zip -q -z AB123456.Zip",
        "/usr/bin/python3 -c \"" + streamed + "\" | cat > '" + folder + "/AB123456.Zip'",
    };
    const QList<int> descriptorFlags = {0, 0x08};
    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        QFile::remove(folder + "/AB123456.Zip");
        QByteArray out;
        ASSERT_EQ(runProgram("sh", {"-c", makers[n]}, &out), 0) << out.toStdString();
        const QList<PeerMember> before = pythonMembers(folder + "/AB123456.Zip");
        ASSERT_GE(before.size(), 1);
        EXPECT_EQ(before[0].flags & 0x08, descriptorFlags[n]);

        const QString scan = QStringLiteral("AB12345680%1.gif").arg(n);
        writeScan(scan, textLikeBytes(3000));
        EXPECT_EQ(addScan(scan), 1);
        EXPECT_TRUE(errors.isEmpty());
        const QList<PeerMember> after = pythonMembers(folder + "/AB123456.Zip");
        ASSERT_EQ(after.size(), before.size() + 1);
        for (qsizetype i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].rawName, before[i].rawName);
            EXPECT_EQ(after[i].content, before[i].content);
            EXPECT_EQ(after[i].flags, before[i].flags);
            EXPECT_EQ(after[i].createSystem, before[i].createSystem);
            EXPECT_EQ(after[i].externalAttr, before[i].externalAttr);
        }
        EXPECT_EQ(after.last().content, textLikeBytes(3000));
        expectReadersAccept(folder + "/AB123456.Zip");
    }
}

TEST_F(Extend, DataBeforeTheArchiveAndALostCentralDirectoryAreReadThrough) {
    writeScan("AB123456800.gif", textLikeBytes(3000));
    writeScan("AB123456801.gif", randomBytes(700));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    ASSERT_EQ(addScan("AB123456801.gif"), 1);
    const QByteArray good = archiveBytes("AB123456800.gif");
    const qint64 central = get32(good.constData() + good.size() - kEndRecordSize + endrecord::CentralOffset);

    QByteArray prefixed = QByteArray(1000, 'x') + good; // offsets still count from the archive's own start
    QByteArray noCentral = good;
    noCentral[central] = 'X'; // the central directory's signature, at the recorded place and the computed one
    for (const QByteArray& variant : {prefixed, noCentral}) {
        writeHostFile(archiveHost("AB123456800.gif"), variant);
        writeScan("AB123456802.gif", textLikeBytes(900));
        errors.clear();
        EXPECT_EQ(addScan("AB123456802.gif"), 1);
        EXPECT_TRUE(errors.isEmpty());
        const QList<PeerMember> members = pythonMembers(archiveHost("AB123456800.gif"));
        ASSERT_EQ(members.size(), 3);
        EXPECT_EQ(members[0].content, textLikeBytes(3000));
        EXPECT_EQ(members[1].content, randomBytes(700));
        EXPECT_EQ(members[2].content, textLikeBytes(900));
        expectReadersAccept(archiveHost("AB123456800.gif"));
    }
}

TEST_F(Extend, AFileThatIsNotAReadableArchiveIsLeftAsItIs) {
    writeScan("AB123456800.gif", textLikeBytes(3000));
    ASSERT_EQ(addScan("AB123456800.gif"), 1);
    const QByteArray good = archiveBytes("AB123456800.gif");
    const int end = int(good.size()) - kEndRecordSize;
    const int central = int(get32(good.constData() + end + endrecord::CentralOffset));

    const auto patched = [&](int at, const QByteArray& bytes) {
        QByteArray damaged = good;
        damaged.replace(at, bytes.size(), bytes);
        return damaged;
    };
    const auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        put32(b.data(), v);
        return b;
    };
    const QList<QPair<const char*, QByteArray>> damaged = {
        {"not a zip", QByteArray("GIF89a not an archive at all, just some bytes")},
        {"short", QByteArray("PK\x05\x06", 4)},
        {"cut in the middle", good.left(good.size() / 2)},
        {"no end record", good.left(end)},
        {"local offset past the end", patched(central + central::LocalHeaderOffset, le32(0x7FFFFFF0))},
        {"local offset at no header", patched(central + central::LocalHeaderOffset, le32(7))},
        {"compressed size past the end", patched(local::CompressedSize, le32(0xFFFFFFF0))},
        {"name runs into the end record", patched(central + central::NameLength, QByteArray("\xFF\x7F", 2))},
        {"comment runs past the end", patched(central + central::CommentLength, QByteArray("\xFF\xFF", 2))},
        {"one member listed twice", good.left(end) + good.mid(central, end - central) +
                                        endRecord(2, quint32(2 * (end - central)), quint32(central))},
    };
    writeScan("AB123456801.gif", textLikeBytes(500));
    for (const auto& [what, bytes] : damaged) {
        SCOPED_TRACE(what);
        writeHostFile(archiveHost("AB123456800.gif"), bytes);
        errors.clear();
        EXPECT_EQ(addScan("AB123456801.gif"), 0);
        EXPECT_EQ(errorCodes(), QList<int>{ErrDamagedArchive});
        EXPECT_EQ(readHostFile(archiveHost("AB123456800.gif")), bytes);
        EXPECT_TRUE(scanIsThere("AB123456801.gif"));
        EXPECT_TRUE(leftoverTempFiles(host("c:\\picture\\transfer")).isEmpty());
    }
}

TEST_F(Extend, AnEmptyFileAtTheArchivePathBecomesTheArchive) {
    drive.writeFile(transferPath("AB123456.Zip"), QByteArray());
    writeScan("AB123456800.gif", textLikeBytes(800));
    EXPECT_EQ(addScan("AB123456800.gif"), 1);
    EXPECT_EQ(pythonMembers(archiveHost("AB123456800.gif")).size(), 1);
}

// The fuzzer's seeds and every input it found a fault with: each reads as an error or as members that lie
// wholly inside the file.
TEST(ReadArchive, FuzzInputsAreReadSafely) {
    int inputs = 0;
    for (const char* folder : {VORLEX_SOURCE_DIR "/tests/fuzz/corpus/fuzz_zipread",
                               VORLEX_SOURCE_DIR "/tests/archive/fuzz-findings"}) {
        const QDir dir{QString::fromUtf8(folder)};
        for (const QString& name : dir.entryList(QDir::Files)) {
            ++inputs;
            const QByteArray bytes = readHostFile(dir.filePath(name));
            MemorySource source(bytes);
            const ArchiveContents contents = readArchive(source);
            EXPECT_TRUE(contents.readable || contents.members.isEmpty()) << name.toStdString();
            for (const KeptMember& member : contents.members) {
                EXPECT_GE(member.localOffset, 0) << name.toStdString();
                EXPECT_LE(member.localOffset + member.copyLength, bytes.size()) << name.toStdString();
                qint64 copied = 0;
                EXPECT_TRUE(
                    copyMember(source, member, [&](const char*, qint64 n) { return (copied += n) > 0; }));
                EXPECT_EQ(copied, member.copyLength);
            }
        }
    }
    EXPECT_GT(inputs, 0);
}

TEST(ReadArchive, EmptyArchivesHaveNoMembers) {
    MemorySource empty{QByteArray()};
    EXPECT_TRUE(readArchive(empty).readable);
    MemorySource endRecordOnly{archive::endRecord(0, 0, 0)};
    const ArchiveContents contents = readArchive(endRecordOnly);
    EXPECT_TRUE(contents.readable);
    EXPECT_TRUE(contents.members.isEmpty());
}
