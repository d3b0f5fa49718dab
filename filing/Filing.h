#pragma once

#include "app/FileList.h"
#include "filing/Category.h"

#include <QString>
#include <QStringList>

// Filing one inbox picture into its claim: the oversize check and resize, the claim folder, the next
// sequence number of the category, the copies into the claim folder and the transfer folder, and the
// removal from the inbox.
namespace filing {

// What filing asks and tells on its way; the page and vorlex-cli each answer in their own manner.
class FilingPrompts {
public:
    virtual ~FilingPrompts() = default;
    // The oversize question (warning box, "&Yes" default, "&No"); true when answered Yes.
    virtual bool confirmResize();
    // The warning box shown when the resize is declined.
    virtual void refuseOversize();
    // Sounded when the stretch fails and the picture goes on at its own size.
    virtual void beep() {}
    // The picture is in both folders and has left PictureRoot.
    virtual void filed(const QString& filedName) { (void)filedName; }
};

struct FilingRequest {
    QString claimNumber;
    PictureCategory category = PictureCategory::BeforeRepair;
    QString pictureName; // inside PictureRoot, as the grid cell's name bar shows it
};

struct FilingResult {
    bool filed = false;    // false when the oversize picture was not resized: it stays in the inbox
    QString filedName;     // ClaimNumber + sequence number + extension
    QString temporaryName; // the resize's file inside PictureRoot, empty without a resize
};

// Files one picture. `claimFolderList` and `numberList` are the page's claim folder list and number
// list, left holding the claim folder's names and their sequence fields.
//
// Nothing is removed from PictureRoot until both copies exist with the size of the file copied; on any
// failure after the resize its temporary file is removed again and the picture stays in the inbox.
// Fails (platform::Error, the user's message) before anything happens when the claim number or the
// picture's kind is refused as a drop refuses them; then when the picture has gone, is not a JPEG where a
// resize is needed, the claim folder holds a name without a sequence number, the category's numbers are
// used up, a target name is taken already, or a copy fails.
FilingResult fileInto(const FilingRequest& request, FileList& claimFolderList, QStringList& numberList,
                      FilingPrompts& prompts);

// "c:\picture\" + ClaimNumber + "\*.jpg;c:\picture\" + ClaimNumber + "\*.gif"
QString claimFolderPatternText(const QString& claimNumber);

} // namespace filing
