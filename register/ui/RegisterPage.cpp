#include "register/ui/RegisterPage.h"

#include "platform/Error.h"
#include "platform/MessageService.h"
#include "register/DateText.h"
#include "register/EntryFlow.h"
#include "register/EntryMessages.h"
#include "register/GridColumns.h"
#include "register/ui/DateBox.h"
#include "register/ui/RegisterGridModel.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// "the register table Vorlex.DB is not open; the entry cannot start"
const QString EntryTableClosed = QStringLiteral("ตาราง Vorlex.DB ไม่ได้เปิดอยู่ จึงเริ่มการบันทึกไม่ได้");

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

RegisterPage::RegisterPage(reg::RegisterAccess& tables, QWidget* parent)
    : QWidget(parent), titleLine(named(new QLabel, "TitleLine")), entryPanel(named(new QFrame, "EntryPanel")),
      claimNumberEdit(named(new QLineEdit, "DBEdit1")), garageDateEdit(named(new DateBox, "DBDateEdit2")),
      brandEdit(named(new QLineEdit, "DBEdit2")), regnoEdit(named(new QLineEdit, "DBEdit3")),
      garageEdit(named(new QLineEdit, "DBEdit4")), statusList(named(new QComboBox, "DBLookupComboBox1")),
      createButton(named(new QPushButton(QStringLiteral("สร้าง")), "BitBtn5")),
      saveButton(named(new QPushButton(QStringLiteral("บันทึก")), "BitBtn6")),
      searchPanel(named(new QFrame, "SearchPanel")),
      searchLabel(named(new QLabel(QStringLiteral("การค้นหา")), "SearchLabel")),
      unfinishedMode(named(new QRadioButton(QStringLiteral("รถที่ยังซ่อมไม่เสร็จ")), "C0")),
      dayMode(named(new QRadioButton(QStringLiteral("รายงานวันที่")), "C1")),
      searchDateEdit(named(new DateBox, "DateEdit1")),
      claimMode(named(new QRadioButton(QStringLiteral("เลขรับแจ้ง")), "C2")),
      searchClaimEdit(named(new QLineEdit, "Edit2")),
      searchButton(named(new QPushButton(QStringLiteral("ค้นหา")), "BitBtn9")),
      resultGrid(named(new QTableView, "DBGrid1")), resultModel(new RegisterGridModel(this)), tables_(tables),
      today_([] { return QDate::currentDate(); }) {
    setObjectName(QStringLiteral("TabSheet3"));

    QFont titleFont = titleLine->font();
    titleFont.setBold(true);
    titleFont.setUnderline(true);
    if (titleFont.pointSizeF() > 0) titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleLine->setFont(titleFont);
    titleLine->setAlignment(Qt::AlignCenter);

    buildEntryPanel();
    buildSearchPanel();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(titleLine);
    layout->addWidget(entryPanel);
    layout->addWidget(searchPanel);
    layout->addWidget(resultGrid, 1);

    // The grid follows the search query, also when the transfer run opens or closes it.
    QPointer<RegisterPage> self(this);
    tables_.onSearchChanged([self] {
        if (self) self->showSearchResult();
    });
}

RegisterPage::~RegisterPage() = default;

void RegisterPage::buildEntryPanel() {
    entryPanel->setFrameShape(QFrame::StyledPanel);
    claimNumberEdit->setMaxLength(reg::field::ClaimnoSize);
    brandEdit->setMaxLength(reg::field::BrandSize);
    regnoEdit->setMaxLength(reg::field::RegnoSize);
    garageEdit->setMaxLength(reg::field::GarageSize);
    claimNumberEdit->setFixedWidth(90);
    garageDateEdit->setFixedWidth(110);
    brandEdit->setFixedWidth(170);
    regnoEdit->setFixedWidth(100);
    garageEdit->setFixedWidth(230);
    statusList->setMinimumWidth(230);
    statusList->setMaxVisibleItems(9);
    statusList->setCurrentIndex(-1);
    saveButton->setEnabled(false);
    for (QPushButton* button : {createButton, saveButton})
        button->setMinimumWidth(100);

    auto* grid = new QGridLayout(entryPanel);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(10);
    grid->addWidget(caption(QStringLiteral("เลขรับแจ้ง"), claimNumberEdit), 0, 0);
    grid->addWidget(claimNumberEdit, 0, 1);
    grid->addWidget(caption(QStringLiteral("วันที่รถเข้าอู่"), garageDateEdit), 0, 2);
    grid->addWidget(garageDateEdit, 0, 3);
    grid->addWidget(caption(QStringLiteral("ยี่ห้อรถ"), brandEdit), 1, 0);
    grid->addWidget(brandEdit, 1, 1);
    grid->addWidget(caption(QStringLiteral("เลขทะเบียน"), regnoEdit), 1, 2);
    grid->addWidget(regnoEdit, 1, 3);
    grid->addWidget(caption(QStringLiteral("ชื่ออู่/สน."), garageEdit), 2, 0);
    grid->addWidget(garageEdit, 2, 1);
    grid->addWidget(caption(QStringLiteral("สถานะการซ่อม"), statusList), 2, 2);
    grid->addWidget(statusList, 2, 3);
    grid->addWidget(createButton, 0, 5);
    grid->addWidget(saveButton, 1, 5);
    grid->setColumnStretch(4, 1);

    QWidget* order[] = {claimNumberEdit, garageDateEdit, brandEdit,    regnoEdit,
                        garageEdit,      statusList,     createButton, saveButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // While no entry is pending, what is typed into a box is not kept: it goes when the box loses focus.
    for (QWidget* box :
         {static_cast<QWidget*>(claimNumberEdit), static_cast<QWidget*>(garageDateEdit->lineEdit()),
          static_cast<QWidget*>(brandEdit), static_cast<QWidget*>(regnoEdit),
          static_cast<QWidget*>(garageEdit), static_cast<QWidget*>(statusList)})
        box->installEventFilter(this);

    connect(createButton, &QPushButton::clicked, this, &RegisterPage::BitBtn5Click);
    connect(saveButton, &QPushButton::clicked, this, &RegisterPage::BitBtn6Click);
    connect(statusList, &QComboBox::activated, this, &RegisterPage::chooseStatus);
}

void RegisterPage::buildSearchPanel() {
    searchPanel->setFrameShape(QFrame::StyledPanel);
    unfinishedMode->setChecked(true);
    searchClaimEdit->setMaxLength(reg::field::ClaimnoSize);
    searchClaimEdit->setFixedWidth(90);
    searchDateEdit->setFixedWidth(110);
    searchButton->setMinimumWidth(100);
    QFont bold = searchLabel->font();
    bold.setBold(true);
    searchLabel->setFont(bold);

    auto* row = new QHBoxLayout(searchPanel);
    row->setContentsMargins(12, 6, 12, 6);
    row->addWidget(searchLabel);
    row->addSpacing(12);
    row->addWidget(unfinishedMode);
    row->addSpacing(12);
    row->addWidget(dayMode);
    row->addWidget(searchDateEdit);
    row->addSpacing(12);
    row->addWidget(claimMode);
    row->addWidget(searchClaimEdit);
    row->addStretch(1);
    row->addWidget(searchButton);

    resultGrid->setModel(resultModel);
    resultGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    resultGrid->setFocusPolicy(Qt::ClickFocus);
    resultGrid->setTabKeyNavigation(false);
    resultGrid->setShowGrid(true);
    resultGrid->setWordWrap(false);
    // The selected row stays marked when the grid does not have the focus.
    QPalette palette = resultGrid->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    resultGrid->setPalette(palette);
    QHeaderView* titles = resultGrid->horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setHighlightSections(false);
    for (int column = 0; column < reg::gridColumns().size(); ++column)
        resultGrid->setColumnWidth(column, reg::gridColumns().at(column).width);
    QHeaderView* indicator = resultGrid->verticalHeader();
    indicator->setVisible(true);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(resultGrid->fontMetrics().height() + 6);
    indicator->setFixedWidth(14);
    indicator->setHighlightSections(false);
    connect(resultGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                resultModel->setIndicatorRow(current.isValid() ? current.row() : -1);
            });
    connect(resultGrid, &QTableView::doubleClicked, this, &RegisterPage::DBGrid1DblClick);

    connect(unfinishedMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) C0Click();
    });
    connect(dayMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) C1Click();
    });
    connect(claimMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on) C2Click();
    });
    searchClaimEdit->installEventFilter(this);
    connect(searchDateEdit, &DateBox::keyTyped, this, &RegisterPage::DateEdit1KeyPress);
    connect(searchDateEdit, &DateBox::buttonClicked, this, &RegisterPage::DateEdit1ButtonClick);
    connect(searchButton, &QPushButton::clicked, this, &RegisterPage::BitBtn9Click);
}

void RegisterPage::setDay(const QDate& today) {
    titleLine->setText(reg::titleLine(today, QLocale()));
    searchDateEdit->setDate(today);
}

void RegisterPage::refreshStatusList() {
    statusNames_ = tables_.statusNames();
    statusList->clear();
    statusList->addItems(statusNames_);
    statusList->setCurrentIndex(pending_ ? statusList->findText(pending_->status, Qt::MatchExactly) : -1);
}

reg::SearchMode RegisterPage::searchMode() const {
    if (dayMode->isChecked()) return reg::SearchMode::Day;
    if (claimMode->isChecked()) return reg::SearchMode::Claim;
    return reg::SearchMode::Unfinished;
}

bool RegisterPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchClaimEdit && event->type() == QEvent::KeyPress && searchClaimEdit->isEnabled() &&
        !static_cast<QKeyEvent*>(event)->text().isEmpty())
        Edit2KeyPress();
    if (event->type() == QEvent::FocusOut && !pending_) {
        if (watched == statusList)
            statusList->setCurrentIndex(-1);
        else if (watched == garageDateEdit->lineEdit())
            garageDateEdit->setText(reg::BlankDateText);
        else if (auto* box = qobject_cast<QLineEdit*>(watched); box && box != searchClaimEdit)
            box->clear();
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* RegisterPage::controlOf(reg::EntryControl control) const {
    switch (control) {
    case reg::EntryControl::ClaimNumber:
        return claimNumberEdit;
    case reg::EntryControl::GarageDate:
        return garageDateEdit;
    case reg::EntryControl::Brand:
        return brandEdit;
    case reg::EntryControl::Regno:
        return regnoEdit;
    case reg::EntryControl::Garage:
        return garageEdit;
    case reg::EntryControl::Status:
        return statusList;
    }
    return claimNumberEdit;
}

QStringList RegisterPage::boxValues() const {
    return {claimNumberEdit->text(), garageDateEdit->text(), brandEdit->text(),
            regnoEdit->text(),       garageEdit->text(),     pending_ ? pending_->status : QString()};
}

bool RegisterPage::pendingEntryChanged() const {
    return pending_ && boxValues() != pending_->startValues;
}

void RegisterPage::setBoxesEnabled(bool enabled) {
    for (QWidget* box : {static_cast<QWidget*>(claimNumberEdit), static_cast<QWidget*>(brandEdit),
                         static_cast<QWidget*>(regnoEdit), static_cast<QWidget*>(garageEdit),
                         static_cast<QWidget*>(garageDateEdit)})
        box->setEnabled(enabled);
}

void RegisterPage::clearBoxes() {
    for (QLineEdit* box : {claimNumberEdit, brandEdit, regnoEdit, garageEdit})
        box->clear();
    garageDateEdit->setText(reg::BlankDateText);
    statusList->setCurrentIndex(-1);
}

void RegisterPage::chooseStatus(int index) {
    if (!pending_) {
        statusList->setCurrentIndex(-1);
        return;
    }
    pending_->status = reg::cutToField(statusList->itemText(index), reg::field::StatusSize);
    // A name longer than the field is kept cut; the list has no status of that name and shows none.
    statusList->setCurrentIndex(statusList->findText(pending_->status, Qt::MatchExactly));
}

void RegisterPage::startEntry(const reg::RegisterRow* followUp) {
    if (!tables_.entryTableOpen()) throw platform::Error(EntryTableClosed);
    refreshStatusList();
    pending_ = PendingEntry{};
    clearBoxes();
    if (followUp) {
        claimNumberEdit->setText(followUp->claimno);
        pending_->vorlexDate = reg::readDate(followUp->vorlexDate);
        garageDateEdit->setDate(reg::readDate(followUp->garageDate));
        brandEdit->setText(followUp->brand);
        regnoEdit->setText(followUp->regno);
        garageEdit->setText(followUp->garage);
    }
    pending_->startValues = boxValues();
    createButton->setEnabled(false);
    saveButton->setEnabled(true);
    if (followUp) {
        setBoxesEnabled(false);
        statusList->setFocus();
    } else {
        claimNumberEdit->setFocus();
    }
}

bool RegisterPage::save() {
    if (!pending_) return false;
    const reg::EntryInput input{claimNumberEdit->text(), garageDateEdit->date(), brandEdit->text(),
                                regnoEdit->text(),       garageEdit->text(),     statusList->currentText()};
    const reg::SaveOutcome outcome = reg::saveEntry(tables_, input, pending_->vorlexDate, today_());
    if (outcome.failure) {
        platform::messageDlg(outcome.failure->message, platform::BoxKind::Error, {platform::BoxButton::Ok},
                             platform::BoxButton::Ok);
        // A follow-up entry keeps its copied boxes disabled; one that fails its check opens for the fix.
        QWidget* control = controlOf(outcome.failure->focus);
        control->setEnabled(true);
        control->setFocus();
        return false;
    }
    pending_.reset();
    clearBoxes();
    createButton->setEnabled(true);
    saveButton->setEnabled(false);
    platform::messageDlg(reg::messages::SaveComplete, platform::BoxKind::Confirm, {platform::BoxButton::Ok},
                         platform::BoxButton::Ok);
    setBoxesEnabled(true);
    reg::runSearch(tables_, searchMode(), searchDateEdit->date(), searchClaimEdit->text());
    return true;
}

void RegisterPage::BitBtn5Click() {
    platform::handleErrors([this] { startEntry(nullptr); });
}

void RegisterPage::BitBtn6Click() {
    platform::handleErrors([this] { save(); });
}

void RegisterPage::DBGrid1DblClick() {
    platform::handleErrors([this] {
        // An empty grid has no row to follow up: nothing starts.
        const int row = resultGrid->currentIndex().row();
        if (!resultGrid->isEnabled() || row < 0 || row >= resultModel->rows().size()) return;
        const reg::RegisterRow chosen = resultModel->rows().at(row);
        if (pending_) {
            if (pendingEntryChanged()) {
                // The changed entry is settled through Save; the follow-up starts only once it is stored,
                // and only while the refreshed list still shows the chosen row.
                if (!save()) return;
                const int again = resultModel->rows().indexOf(chosen);
                if (again < 0) return;
                resultGrid->setCurrentIndex(resultModel->index(again, 0));
            } else {
                pending_.reset();
            }
        }
        startEntry(&chosen);
    });
}

void RegisterPage::C0Click() {
    resultGrid->setEnabled(true);
}

void RegisterPage::C1Click() {
    resultGrid->setEnabled(false);
}

void RegisterPage::C2Click() {
    resultGrid->setEnabled(false);
}

void RegisterPage::Edit2KeyPress() {
    claimMode->setChecked(true);
    searchDateEdit->setText(reg::BlankDateText);
}

void RegisterPage::DateEdit1KeyPress() {
    dayMode->setChecked(true);
    searchClaimEdit->clear();
}

void RegisterPage::DateEdit1ButtonClick() {
    DateEdit1KeyPress();
}

void RegisterPage::BitBtn9Click() {
    platform::handleErrors(
        [this] { reg::runSearch(tables_, searchMode(), searchDateEdit->date(), searchClaimEdit->text()); });
}

void RegisterPage::showSearchResult() {
    resultModel->setRows(tables_.searchRows());
    if (!resultModel->rows().isEmpty()) resultGrid->setCurrentIndex(resultModel->index(0, 0));
}
