#include "viewer/ClaimBrowser.h"

#include "app/WorkingFolders.h"
#include "platform/Files.h"
#include "platform/MessageService.h"

namespace viewer {

QString claimsFolder() {
    return folders::PictureRoot + '\\';
}

QString claimNotFoundMessage() {
    return QStringLiteral("ไม่พบเลขรับแจ้งที่ต้องการ");
}

ClaimBrowser::ClaimBrowser(BrowserView& view)
    : view_(view), pictures_(QString(), QStringLiteral("*.*")), folders_(pictures_) {}

void ClaimBrowser::pageShown() {
    view_.clearClaims();
    pageHide();
    view_.setPreviousEnabled(false);
    view_.setNextEnabled(false);
    folders_.setDirectory(claimsFolder());
    const QStringList& items = folders_.items();
    for (qsizetype i = 2; i < items.size(); ++i)
        view_.addClaim(items.at(i));
}

void ClaimBrowser::openFolder(const QString& folder) {
    folders_.setDirectory(folder);
    viewerLastPage_ = int(pictures_.count() / kBrowserCells);
    viewerPage_ = 0;
    pageShow();
    view_.setPreviousEnabled(false);
    view_.setNextEnabled(viewerLastPage_ != 0);
}

void ClaimBrowser::claimChosen(const QString& claim) {
    openFolder(claimsFolder() + claim);
}

void ClaimBrowser::numberTyped(const QString& text) {
    if (text.size() != 8) return;
    const QString folder = claimsFolder() + text;
    if (platform::files::folderExists(folder)) {
        openFolder(folder);
        return;
    }
    platform::showMessage(claimNotFoundMessage());
    pageHide();
}

void ClaimBrowser::next() {
    ++viewerPage_;
    pageShow();
    view_.setPreviousEnabled(true);
    if (viewerPage_ == viewerLastPage_) view_.setNextEnabled(false);
}

void ClaimBrowser::previous() {
    --viewerPage_;
    pageShow();
    view_.setNextEnabled(true);
    view_.setPreviousEnabled(viewerPage_ != 0);
}

QString ClaimBrowser::pathOf(const QString& name) const {
    QString folder = folders_.directory();
    if (folder.endsWith('\\')) folder.chop(1);
    return folder + '\\' + name;
}

void ClaimBrowser::pageShow() {
    pageHide();
    const QStringList& items = pictures_.items();
    QList<BrowserEntry> page;
    for (int k = 0; k < kBrowserCells; ++k) {
        const qint64 index = qint64(viewerPage_) * kBrowserCells + k;
        if (index < 0 || index >= items.size()) break;
        const QString& name = items.at(qsizetype(index));
        page.append({k + 1, name, pathOf(name)});
    }
    if (page.isEmpty()) return;
    view_.prepare(page);
    for (const BrowserEntry& entry : page)
        view_.load(entry);
}

} // namespace viewer
