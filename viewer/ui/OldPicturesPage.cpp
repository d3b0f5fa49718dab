#include "viewer/ui/OldPicturesPage.h"

#include "filing/CellPicture.h"
#include "filing/PicClip.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
#include "platform/MessageService.h"
#include "viewer/ui/Zoom.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <vector>

namespace {

// Columns and rows of the cells inside their box; the right column is one pixel wider.
constexpr std::array<int, 3> kCellX = {14, 208, 400};
constexpr std::array<int, 3> kCellY = {13, 172, 330};
constexpr int kImageWidth = 176;
constexpr int kImageHeight = 125;
constexpr int kNameBarHeight = 19;

template <typename Widget> Widget* named(Widget* widget, const QString& name, QWidget* parent) {
    widget->setObjectName(name);
    widget->setParent(parent);
    return widget;
}

} // namespace

// The cells as the paging rules see them: a page's pictures are read and decoded together on every
// core, then shown one by one in order; the first that fails stops the page at its cell.
class OldPicturesPage::Cells : public viewer::BrowserView {
public:
    explicit Cells(OldPicturesPage& page) : page_(page) {}

    void hideCells() override {
        for (int i = 0; i < viewer::kBrowserCells; ++i) {
            page_.cellImages.at(i)->hide();
            page_.cellNameBars.at(i)->hide();
        }
    }
    void prepare(const QList<viewer::BrowserEntry>& page) override {
        QList<filing::CellPictureRequest> requests;
        for (const viewer::BrowserEntry& entry : page) {
            filing::CellPictureRequest request;
            request.name = entry.name;
            request.path = entry.path;
            request.cutScans = false;
            request.shownSize = page_.cellImages.at(entry.cell - 1)->size();
            requests.append(request);
        }
        entries_ = page;
        prepared_ = filing::prepareCellPictures(requests);
    }
    void load(const viewer::BrowserEntry& entry) override {
        TImage* image = page_.cellImages.at(entry.cell - 1);
        TPanel* nameBar = page_.cellNameBars.at(entry.cell - 1);
        const qsizetype i = entries_.indexOf(entry);
        filing::PreparedCellPicture prepared;
        if (i >= 0 && prepared_.at(size_t(i)).ready) {
            prepared = std::move(prepared_.at(size_t(i)));
        } else {
            filing::CellPictureRequest request;
            request.name = entry.name;
            request.path = entry.path;
            request.cutScans = false;
            request.shownSize = image->size();
            prepared = filing::prepareCellPicture(request);
        }
        TPicClip unused;
        filing::applyCellPicture(std::move(prepared), unused, image->Picture);
        nameBar->setText(entry.name);
        image->show();
        nameBar->show();
    }
    void setPreviousEnabled(bool enabled) override { page_.previousButton->setEnabled(enabled); }
    void setNextEnabled(bool enabled) override { page_.nextButton->setEnabled(enabled); }
    void clearClaims() override {
        page_.listChangeFromCode_ = true;
        page_.claimList->clear();
        page_.listChangeFromCode_ = false;
    }
    void addClaim(const QString& name) override {
        page_.listChangeFromCode_ = true;
        page_.claimList->addItem(name);
        page_.listChangeFromCode_ = false;
    }

private:
    OldPicturesPage& page_;
    QList<viewer::BrowserEntry> entries_;
    std::vector<filing::PreparedCellPicture> prepared_;
};

OldPicturesPage::OldPicturesPage(QWidget* parent)
    : QWidget(parent), cells_(std::make_unique<Cells>(*this)),
      browser_(std::make_unique<viewer::ClaimBrowser>(*cells_)) {
    setObjectName(QStringLiteral("TabSheet2"));

    claimListPanel = named(new QFrame, QStringLiteral("ClaimListPanel"), this);
    claimListPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    claimListPanel->setGeometry(2, 0, 133, 358);
    oldClaimsLabel =
        named(new QLabel(QStringLiteral("เลขรับแจ้งเก่า")), QStringLiteral("OldClaimsLabel"), claimListPanel);
    oldClaimsLabel->setGeometry(7, 8, 118, 19);
    claimList = named(new QListWidget, QStringLiteral("ListBox2"), claimListPanel);
    claimList->setGeometry(7, 30, 118, 321);

    claimNumberLabel =
        named(new QLabel(QStringLiteral("เลขรับแจ้ง")), QStringLiteral("ClaimNumberLabel"), this);
    claimNumberLabel->move(11, 363);
    claimNumberEdit = named(new QLineEdit, QStringLiteral("Edit6"), this);
    claimNumberEdit->setMaxLength(8);
    claimNumberEdit->setGeometry(11, 386, 114, 21);

    previousButton = named(new QPushButton(QStringLiteral("Prevoius")), QStringLiteral("BitBtn7"), this);
    previousButton->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    previousButton->setGeometry(11, 429, 114, 28);
    nextButton = named(new QPushButton(QStringLiteral("Next")), QStringLiteral("BitBtn8"), this);
    nextButton->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    nextButton->setLayoutDirection(Qt::RightToLeft); // the arrow stands to the right of the text
    nextButton->setGeometry(11, 457, 114, 28);

    picturesBox = named(new QFrame, QStringLiteral("PicturesBox"), this);
    picturesBox->setFrameStyle(QFrame::Box | QFrame::Sunken);
    picturesBox->setGeometry(139, 0, 595, 486);
    const std::array<void (OldPicturesPage::*)(), viewer::kBrowserCells> doubleClicks = {
        &OldPicturesPage::Image12DblClick, &OldPicturesPage::Image13DblClick,
        &OldPicturesPage::Image14DblClick, &OldPicturesPage::Image15DblClick,
        &OldPicturesPage::Image16DblClick, &OldPicturesPage::Image17DblClick,
        &OldPicturesPage::Image18DblClick, &OldPicturesPage::Image19DblClick,
        &OldPicturesPage::Image20DblClick};
    for (int i = 0; i < viewer::kBrowserCells; ++i) {
        const int column = i % 3;
        const int row = i / 3;
        const int width = kImageWidth + (column == 2 ? 1 : 0);
        TImage* image = named(new TImage, QStringLiteral("Image%1").arg(12 + i), picturesBox);
        image->setGeometry(kCellX.at(column), kCellY.at(row), width, kImageHeight);
        image->onDblClick = [this, handler = doubleClicks.at(i)] { (this->*handler)(); };
        TPanel* nameBar = named(new TPanel, QStringLiteral("Panel%1").arg(16 + i), picturesBox);
        nameBar->setGeometry(kCellX.at(column), kCellY.at(row) + kImageHeight, width, kNameBarHeight);
        nameBar->setColours(Qt::gray, Qt::white);
        nameBar->setTextPixels(9);
        nameBar->onDblClick = [this, handler = doubleClicks.at(i)] { (this->*handler)(); };
        cellImages.at(i) = image;
        cellNameBars.at(i) = nameBar;
    }

    // A choice moved by the mouse or the keyboard is taken when it moves; a click on the claim already
    // chosen opens it again.
    connect(claimList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (listChangeFromCode_ || row < 0) return;
        ListBox2Click();
    });
    claimList->viewport()->installEventFilter(this);
    connect(claimList, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (pressedCurrent_) ListBox2Click();
        pressedCurrent_ = false;
    });
    connect(claimNumberEdit, &QLineEdit::textChanged, this, [this] { Edit6Change(); });
    connect(previousButton, &QPushButton::clicked, this, [this] { BitBtn7Click(); });
    connect(nextButton, &QPushButton::clicked, this, [this] { BitBtn8Click(); });

    PageHide();
}

OldPicturesPage::~OldPicturesPage() = default;

void OldPicturesPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the task bar shows its page again without the page being chosen.
    if (!event->spontaneous()) TabSheet2Show();
}

void OldPicturesPage::TabSheet2Show() {
    platform::handleErrors([this] { browser_->pageShown(); });
}

void OldPicturesPage::ListBox2Click() {
    QListWidgetItem* chosen = claimList->currentItem();
    if (!chosen) return;
    const QString claim = chosen->text();
    platform::handleErrors([this, claim] { browser_->claimChosen(claim); });
}

void OldPicturesPage::Edit6Change() {
    const QString text = claimNumberEdit->text();
    platform::handleErrors([this, text] { browser_->numberTyped(text); });
}

void OldPicturesPage::BitBtn7Click() {
    platform::handleErrors([this] { browser_->previous(); });
}

void OldPicturesPage::BitBtn8Click() {
    platform::handleErrors([this] { browser_->next(); });
}

void OldPicturesPage::PageShow() {
    browser_->pageShow();
}

void OldPicturesPage::PageHide() {
    browser_->pageHide();
}

bool OldPicturesPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == claimList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const int row = claimList->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).row();
        pressedCurrent_ = row >= 0 && row == claimList->currentRow();
    }
    return QWidget::eventFilter(watched, event);
}

void OldPicturesPage::Image12DblClick() {
    Zoom2(cellNameBars.at(0));
}
void OldPicturesPage::Image13DblClick() {
    Zoom2(cellNameBars.at(1));
}
void OldPicturesPage::Image14DblClick() {
    Zoom2(cellNameBars.at(2));
}
void OldPicturesPage::Image15DblClick() {
    Zoom2(cellNameBars.at(3));
}
void OldPicturesPage::Image16DblClick() {
    Zoom2(cellNameBars.at(4));
}
void OldPicturesPage::Image17DblClick() {
    Zoom2(cellNameBars.at(5));
}
void OldPicturesPage::Image18DblClick() {
    Zoom2(cellNameBars.at(6));
}
void OldPicturesPage::Image19DblClick() {
    Zoom2(cellNameBars.at(7));
}
void OldPicturesPage::Image20DblClick() {
    Zoom2(cellNameBars.at(8));
}

void OldPicturesPage::Zoom2(TPanel* nameBar) {
    if (!nameBar) return;
    previewPicture(browser_->pathOf(nameBar->text()), nameBar->text());
}
