#include "archive/Zip.h"

#include "archive/FileSearch.h"
#include "archive/MemberEncoder.h"
#include "archive/TempArchive.h"
#include "archive/ZipHeaders.h"
#include "archive/ZipReader.h"
#include "platform/Codepage874.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/EventPump.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace archive {

namespace files = platform::files;

QStringList defaultStoreFilesOfType() {
    return {".ACE", ".ARC", ".ARJ", ".BH",  ".CAB", ".ENC", ".GZ", ".HA",  ".JAR", ".LHA", ".LZH", ".PAK",
            ".PK3", ".PK_", ".RAR", ".TAR", ".TGZ", ".UUE", ".UU", ".WAR", ".XXE", ".Z",   ".ZIP", ".ZOO"};
}

namespace {

constexpr qint64 kMax32 = 0xFFFFFFFF;

// done × 100 / total, rounded to the nearest integer with ties to even, kept within 0..100.
quint8 percent(qint64 done, qint64 total) {
    if (total <= 0 || done <= 0) return 0;
    if (done >= total) return 100;
    const qint64 scaled = done * 100; // done < total, and totals stay far below 2^56
    qint64 quotient = scaled / total;
    const qint64 twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && quotient % 2 == 1)) ++quotient;
    return quint8(quotient);
}

QByteArray nameBytes(const QString& storedName) {
    return platform::cp874::encode(QString(storedName).replace(QLatin1Char('\\'), QLatin1Char('/')));
}

// The name as a member would read it back: what the code page can hold, "\" between folders.
QString comparableName(const QString& storedName) {
    return platform::cp874::decode(nameBytes(storedName)).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString hostPathOf(const QString& path) {
    try {
        return platform::drive::toHost(path);
    } catch (const platform::Error&) {
        return QString();
    }
}

struct Entry {
    TEntryAction action = eaCompress;
    QString name; // full source path of a new file until it is written, then its stored name
    QString storedName;
    CentralHeader header{};
    QByteArray rawName;
    QByteArray extra;
    QByteArray comment;
    KeptMember kept;   // where an eaCopy member lies in the old archive
    SourceFile source; // an eaCompress file as the search found it
};

} // namespace

// One run of Compress: everything it creates is released when it ends.
class ZipJob {
public:
    explicit ZipJob(TZip& zip) : zip_(zip) {}
    ~ZipJob() { discardTemp(); }
    ZipJob(const ZipJob&) = delete;
    ZipJob& operator=(const ZipJob&) = delete;
    int run();

private:
    enum class Update { Added, NothingAdded, Failed };

    bool checkDrive();
    Update update();
    bool archiveIsWritable();
    bool readOldArchive();
    void searchFiles();
    bool writeEntries();
    bool copyEntry(Entry& entry);
    bool encodeEntry(Entry& entry);
    bool writeCentralDirectory();
    Update putInPlace();
    void removeMovedFiles();
    void discardTemp();

    void report(int code, const QString& fileName = {}, const QString& detail = {});
    void progress(quint8 byFile, quint8 byArchive);
    quint8 archivePercent() const { return percent(jobTotal_ - bytesLeft_, jobTotal_); }
    bool cancelled() const { return zip_.cancelled_; }

    TZip& zip_;
    QString archivePath_;
    QString archiveHost_;
    bool archiveExists_ = false;
    QList<Entry> entries_;
    QStringList moveList_;
    int filesAdded_ = 0;
    int entryNumber_ = 0;
    bool somethingToDo_ = false;
    qint64 jobTotal_ = 0;
    qint64 bytesLeft_ = 0;
    std::unique_ptr<QTemporaryFile> temp_;
    std::optional<QFile> oldArchive_;
    std::optional<FileSource> oldSource_;
};

void ZipJob::report(int code, const QString& fileName, const QString& detail) {
    if (cancelled()) code = ErrUserCanceled;
    if (zip_.OnError) zip_.OnError(zip_, fileName, detail, archivePath_, code);
}

void ZipJob::progress(quint8 byFile, quint8 byArchive) {
    platform::letMessagesThrough();
    if (zip_.OnProgress) zip_.OnProgress(zip_, byFile, byArchive);
}

int ZipJob::run() {
    archivePath_ = zip_.archiveFile_;
    zip_.cancelled_ = false;
    if (archivePath_.isEmpty()) return 0;
    if (!checkDrive()) return 0;
    if (cancelled()) return 0;
    if (zip_.CompressMethod == cmStore) zip_.DeflateType = dtDeflateS;
    const Update outcome = update();
    if (outcome != Update::Failed && !cancelled() && zip_.Switch == swMove && QFileInfo::exists(archiveHost_))
        removeMovedFiles();
    if (cancelled()) {
        report(ErrUserCanceled, archivePath_);
        return 0;
    }
    return outcome == Update::Failed ? 0 : filesAdded_;
}

bool ZipJob::checkDrive() {
    archiveHost_ = hostPathOf(archivePath_);
    const bool hostPath = archivePath_.startsWith(QLatin1Char('/'));
    if (archiveHost_.isEmpty() ||
        (!hostPath && !QFileInfo(platform::drive::toHost(QStringLiteral("c:\\"))).isDir())) {
        const QString root = archivePath_.size() >= 2 && archivePath_.at(1) == QLatin1Char(':')
                                 ? archivePath_.left(2).toUpper() + QLatin1Char('\\')
                                 : QStringLiteral("C:\\");
        report(ErrNotAccessible, archivePath_, root);
        return false;
    }
    const QString hostFolder = QFileInfo(archiveHost_).absolutePath();
    if (!QFileInfo(hostFolder).isDir()) {
        report(ErrInvalidDirectory, archivePath_, files::folderOf(archivePath_));
        return false;
    }
    if (!folderIsWritable(hostFolder)) {
        report(ErrWriteProtected, archivePath_, files::folderOf(archivePath_));
        return false;
    }
    return true;
}

bool ZipJob::archiveIsWritable() {
    constexpr quint32 kNotWritable = files::ReadOnly | files::Hidden | files::SysFile | files::Directory;
    quint32 attributes = files::attributesOfHostPath(archiveHost_);
    if (attributes != files::kInvalidAttributes && !(attributes & kNotWritable)) return true;
    if (!zip_.OnNonWriteableArchive) {
        report(ErrEventNotAssigned, archivePath_, QStringLiteral("OnNonWriteableArchive"));
        return false;
    }
    bool makeWritable = false;
    zip_.OnNonWriteableArchive(zip_, archivePath_, makeWritable);
    if (!makeWritable) return false;
    QFile::setPermissions(archiveHost_, QFile::permissions(archiveHost_) | QFileDevice::WriteOwner);
    attributes = files::attributesOfHostPath(archiveHost_);
    if (attributes == files::kInvalidAttributes || (attributes & kNotWritable)) {
        report(ErrWriting, archivePath_, QStringLiteral("the archive cannot be made writable"));
        return false;
    }
    return true;
}

bool ZipJob::readOldArchive() {
    oldArchive_.emplace(archiveHost_);
    if (!oldArchive_->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        report(ErrOpeningFile, archivePath_, oldArchive_->errorString());
        return false;
    }
    oldSource_.emplace(*oldArchive_);
    const ArchiveContents contents = readArchive(*oldSource_);
    if (!contents.readable) {
        report(ErrDamagedArchive, archivePath_, contents.problem);
        return false;
    }
    for (const KeptMember& member : contents.members) {
        Entry entry;
        entry.action = eaCopy;
        entry.name = member.name;
        entry.storedName = member.name;
        entry.header = member.header;
        entry.rawName = member.rawName;
        entry.extra = member.extra;
        entry.comment = member.comment;
        entry.kept = member;
        entries_.append(entry);
    }
    return true;
}

void ZipJob::searchFiles() {
    const SearchSettings settings{zip_.RecurseDirs, zip_.Attributes, zip_.AttributesEx, zip_.StoredDirNames};
    const QString tempHost = QFileInfo(temp_->fileName()).absoluteFilePath();
    for (const SourceFile& source : findSourceFiles(zip_.FileSpec, settings)) {
        // The archive never takes itself or the file it is being rebuilt in.
        const QString sourceHost = QFileInfo(hostPathOf(source.fullPath)).absoluteFilePath();
        if (sourceHost == QFileInfo(archiveHost_).absoluteFilePath() || sourceHost == tempHost) continue;
        jobTotal_ += source.size;
        const QString key = comparableName(source.storedName);
        Entry* existing = nullptr;
        for (Entry& entry : entries_) {
            if (entry.storedName.compare(key, Qt::CaseInsensitive) == 0) {
                existing = &entry;
                break;
            }
        }
        bool add = existing == nullptr;
        if (existing && existing->action == eaCopy) {
            const char* h = existing->header.data();
            // Size, time and attributes as the member's; the content is compared too, since a file that
            // is taken for the member is removed.
            quint32 crc = 0;
            const bool identical = get32(h + central::UncompressedSize) == quint64(source.size) &&
                                   get32(h + central::Time) == source.dosTime &&
                                   (get32(h + central::ExternalAttributes) & kExternalAttributeMask) ==
                                       (source.attributes & kExternalAttributeMask) &&
                                   crcOfFile(hostPathOf(source.fullPath), crc) &&
                                   crc == get32(h + central::Crc);
            if (identical) {
                if (zip_.Switch == swMove) moveList_.append(source.fullPath);
            } else if (!zip_.OnReplaceFile) {
                report(ErrEventNotAssigned, source.fullPath, QStringLiteral("OnReplaceFile"));
            } else {
                bool replace = false;
                zip_.OnReplaceFile(zip_, source.fullPath, replace);
                if (replace) {
                    existing->action = eaDrop;
                    add = true;
                }
            }
        }
        if (!add) continue;
        Entry entry;
        entry.action = eaCompress;
        entry.name = source.fullPath;
        entry.storedName = key;
        entry.source = source;
        entries_.append(entry);
        somethingToDo_ = true;
    }
    bytesLeft_ = jobTotal_;
}

ZipJob::Update ZipJob::update() {
    // Looked at again now, not only when ArchiveFile was assigned: a file made since then is read and
    // extended, never overwritten.
    archiveExists_ = QFileInfo::exists(archiveHost_);
    if (archiveExists_ && !archiveIsWritable()) return Update::Failed;

    const QString tempDirHost = zip_.TempDir.isEmpty() ? QString() : hostPathOf(zip_.TempDir);
    const QString tempFolder = !tempDirHost.isEmpty() && QFileInfo(tempDirHost).isDir()
                                   ? tempDirHost
                                   : QFileInfo(archiveHost_).absolutePath();
    temp_ = createTempFile(tempFolder);
    if (!temp_) {
        report(ErrWriting, archivePath_, tempFolder);
        return Update::Failed;
    }
    if (archiveExists_ && !readOldArchive()) {
        discardTemp();
        return Update::Failed;
    }
    searchFiles();
    if (!somethingToDo_ || cancelled()) {
        if (!cancelled()) report(ErrNothingToDo, archivePath_);
        discardTemp();
        return cancelled() ? Update::Failed : Update::NothingAdded;
    }
    if (!writeEntries()) {
        discardTemp();
        return Update::Failed;
    }
    if (filesAdded_ == 0) {
        discardTemp();
        return Update::NothingAdded;
    }
    progress(0, 0);
    if (cancelled() || !writeCentralDirectory()) {
        discardTemp();
        return Update::Failed;
    }
    return putInPlace();
}

bool ZipJob::writeEntries() {
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (cancelled()) return false;
        entryNumber_ = int(i + 1);
        Entry& entry = entries_[i];
        const bool ok = entry.action == eaCopy       ? copyEntry(entry)
                        : entry.action == eaCompress ? encodeEntry(entry)
                                                     : true;
        if (!ok) return false;
    }
    return true;
}

bool ZipJob::copyEntry(Entry& entry) {
    const qint64 newOffset = temp_->pos();
    if (newOffset > kMax32) {
        report(ErrWriting, entry.name, QStringLiteral("the archive would reach 4 GiB"));
        return false;
    }
    bool writeFailed = false;
    const bool ok = copyMember(
        *oldSource_, entry.kept,
        [&](const char* data, qint64 length) {
            writeFailed = temp_->write(data, length) != length;
            return !writeFailed;
        },
        [this](qint64 length) {
            platform::letMessagesThrough();
            if (bytesLeft_ > 0) bytesLeft_ -= length;
        });
    if (!ok) {
        report(writeFailed ? ErrWriting : ErrDamagedArchive, entry.name,
               writeFailed ? temp_->errorString() : QStringLiteral("read error"));
        return false;
    }
    put32(entry.header.data() + central::LocalHeaderOffset, quint32(newOffset));
    return true;
}

bool ZipJob::encodeEntry(Entry& entry) {
    bool extract = true;
    if (zip_.OnBegin) zip_.OnBegin(zip_, entry.name, entryNumber_, extract);
    if (!extract) {
        entry.action = eaDrop;
        return true;
    }
    const qint64 offset = temp_->pos();
    if (offset > kMax32) {
        report(ErrWriting, entry.name, QStringLiteral("the archive would reach 4 GiB"));
        return false;
    }
    const SourceFile& source = entry.source;
    entry.rawName = nameBytes(entry.storedName);
    LocalHeader header = prepareLocalHeader(source.dosTime, quint32(std::min<qint64>(source.size, kMax32)));
    if (temp_->write(header.data(), kLocalHeaderSize) != kLocalHeaderSize ||
        temp_->write(entry.rawName) != entry.rawName.size()) {
        report(ErrWriting, entry.name, temp_->errorString());
        return false;
    }

    EncoderJob job;
    job.beforeBlock = [] { platform::letMessagesThrough(); };
    job.cancelled = [this] { return cancelled(); };
    job.progress = [this](qint64 consumed, qint64 size) {
        progress(percent(consumed, size), archivePercent());
    };
    job.bytesLeft = &bytesLeft_;
    const EncoderSettings settings{zip_.DeflateType, zip_.StoreFilesOfType};
    const EncodedMember encoded =
        encodeMember(hostPathOf(source.fullPath), entry.storedName, settings, *temp_, job);

    const auto leaveOut = [&] {
        entry.action = eaDrop;
        return temp_->resize(offset) && temp_->seek(offset);
    };
    switch (encoded.outcome) {
    case EncodeOutcome::Done:
        break;
    case EncodeOutcome::OpenFailed:
    case EncodeOutcome::ReadFailed:
        report(ErrOpeningFile, entry.name);
        if (leaveOut()) return true;
        report(ErrWriting, entry.name, temp_->errorString());
        return false;
    case EncodeOutcome::Cancelled:
        leaveOut();
        return false;
    case EncodeOutcome::WriteFailed:
        report(ErrWriting, entry.name, temp_->errorString());
        return false;
    }

    const qint64 end = temp_->pos();
    const qint64 compressed = end - offset - kLocalHeaderSize - entry.rawName.size();
    if (compressed > kMax32) {
        report(ErrWriting, entry.name, QStringLiteral("the archive would reach 4 GiB"));
        return false;
    }
    put16(header.data() + local::Flags, encoded.method == 8 ? encoded.flags : 0);
    put16(header.data() + local::Method, encoded.method);
    put32(header.data() + local::Crc, encoded.uncompressedSize == 0 ? 0 : encoded.crc);
    put32(header.data() + local::CompressedSize, quint32(compressed));
    put32(header.data() + local::UncompressedSize, quint32(encoded.uncompressedSize));
    put16(header.data() + local::NameLength, quint16(entry.rawName.size()));
    put16(header.data() + local::ExtraLength, 0);
    if (!temp_->seek(offset) || temp_->write(header.data(), kLocalHeaderSize) != kLocalHeaderSize ||
        temp_->write(entry.rawName) != entry.rawName.size() || !temp_->seek(end)) {
        report(ErrWriting, entry.name, temp_->errorString());
        return false;
    }
    entry.header = centralHeaderFor(header, source.attributes, quint32(offset));
    ++filesAdded_;
    if (zip_.Switch == swMove) moveList_.append(source.fullPath);
    entry.name = entry.storedName;
    return true;
}

bool ZipJob::writeCentralDirectory() {
    const qint64 centralOffset = temp_->pos();
    QByteArray directory;
    int written = 0;
    for (Entry& entry : entries_) {
        if (entry.action == eaDrop) continue;
        put32(entry.header.data(), kCentralSignature);
        put16(entry.header.data() + central::NameLength, quint16(entry.rawName.size()));
        put16(entry.header.data() + central::ExtraLength, quint16(entry.extra.size()));
        put16(entry.header.data() + central::CommentLength, quint16(entry.comment.size()));
        directory.append(entry.header.data(), kCentralHeaderSize);
        directory.append(entry.rawName).append(entry.extra).append(entry.comment);
        ++written;
    }
    if (written > 0xFFFF || centralOffset > kMax32 || directory.size() > kMax32) {
        report(ErrWriting, archivePath_,
               QStringLiteral("too many members or bytes for the archive's fields"));
        return false;
    }
    directory.append(endRecord(quint16(written), quint32(directory.size()), quint32(centralOffset)));
    if (temp_->write(directory) != directory.size() || !flushToDisk(*temp_)) {
        report(ErrWriting, archivePath_, temp_->errorString());
        return false;
    }
    return true;
}

ZipJob::Update ZipJob::putInPlace() {
    const QString tempPath = temp_->fileName();
    temp_->close();
    oldSource_.reset();
    oldArchive_.reset();
    const ReplaceOutcome outcome = replaceArchive(tempPath, archiveHost_);
    temp_.reset();
    if (outcome == ReplaceOutcome::Replaced) return Update::Added;
    // The new archive stays in the temporary file; the old one and the sources are untouched.
    report(outcome == ReplaceOutcome::DiskFull ? ErrDiskFull : ErrArchiveNotReplaced, archivePath_, tempPath);
    return Update::Failed;
}

void ZipJob::discardTemp() {
    if (!temp_) return;
    const QString path = temp_->fileName();
    temp_->close();
    temp_.reset();
    QFile::remove(path);
}

void ZipJob::removeMovedFiles() {
    progress(0, 0);
    for (qsizetype i = 0; i < moveList_.size(); ++i) {
        if (cancelled()) return;
        const QString& path = moveList_.at(i);
        const bool removed =
            zip_.DeleteOptions == doAllowUndo ? files::moveToTrash(path) : files::deleteFile(path);
        if (removed && zip_.OnDeleteFile) zip_.OnDeleteFile(zip_, path, int(i + 1), int(moveList_.size()));
    }
}

TZip::TZip() : StoreFilesOfType(defaultStoreFilesOfType()) {}

void TZip::setArchiveFile(const QString& path) {
    QString value =
        path.startsWith(QLatin1Char('/')) ? path : QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!value.isEmpty() && extensionOf(value).isEmpty()) value += defaultExt_;
    archiveFile_ = value;
    const QString host = value.isEmpty() ? QString() : hostPathOf(value);
    archiveIsNew_ = host.isEmpty() || !QFileInfo::exists(host);
    cancelled_ = false;
}

void TZip::setDefaultExt(const QString& extension) {
    if (extension.isEmpty() || extension == QLatin1String(".")) {
        defaultExt_ = QStringLiteral(".ZIP");
        return;
    }
    const QString dotted = extension.startsWith(QLatin1Char('.')) ? extension : QLatin1Char('.') + extension;
    defaultExt_ = dotted.left(4).toLower();
}

int TZip::Compress() {
    if (running_) return 0;
    running_ = true;
    int added = 0;
    try {
        ZipJob job(*this);
        added = job.run();
    } catch (...) {
        added = 0;
    }
    running_ = false;
    return added;
}

} // namespace archive

namespace archive {

void applyTransferSettings(TZip& zip) {
    zip.CompressMethod = cmDeflate;
    zip.Switch = swMove;
    zip.RecurseDirs = false;
    zip.setDefaultExt(QStringLiteral(".zip"));
    zip.DeleteOptions = doAllowUndo;
    zip.Attributes = fsZeroAttr | fsReadOnly | fsArchive | fsCompressed | fsEncrypted;
    zip.AttributesEx = {};
    zip.StoreFilesOfType = defaultStoreFilesOfType();
}

} // namespace archive
