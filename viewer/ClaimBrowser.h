#pragma once

#include "app/FileList.h"
#include "viewer/FolderList.h"

#include <QList>
#include <QString>

// The paging of the old-pictures page: which filed picture each of the nine cells shows, and when the
// Prevoius and Next buttons are usable. The window supplies the cells, the claim list and the buttons.
namespace viewer {

constexpr int kBrowserCells = 9;

// "c:\picture\"
QString claimsFolder();
// "ไม่พบเลขรับแจ้งที่ต้องการ": no claim folder for the number typed.
QString claimNotFoundMessage();

// A filed picture meant for a cell: cell 1..9, its name and its full path.
struct BrowserEntry {
    int cell;
    QString name;
    QString path;
    bool operator==(const BrowserEntry&) const = default;
};

class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void hideCells() = 0;
    // Told every cell the page will load, before the first load: they may all be decoded at once.
    virtual void prepare(const QList<BrowserEntry>& page) { Q_UNUSED(page); }
    // Loads the picture into cell 1..9 and shows the cell; fails when it cannot be loaded.
    virtual void load(const BrowserEntry& entry) = 0;
    virtual void setPreviousEnabled(bool enabled) = 0;
    virtual void setNextEnabled(bool enabled) = 0;
    virtual void clearClaims() = 0;
    virtual void addClaim(const QString& name) = 0;
};

class ClaimBrowser {
public:
    explicit ClaimBrowser(BrowserView& view);

    // The page has become visible: the claim list rebuilt from PictureRoot's subfolders, cells hidden,
    // both buttons disabled.
    void pageShown();
    // A claim chosen in the list: its folder opened on page 0.
    void claimChosen(const QString& claim);
    // The claim number box changed: at exactly 8 characters its folder is opened, or the number is
    // reported as not found and the cells are hidden (folder, pages and buttons stay as they were).
    void numberTyped(const QString& text);
    void next();
    void previous();
    // Shows the entries of ViewerPage in cells 1 onwards; a picture that fails stops the page there.
    void pageShow();
    void pageHide() { view_.hideCells(); }

    // The current folder + "\" + name.
    QString pathOf(const QString& name) const;
    void openFolder(const QString& folder);

    FileList& pictureList() { return pictures_; }
    FolderList& folderList() { return folders_; }
    int viewerPage() const { return viewerPage_; }
    int viewerLastPage() const { return viewerLastPage_; }

private:
    BrowserView& view_;
    FileList pictures_;  // every plain file of the folder the folder list is on
    FolderList folders_; // positioned on PictureRoot or a claim folder
    int viewerPage_ = 0;
    int viewerLastPage_ = 0;
};

} // namespace viewer
