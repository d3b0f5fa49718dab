#include "filing/ui/NewPicturesPage.h"

// The handlers read the controls and leave the rules to the filing library.
#include "codecs/Bitmap.h"
#include "filing/CellPicture.h"
#include "filing/ClaimNumber.h"
#include "filing/Filing.h"
#include "filing/InboxGrid.h"
#include "filing/ui/FolderPicture.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
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

// Columns and rows of the grid inside its box; the middle column is one pixel wider.
constexpr std::array<int, 3> kCellX = {17, 194, 367};
constexpr std::array<int, 3> kCellY = {13, 172, 330};
constexpr int kImageHeight = 125;
constexpr int kNameBarHeight = 19;

struct CategoryTarget {
    TImage* NewPicturesPage::*box;
    TPanel* NewPicturesPage::*label;
    const char* name;
    const char* labelName;
    int y;
    filing::PictureCategory category;
};

constexpr std::array<CategoryTarget, 4> kTargets = {{
    {&NewPicturesPage::beforeRepairTarget, &NewPicturesPage::beforeRepairLabel, "Image10", "Panel10", 4,
     filing::PictureCategory::BeforeRepair},
    {&NewPicturesPage::duringRepairTarget, &NewPicturesPage::duringRepairLabel, "Image21", "Panel11", 109,
     filing::PictureCategory::DuringRepair},
    {&NewPicturesPage::afterRepairTarget, &NewPicturesPage::afterRepairLabel, "Image22", "Panel12", 214,
     filing::PictureCategory::AfterRepair},
    {&NewPicturesPage::documentTarget, &NewPicturesPage::documentLabel, "Image11", "Panel13", 319,
     filing::PictureCategory::Document},
}};

// The category of the target box `box`; none for any other object.
std::optional<filing::PictureCategory> categoryOf(const NewPicturesPage& page, const QObject* box) {
    for (const CategoryTarget& target : kTargets)
        if (page.*target.box == box) return target.category;
    return std::nullopt;
}

// The grid as the paging rules see it. The page's pictures are read and decoded together before the
// cells show them one by one.
class PageCells : public filing::GridCells {
public:
    explicit PageCells(NewPicturesPage& page) : page_(page) {}
    void hideAll() override { page_.Hide(); }
    void prepare(const QList<filing::PageEntry>& page) override {
        QList<filing::CellPictureRequest> requests;
        for (const filing::PageEntry& entry : page) {
            const size_t i = size_t(entry.cell - 1);
            requests.append(filing::cellPictureRequest(entry.name, page_.cellClips.at(i),
                                                       page_.cellImages.at(i)->size()));
        }
        entries_ = page;
        prepared_ = filing::prepareCellPictures(requests);
    }
    void load(int cell, const QString& name) override {
        page_.WorkingName = name;
        const size_t c = size_t(cell - 1);
        TImage* image = page_.cellImages.at(c);
        TPanel* nameBar = page_.cellNameBars.at(c);
        const qsizetype i = entries_.indexOf(filing::PageEntry{cell, name});
        if (i >= 0 && prepared_.at(size_t(i)).ready)
            page_.Loadpic(image, nameBar, page_.cellClips.at(c), std::move(prepared_.at(size_t(i))));
        else
            page_.Loadpic(image, nameBar, page_.cellClips.at(c));
    }
    bool isShown(int cell) const override { return !page_.cellImages.at(size_t(cell - 1))->isHidden(); }
    void setNextEnabled(bool enabled) override { page_.nextButton->setEnabled(enabled); }

private:
    NewPicturesPage& page_;
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

template <typename Widget> Widget* named(Widget* widget, const QString& name, QWidget* parent) {
    widget->setObjectName(name);
    widget->setParent(parent);
    return widget;
}

TPanel* labelPanel(const char* name, const QString& text, QWidget* parent) {
    TPanel* panel = named(new TPanel, QString::fromLatin1(name), parent);
    panel->setText(text);
    panel->setColours(Qt::darkGray, Qt::cyan);
    panel->setTextPixels(15);
    return panel;
}

QPushButton* button(const char* name, const QString& text, QStyle::StandardPixmap icon, QWidget* parent,
                    QPoint at) {
    QPushButton* b = named(new QPushButton(text), QString::fromLatin1(name), parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setGeometry(QRect(at, QSize(82, 25)));
    return b;
}

} // namespace

NewPicturesPage::NewPicturesPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    inboxGrid = named(new QFrame, QStringLiteral("GroupBox1"), this);
    inboxGrid->setFrameStyle(QFrame::Box | QFrame::Sunken);
    inboxGrid->setGeometry(201, 0, 534, 486);

    for (int i = 0; i < filing::kGridCells; ++i) {
        const int column = i % 3;
        const int row = i / 3;
        const int wider = column == 1 ? 1 : 0;
        TImage* image = named(new TImage, QStringLiteral("Image%1").arg(i + 1), inboxGrid);
        image->setGeometry(kCellX.at(column), kCellY.at(row), 148 + wider, kImageHeight);
        image->setDragSource(true);
        cellImages.at(size_t(i)) = image;
        TPanel* nameBar = named(new TPanel, QStringLiteral("Panel%1").arg(i + 1), inboxGrid);
        nameBar->setGeometry(kCellX.at(column), kCellY.at(row) + kImageHeight, 149 + wider, kNameBarHeight);
        nameBar->setColours(Qt::gray, Qt::white);
        nameBar->setTextPixels(9);
        nameBar->onDblClick = [this, cell = i + 1] { PanelDblClick(cell); };
        cellNameBars.at(size_t(i)) = nameBar;
        cellClips.at(size_t(i)).Cols = filing::kClipCols;
        cellClips.at(size_t(i)).Rows = filing::kClipRows;
    }

    const QImage folder = folderPicture();
    for (const CategoryTarget& target : kTargets) {
        TImage* box = named(new TImage, QString::fromLatin1(target.name), this);
        box->setGeometry(89, target.y, 107, 74);
        auto picture = std::make_unique<TBitmap>(folder);
        picture->setTransparent(true); // the folder stands on the page, its corners see-through
        box->Picture.setGraphic(std::move(picture));
        box->setOnDragOver([this](QObject* source) { return Image10DragOver(source); });
        box->onDragDrop = [this, box](QObject* source) { Image10DragDrop(box, source); };
        this->*target.box = box;
        TPanel* label = labelPanel(target.labelName, filing::labelOf(target.category), this);
        label->setGeometry(5, target.y + 20, 83, 33);
        this->*target.label = label;
    }

    claimNumberLabel = labelPanel("Panel14", QStringLiteral("เลขรับแจ้ง"), this);
    claimNumberLabel->setGeometry(5, 391, 88, 27);
    claimNumberEdit = named(new QLineEdit, QStringLiteral("Edit1"), this);
    claimNumberEdit->setMaxLength(8);
    claimNumberEdit->setGeometry(98, 394, 97, 21);

    buttonPanel = named(new QFrame, QStringLiteral("Panel15"), this);
    buttonPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    buttonPanel->setGeometry(4, 420, 191, 66);
    nextButton = button("BitBtn2", QStringLiteral("Next"), QStyle::SP_ArrowRight, buttonPanel, {7, 5});
    refreshButton =
        button("BitBtn4", QStringLiteral("Refresh"), QStyle::SP_BrowserReload, buttonPanel, {96, 5});
    transferButton = button("BitBtn3", QStringLiteral("Transfer"), QStyle::SP_ArrowUp, buttonPanel, {7, 33});
    closeButton =
        button("BitBtn1", QStringLiteral("&Close"), QStyle::SP_DialogCloseButton, buttonPanel, {96, 33});
    connect(nextButton, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(refreshButton, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { window()->close(); });

    inboxList.setPatternText(filing::inboxPatternText());
    Hide();
}

NewPicturesPage::~NewPicturesPage() = default;

void NewPicturesPage::Hide() {
    for (int i = 0; i < filing::kGridCells; ++i) {
        cellImages.at(size_t(i))->hide();
        cellNameBars.at(size_t(i))->hide();
    }
}

void NewPicturesPage::Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip) {
    Loadpic(image, nameBar, clip,
            filing::prepareCellPicture(filing::cellPictureRequest(WorkingName, clip, image->size())));
}

void NewPicturesPage::Loadpic(TImage* image, TPanel* nameBar, TPicClip& clip,
                              filing::PreparedCellPicture prepared) {
    filing::applyCellPicture(std::move(prepared), clip, image->Picture);
    nameBar->setText(WorkingName);
    image->show();
    nameBar->show();
}

void NewPicturesPage::FirstFill() {
    PageCells cells(*this);
    filing::firstFill(inboxList, PageOffset, cells);
}

void NewPicturesPage::BitBtn2Click() {
    platform::handleErrors([this] {
        PageCells cells(*this);
        filing::nextPage(inboxList, PageOffset, cells);
    });
}

void NewPicturesPage::BitBtn4Click() {
    platform::handleErrors([this] {
        inboxList.read();
        emit startUpStepsWanted();
    });
}

bool NewPicturesPage::Image10DragOver(QObject* Source) {
    return qobject_cast<TImage*>(Source) != nullptr;
}

void NewPicturesPage::Image10DragDrop(QObject* Sender, QObject* Source) {
    platform::handleErrors([&] {
        const QString refusal = filing::claimNumberRefusal(claimNumberEdit->text());
        if (!refusal.isEmpty()) {
            platform::showMessage(refusal);
            claimNumberEdit->setFocus();
            return;
        }
        QString draggedName;
        for (int i = 0; i < filing::kGridCells; ++i)
            if (cellImages.at(size_t(i)) == Source) draggedName = cellNameBars.at(size_t(i))->text();
        WorkingName = draggedName;
        const std::optional<filing::PictureCategory> category = categoryOf(*this, Sender);
        if (!category) return;
        if (const QString wrongKind = filing::kindRefusal(*category, WorkingName); !wrongKind.isEmpty()) {
            platform::showMessage(wrongKind);
            return;
        }
        for (int i = 0; i < filing::kGridCells; ++i)
            Drop(cellImages.at(size_t(i)), cellNameBars.at(size_t(i)), Source, Sender);
    });
}

void NewPicturesPage::Drop(TImage* image, TPanel* nameBar, QObject* Source, QObject* Target) {
    if (image != Source) return;
    filing::takeFromInbox(inboxList, PageOffset, nameBar->text());
    Batch(image, nameBar, Target);
}

void NewPicturesPage::Batch(TImage* image, TPanel* nameBar, QObject* Target) {
    const std::optional<filing::PictureCategory> category = categoryOf(*this, Target);
    if (!category) return;
    const filing::FilingRequest request{claimNumberEdit->text(), *category, nameBar->text()};
    WorkingName = request.pictureName;
    PagePrompts prompts(image, nameBar);
    const filing::FilingResult result = filing::fileInto(request, claimFolderList, claimSequences, prompts);
    if (!result.temporaryName.isEmpty()) WorkingName = result.temporaryName;
    if (!result.filed) {
        inboxList.read();
        emit startUpStepsWanted();
    }
}

void NewPicturesPage::PanelDblClick(int cell) {
    if (Zoom) Zoom(cellNameBars.at(size_t(cell - 1)));
}
