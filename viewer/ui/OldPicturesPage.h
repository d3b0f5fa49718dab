#pragma once

#include "viewer/ClaimBrowser.h"

#include <QWidget>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TImage;
class TPanel;

// The old-pictures page: the claims filed so far, and the pictures of the one chosen, nine at a time.
// A double-click on a picture or its name previews it for printing. Nothing here changes a file.
class OldPicturesPage : public QWidget {
    Q_OBJECT

public:
    explicit OldPicturesPage(QWidget* parent = nullptr);
    ~OldPicturesPage() override;

    QFrame* claimListPanel;
    QLabel* oldClaimsLabel;
    QListWidget* claimList; // ListBox2: PictureRoot's subfolders
    QLabel* claimNumberLabel;
    QLineEdit* claimNumberEdit;  // Edit6, at most 8 characters
    QPushButton* previousButton; // BitBtn7, "Prevoius"
    QPushButton* nextButton;     // BitBtn8
    QFrame* picturesBox;
    std::array<TImage*, viewer::kBrowserCells> cellImages{};   // Image12 .. Image20
    std::array<TPanel*, viewer::kBrowserCells> cellNameBars{}; // Panel16 .. Panel24

    viewer::ClaimBrowser& browser() { return *browser_; }
    // The folder list and picture list the cells follow.
    viewer::FolderList& DirectoryListBox1() { return browser_->folderList(); }
    FileList& FileListBox3() { return browser_->pictureList(); }

    void TabSheet2Show();
    void ListBox2Click();
    void Edit6Change();
    void BitBtn7Click();
    void BitBtn8Click();
    void PageShow();
    void PageHide();
    // The double-clicks of cells 1 to 9, on the picture or its name alike.
    void Image12DblClick();
    void Image13DblClick();
    void Image14DblClick();
    void Image15DblClick();
    void Image16DblClick();
    void Image17DblClick();
    void Image18DblClick();
    void Image19DblClick();
    void Image20DblClick();
    // Previews the browser's current folder + "\" + the name bar's text.
    void Zoom2(TPanel* nameBar);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Cells;
    std::unique_ptr<Cells> cells_;
    std::unique_ptr<viewer::ClaimBrowser> browser_;
    bool listChangeFromCode_ = false;
    bool pressedCurrent_ = false; // the mouse went down on the claim already chosen
};
