// The new-pictures page of the main window: the inbox grid, the category targets and the filing
// handlers. The handlers read the controls and leave the rules to the filing library.
#include "codecs/Bitmap.h"
#include "filing/CellPicture.h"
#include "filing/ClaimNumber.h"
#include "filing/Filing.h"
#include "filing/InboxGrid.h"
#include "filing/ui/FolderPicture.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
#include "filing/ui/PictureU.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <array>
#include <optional>
#include <vector>

namespace {

struct GridCell {
    TImage* image;
    TPanel* nameBar;
    TPicClip* clip;
};

// Columns and rows of the grid inside its box; the middle column is one pixel wider.
constexpr std::array<int, 3> kCellX = {17, 194, 367};
constexpr std::array<int, 3> kCellY = {13, 172, 330};
constexpr int kImageHeight = 125;
constexpr int kNameBarHeight = 19;

struct CategoryTarget {
    TImage* TPicture::*box;
    TPanel* TPicture::*label;
    const char* name;
    const char* labelName;
    int y;
    filing::PictureCategory category;
};

constexpr std::array<CategoryTarget, 4> kTargets = {{
    {&TPicture::Image10, &TPicture::Panel10, "Image10", "Panel10", 4, filing::PictureCategory::BeforeRepair},
    {&TPicture::Image21, &TPicture::Panel11, "Image21", "Panel11", 109,
     filing::PictureCategory::DuringRepair},
    {&TPicture::Image22, &TPicture::Panel12, "Image22", "Panel12", 214, filing::PictureCategory::AfterRepair},
    {&TPicture::Image11, &TPicture::Panel13, "Image11", "Panel13", 319, filing::PictureCategory::Document},
}};

// The category of the target box `box`; none for any other object.
std::optional<filing::PictureCategory> categoryOf(const TPicture& page, const QObject* box) {
    for (const CategoryTarget& target : kTargets)
        if (page.*target.box == box) return target.category;
    return std::nullopt;
}

std::array<GridCell, filing::kGridCells> cellsOf(TPicture& page) {
    return {{{page.Image1, page.Panel1, &page.PicClip1},
             {page.Image2, page.Panel2, &page.PicClip2},
             {page.Image3, page.Panel3, &page.PicClip3},
             {page.Image4, page.Panel4, &page.PicClip4},
             {page.Image5, page.Panel5, &page.PicClip5},
             {page.Image6, page.Panel6, &page.PicClip6},
             {page.Image7, page.Panel7, &page.PicClip7},
             {page.Image8, page.Panel8, &page.PicClip8},
             {page.Image9, page.Panel9, &page.PicClip9}}};
}

// The grid as the paging rules see it. The page's pictures are read and decoded together before the
// cells show them one by one.
class PageCells : public filing::GridCells {
public:
    explicit PageCells(TPicture& page) : page_(page), cells_(cellsOf(page)) {}
    void hideAll() override { page_.Hide(); }
    void prepare(const QList<filing::PageEntry>& page) override {
        QList<filing::CellPictureRequest> requests;
        for (const filing::PageEntry& entry : page) {
            const GridCell& c = cells_.at(entry.cell - 1);
            requests.append(filing::cellPictureRequest(entry.name, *c.clip, c.image->size()));
        }
        entries_ = page;
        prepared_ = filing::prepareCellPictures(requests);
    }
    void load(int cell, const QString& name) override {
        page_.WorkingName = name;
        const GridCell& c = cells_.at(cell - 1);
        const qsizetype i = entries_.indexOf(filing::PageEntry{cell, name});
        if (i >= 0 && prepared_.at(size_t(i)).ready)
            page_.Loadpic(c.image, c.nameBar, *c.clip, std::move(prepared_.at(size_t(i))));
        else
            page_.Loadpic(c.image, c.nameBar, *c.clip);
    }
    bool isShown(int cell) const override { return !cells_.at(cell - 1).image->isHidden(); }
    void setNextEnabled(bool enabled) override { page_.BitBtn2->setEnabled(enabled); }

private:
    TPicture& page_;
    std::array<GridCell, filing::kGridCells> cells_;
    QList<filing::PageEntry> entries_;
    std::vector<filing::PreparedCellPicture> prepared_;
};

// Filing's questions answered through message boxes; a filed picture's cell is hidden.
class PagePrompts : public filing::FilingPrompts {
public:
    PagePrompts(TImage* image, TPanel* nameBar) : image_(image), nameBar_(nameBar) {}
    void beep() override { QApplication::beep(); }
    void filed(const QString&) override {
        image_->hide();
        nameBar_->hide();
    }

private:
    TImage* image_;
    TPanel* nameBar_;
};

template <typename Widget> Widget* named(Widget* widget, const char* name, QWidget* parent) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    return widget;
}

TPanel* labelPanel(const char* name, const QString& text, QWidget* parent) {
    TPanel* panel = named(new TPanel, name, parent);
    panel->setText(text);
    panel->setColours(Qt::darkGray, Qt::cyan);
    panel->setTextPixels(15);
    return panel;
}

QPushButton* button(const char* name, const QString& text, QStyle::StandardPixmap icon, QWidget* parent,
                    QPoint at) {
    QPushButton* b = named(new QPushButton(text), name, parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setGeometry(QRect(at, QSize(82, 25)));
    return b;
}

} // namespace

void TPicture::CreateNewPicturesPage() {
    GroupBox1 = named(new QFrame, "GroupBox1", TabSheet1);
    GroupBox1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    GroupBox1->setGeometry(201, 0, 534, 486);

    Image1 = new TImage, Image2 = new TImage, Image3 = new TImage;
    Image4 = new TImage, Image5 = new TImage, Image6 = new TImage;
    Image7 = new TImage, Image8 = new TImage, Image9 = new TImage;
    Panel1 = new TPanel, Panel2 = new TPanel, Panel3 = new TPanel;
    Panel4 = new TPanel, Panel5 = new TPanel, Panel6 = new TPanel;
    Panel7 = new TPanel, Panel8 = new TPanel, Panel9 = new TPanel;
    const auto cells = cellsOf(*this);
    const std::array<void (TPicture::*)(), filing::kGridCells> doubleClicks = {
        &TPicture::Panel1DblClick, &TPicture::Panel2DblClick, &TPicture::Panel3DblClick,
        &TPicture::Panel4DblClick, &TPicture::Panel5DblClick, &TPicture::Panel6DblClick,
        &TPicture::Panel7DblClick, &TPicture::Panel8DblClick, &TPicture::Panel9DblClick};
    for (int i = 0; i < filing::kGridCells; ++i) {
        const GridCell& cell = cells.at(i);
        const int column = i % 3;
        const int row = i / 3;
        const int wider = column == 1 ? 1 : 0;
        cell.image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        cell.image->setParent(GroupBox1);
        cell.image->setGeometry(kCellX.at(column), kCellY.at(row), 148 + wider, kImageHeight);
        cell.image->setDragSource(true);
        cell.nameBar->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        cell.nameBar->setParent(GroupBox1);
        cell.nameBar->setGeometry(kCellX.at(column), kCellY.at(row) + kImageHeight, 149 + wider,
                                  kNameBarHeight);
        cell.nameBar->setColours(Qt::gray, Qt::white);
        cell.nameBar->setTextPixels(9);
        cell.nameBar->onDblClick = [this, handler = doubleClicks.at(i)] { (this->*handler)(); };
        cell.clip->Cols = filing::kClipCols;
        cell.clip->Rows = filing::kClipRows;
    }

    const QImage folder = folderPicture();
    for (const CategoryTarget& target : kTargets) {
        TImage* box = named(new TImage, target.name, TabSheet1);
        box->setGeometry(89, target.y, 107, 74);
        auto picture = std::make_unique<TBitmap>(folder);
        picture->setTransparent(true); // the folder stands on the page, its corners see-through
        box->Picture.setGraphic(std::move(picture));
        box->setOnDragOver([this](QObject* source) { return Image10DragOver(source); });
        box->onDragDrop = [this, box](QObject* source) { Image10DragDrop(box, source); };
        this->*target.box = box;
        TPanel* label = labelPanel(target.labelName, filing::labelOf(target.category), TabSheet1);
        label->setGeometry(5, target.y + 20, 83, 33);
        this->*target.label = label;
    }

    Panel14 = labelPanel("Panel14", QStringLiteral("เลขรับแจ้ง"), TabSheet1);
    Panel14->setGeometry(5, 391, 88, 27);
    Edit1 = named(new QLineEdit, "Edit1", TabSheet1);
    Edit1->setMaxLength(8);
    Edit1->setGeometry(98, 394, 97, 21);

    Panel15 = named(new QFrame, "Panel15", TabSheet1);
    Panel15->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel15->setGeometry(4, 420, 191, 66);
    BitBtn2 = button("BitBtn2", QStringLiteral("Next"), QStyle::SP_ArrowRight, Panel15, {7, 5});
    BitBtn4 = button("BitBtn4", QStringLiteral("Refresh"), QStyle::SP_BrowserReload, Panel15, {96, 5});
    BitBtn3 = button("BitBtn3", QStringLiteral("Transfer"), QStyle::SP_ArrowUp, Panel15, {7, 33});
    BitBtn1 = button("BitBtn1", QStringLiteral("&Close"), QStyle::SP_DialogCloseButton, Panel15, {96, 33});
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { close(); });

    FileListBox1.setPatternText(filing::inboxPatternText());
    Hide();
}

void TPicture::Hide() {
    for (const GridCell& cell : cellsOf(*this)) {
        cell.image->hide();
        cell.nameBar->hide();
    }
}

void TPicture::Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip) {
    Loadpic(image, nameBar, clip,
            filing::prepareCellPicture(filing::cellPictureRequest(WorkingName, clip, image->size())));
}

void TPicture::Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip, filing::PreparedCellPicture prepared) {
    filing::applyCellPicture(std::move(prepared), clip, image->Picture);
    nameBar->setText(WorkingName);
    image->show();
    nameBar->show();
}

void TPicture::FirstFill() {
    PageCells cells(*this);
    filing::firstFill(FileListBox1, PageOffset, cells);
}

void TPicture::BitBtn2Click() {
    platform::handleErrors([this] {
        PageCells cells(*this);
        filing::nextPage(FileListBox1, PageOffset, cells);
    });
}

void TPicture::BitBtn4Click() {
    platform::handleErrors([this] {
        FileListBox1.read();
        FormCreate();
    });
}

bool TPicture::Image10DragOver(QObject* Source) {
    return qobject_cast<TImage*>(Source) != nullptr;
}

void TPicture::Image10DragDrop(QObject* Sender, QObject* Source) {
    platform::handleErrors([&] {
        const QString refusal = filing::claimNumberRefusal(Edit1->text());
        if (!refusal.isEmpty()) {
            platform::showMessage(refusal);
            Edit1->setFocus();
            return;
        }
        QString draggedName;
        for (const GridCell& cell : cellsOf(*this))
            if (cell.image == Source) draggedName = cell.nameBar->text();
        WorkingName = draggedName;
        const std::optional<filing::PictureCategory> category = categoryOf(*this, Sender);
        if (!category) return;
        if (const QString wrongKind = filing::kindRefusal(*category, WorkingName); !wrongKind.isEmpty()) {
            platform::showMessage(wrongKind);
            return;
        }
        for (const GridCell& cell : cellsOf(*this))
            Drop(cell.image, cell.nameBar, Source, Sender);
    });
}

void TPicture::Drop(TImage* image, TPanel* nameBar, QObject* Source, QObject* Target) {
    if (image != Source) return;
    filing::takeFromInbox(FileListBox1, PageOffset, nameBar->text());
    Batch(image, nameBar, Target);
}

void TPicture::Batch(TImage* image, TPanel* nameBar, QObject* Target) {
    const std::optional<filing::PictureCategory> category = categoryOf(*this, Target);
    if (!category) return;
    const filing::FilingRequest request{Edit1->text(), *category, nameBar->text()};
    WorkingName = request.pictureName;
    PagePrompts prompts(image, nameBar);
    const filing::FilingResult result = filing::fileInto(request, FileListBox2, ListBox1, prompts);
    if (!result.temporaryName.isEmpty()) WorkingName = result.temporaryName;
    if (!result.filed) {
        FileListBox1.read();
        FormCreate();
    }
}

void TPicture::Panel1DblClick() {
    if (Zoom) Zoom(Panel1);
}
void TPicture::Panel2DblClick() {
    if (Zoom) Zoom(Panel2);
}
void TPicture::Panel3DblClick() {
    if (Zoom) Zoom(Panel3);
}
void TPicture::Panel4DblClick() {
    if (Zoom) Zoom(Panel4);
}
void TPicture::Panel5DblClick() {
    if (Zoom) Zoom(Panel5);
}
void TPicture::Panel6DblClick() {
    if (Zoom) Zoom(Panel6);
}
void TPicture::Panel7DblClick() {
    if (Zoom) Zoom(Panel7);
}
void TPicture::Panel8DblClick() {
    if (Zoom) Zoom(Panel8);
}
void TPicture::Panel9DblClick() {
    if (Zoom) Zoom(Panel9);
}
