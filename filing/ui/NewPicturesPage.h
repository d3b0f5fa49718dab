#pragma once

#include "app/FileList.h"
#include "filing/CellPicture.h"
#include "filing/InboxGrid.h"
#include "filing/PicClip.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class QFrame;
class QLineEdit;
class QPushButton;
class TImage;
class TPanel;

// The new-pictures page (objectName TabSheet1): the inbox grid, the category targets, the claim number
// and the page's buttons, with the filing handlers. Each control carries its historical name
// ("Image1", "Edit1", "BitBtn3" ...) as its objectName.
class NewPicturesPage : public QWidget {
    Q_OBJECT

public:
    explicit NewPicturesPage(QWidget* parent = nullptr);
    ~NewPicturesPage() override;

    // The inbox grid (GroupBox1): cells 1 to 9 row by row at index 0 to 8, each an image box (Image1 to
    // Image9) over its name bar (Panel1 to Panel9), with the cutter that shows a scan's corner.
    QFrame* inboxGrid;
    std::array<TImage*, filing::kGridCells> cellImages;
    std::array<TPanel*, filing::kGridCells> cellNameBars;
    std::array<TPicClip, filing::kGridCells> cellClips;
    // The category targets (Image10, Image21, Image22, Image11) and their labels (Panel10 to Panel13).
    TImage* beforeRepairTarget;
    TImage* duringRepairTarget;
    TImage* afterRepairTarget;
    TImage* documentTarget;
    TPanel* beforeRepairLabel;
    TPanel* duringRepairLabel;
    TPanel* afterRepairLabel;
    TPanel* documentLabel;
    TPanel* claimNumberLabel;    // Panel14, "เลขรับแจ้ง"
    QLineEdit* claimNumberEdit;  // Edit1, at most 8 characters
    QFrame* buttonPanel;         // Panel15
    QPushButton* nextButton;     // BitBtn2
    QPushButton* refreshButton;  // BitBtn4
    QPushButton* transferButton; // BitBtn3; the main window connects it to the transfer run
    QPushButton* closeButton;    // BitBtn1, closes the window the page stands on

    FileList inboxList;         // FileListBox1
    FileList claimFolderList;   // FileListBox2, the claim folder being filed into
    QStringList claimSequences; // ListBox1, the claim folder's sequence fields
    QString WorkingName;
    int PageOffset = 0; // the inbox entry meant for cell 1

    // The print preview of an inbox picture, given the cell's name bar; the preview attaches itself here.
    std::function<void(TPanel* nameBar)> Zoom;

    void Hide();
    void Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip);
    // Loadpic with WorkingName's picture already read and decoded: a page's pictures are prepared
    // together, on all cores, and then shown one by one.
    void Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip, filing::PreparedCellPicture prepared);
    // The first page of the inbox: the last of the main window's start-up steps.
    void FirstFill();
    void BitBtn2Click();
    void BitBtn4Click();
    bool Image10DragOver(QObject* Source);
    void Image10DragDrop(QObject* Sender, QObject* Source);
    void Drop(TImage* image, TPanel* nameBar, QObject* Source, QObject* Target);
    void Batch(TImage* image, TPanel* nameBar, QObject* Target);
    // Panel1DblClick to Panel9DblClick: the double-click on the name bar of cell 1 to 9.
    void PanelDblClick(int cell);

signals:
    // Refresh and a declined resize ask for the main window's start-up steps, whose last is FirstFill.
    void startUpStepsWanted();
};
