#pragma once

#include "app/FileList.h"
#include "filing/CellPicture.h"
#include "filing/PicClip.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QFrame;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TImage;
class TPanel;

// The main window: one page control with the new-pictures, old-pictures and outstanding-cars pages.
// Its start-up steps run when it is created and again whenever a page asks for them.
class TPicture : public QWidget {
    Q_OBJECT

public:
    explicit TPicture(QWidget* parent = nullptr);
    ~TPicture() override;

    // The start-up steps, in order: the short date format, the working folders, GarageName from the
    // settings, the first page of the inbox. An error ends the steps where it happens and is shown in
    // the standard error box; the window stays usable.
    void FormCreate();

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "รูปภาพใหม่", new pictures
    QWidget* TabSheet2; // "รูปภาพเก่า", old pictures
    QWidget* TabSheet3; // "รายงานรถยนต์ค้าง", outstanding cars report

    // New pictures: the inbox grid, cells 1 to 9 row by row, each an image box over its name bar.
    QFrame* GroupBox1;
    TImage *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8, *Image9;
    TPanel *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *Panel6, *Panel7, *Panel8, *Panel9;
    TPicClip PicClip1, PicClip2, PicClip3, PicClip4, PicClip5, PicClip6, PicClip7, PicClip8, PicClip9;
    // The category targets and their labels: before, during and after repair, documents.
    TImage *Image10, *Image21, *Image22, *Image11;
    TPanel *Panel10, *Panel11, *Panel12, *Panel13;
    TPanel* Panel14;      // "เลขรับแจ้ง", the claim number's label
    QLineEdit* Edit1;     // the claim number, at most 8 characters
    QFrame* Panel15;      // the buttons
    QPushButton* BitBtn2; // Next
    QPushButton* BitBtn4; // Refresh
    QPushButton* BitBtn3; // Transfer
    QPushButton* BitBtn1; // Close

    FileList FileListBox1; // the inbox
    FileList FileListBox2; // the claim folder being filed into
    QStringList ListBox1;  // the claim folder's sequence fields
    QString WorkingName;
    int PageOffset = 0; // the inbox entry meant for cell 1

    // The print preview of an inbox picture, given the cell's name bar; the preview attaches itself here.
    std::function<void(TPanel* nameBar)> Zoom;

    void Hide();
    void Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip);
    // Loadpic with WorkingName's picture already read and decoded: a page's pictures are prepared
    // together, on all cores, and then shown one by one.
    void Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip, filing::PreparedCellPicture prepared);
    void FirstFill();
    void BitBtn2Click();
    void BitBtn4Click();
    bool Image10DragOver(QObject* Source);
    void Image10DragDrop(QObject* Sender, QObject* Source);
    void Drop(TImage* image, TPanel* nameBar, QObject* Source, QObject* Target);
    void Batch(TImage* image, TPanel* nameBar, QObject* Target);
    void Panel1DblClick();
    void Panel2DblClick();
    void Panel3DblClick();
    void Panel4DblClick();
    void Panel5DblClick();
    void Panel6DblClick();
    void Panel7DblClick();
    void Panel8DblClick();
    void Panel9DblClick();

private:
    void CreateNewPicturesPage();
};
