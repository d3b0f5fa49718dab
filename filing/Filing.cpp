#include "filing/Filing.h"

#include "app/WorkingFolders.h"
#include "filing/ClaimNumber.h"
#include "filing/Messages.h"
#include "filing/RepairGroup.h"
#include "filing/Resize.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/MessageService.h"

namespace files = platform::files;

namespace filing {
namespace {

QString inPictureRoot(const QString& name) {
    return folders::PictureRoot + '\\' + name;
}

// Removes the resize's temporary file when filing stops after the resize.
class TemporaryFile {
public:
    ~TemporaryFile() {
        if (!path_.isEmpty() && !kept_) files::deleteFile(path_);
    }
    void set(const QString& path) { path_ = path; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

bool copiedWhole(const QString& from, const QString& to, qint64 size) {
    return files::copyFile(from, to) && files::fileExists(to) && files::fileSize(to) == size;
}

} // namespace

bool FilingPrompts::confirmResize() {
    return platform::messageDlg(messages::ResizeQuestion, platform::BoxKind::Warning,
                                {platform::BoxButton::Yes, platform::BoxButton::No},
                                platform::BoxButton::Yes) == platform::BoxButton::Yes;
}

void FilingPrompts::refuseOversize() {
    platform::messageDlg(messages::TooLargeToTransfer, platform::BoxKind::Warning, {platform::BoxButton::Ok},
                         platform::BoxButton::Ok);
}

QString claimFolderPatternText(const QString& claimNumber) {
    const QString folder = folders::claimFolder(claimNumber);
    return folder + QStringLiteral("\\*.jpg;") + folder + QStringLiteral("\\*.gif");
}

FilingResult fileInto(const FilingRequest& request, FileList& claimFolderList, QStringList& numberList,
                      FilingPrompts& prompts) {
    const QString claim = request.claimNumber;
    for (const QString& refusal :
         {claimNumberRefusal(claim), kindRefusal(request.category, request.pictureName)})
        if (!refusal.isEmpty()) throw platform::Error(refusal);

    FilingResult result;
    QString workingName = request.pictureName;
    QString pendingRemoval;
    TemporaryFile temporary;

    if (isOversize(files::fileSize(inPictureRoot(workingName)))) {
        if (!prompts.confirmResize()) {
            prompts.refuseOversize();
            return result;
        }
        const QString temporaryName = filing::temporaryName(workingName);
        temporary.set(inPictureRoot(temporaryName));
        writeResized(inPictureRoot(workingName), inPictureRoot(temporaryName), [&] { prompts.beep(); });
        pendingRemoval = inPictureRoot(workingName);
        workingName = temporaryName;
        result.temporaryName = temporaryName;
    }

    const QString claimFolder = folders::claimFolder(claim);
    if (!files::folderExists(claimFolder)) files::createFolder(claimFolder);
    claimFolderList.setPatternText(claimFolderPatternText(claim));
    claimFolderList.read();

    const SequenceRange range = rangeOf(request.category);
    const std::optional<QString> sequence = repairGroup(claimFolderList, numberList, range.low, range.high);
    if (!sequence) {
        throw platform::Error(messages::CategoryFull.arg(
            labelOf(request.category), claim, QStringLiteral("%1").arg(range.low, 3, 10, QLatin1Char('0')),
            QString::number(range.high)));
    }

    const QString filedName = folders::filedName(claim, *sequence, workingName);
    const QString source = inPictureRoot(workingName);
    const QString inClaimFolder = claimFolder + '\\' + filedName;
    const QString inTransferFolder = folders::TransferFolder + '\\' + filedName;
    for (const QString& target : {inClaimFolder, inTransferFolder})
        if (files::exists(target)) throw platform::Error(messages::TargetExists.arg(target));

    const qint64 size = files::fileSize(source);
    if (!copiedWhole(source, inClaimFolder, size)) {
        files::deleteFile(inClaimFolder);
        throw platform::Error(messages::CopyFailed.arg(inClaimFolder));
    }
    if (!copiedWhole(source, inTransferFolder, size)) {
        files::deleteFile(inTransferFolder);
        files::deleteFile(inClaimFolder);
        throw platform::Error(messages::CopyFailed.arg(inTransferFolder));
    }

    temporary.keep();
    QStringList notRemoved;
    if (!files::deleteFile(source)) notRemoved << source;
    if (!pendingRemoval.isEmpty() && !files::deleteFile(pendingRemoval)) notRemoved << pendingRemoval;
    result.filed = true;
    result.filedName = filedName;
    prompts.filed(filedName);
    if (!notRemoved.isEmpty())
        throw platform::Error(messages::RemovalFailed.arg(filedName, notRemoved.join(", ")));
    return result;
}

} // namespace filing
