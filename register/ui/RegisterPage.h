#pragma once

#include "register/EntryChecks.h"
#include "register/RegisterAccess.h"
#include "register/SearchStatement.h"

#include <QDate>
#include <QWidget>
#include <optional>

class DateBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class RegisterGridModel;

// The outstanding-cars page: the title line, the entry panel over one pending entry, and the search
// panel with its result grid. The handlers read the controls and leave the rules to the register
// library.
class RegisterPage : public QWidget {
    Q_OBJECT

public:
    explicit RegisterPage(reg::RegisterAccess& tables, QWidget* parent = nullptr);
    ~RegisterPage() override;

    // The title line names `today`, and the search date box is set to it.
    void setDay(const QDate& today);
    // Fills the status list from the status table again.
    void refreshStatusList();
    // The day Save stamps and checks against; today's date unless a test sets one.
    void setClock(std::function<QDate()> today) { today_ = std::move(today); }

    bool entryPending() const { return pending_.has_value(); }
    // The search mode of the checked radio button.
    reg::SearchMode searchMode() const;

    QLabel* titleLine;

    // The entry panel, in tab order.
    QFrame* entryPanel;
    QLineEdit* claimNumberEdit; // DBEdit1, Claimno
    DateBox* garageDateEdit;    // DBDateEdit2, GarageDate
    QLineEdit* brandEdit;       // DBEdit2, Brand
    QLineEdit* regnoEdit;       // DBEdit3, Regno
    QLineEdit* garageEdit;      // DBEdit4, Garage
    QComboBox* statusList;      // DBLookupComboBox1, Status
    QPushButton* createButton;  // BitBtn5
    QPushButton* saveButton;    // BitBtn6

    // The search panel.
    QFrame* searchPanel;
    QLabel* searchLabel;
    QRadioButton* unfinishedMode; // C0
    QRadioButton* dayMode;        // C1
    DateBox* searchDateEdit;      // DateEdit1
    QRadioButton* claimMode;      // C2
    QLineEdit* searchClaimEdit;   // Edit2
    QPushButton* searchButton;    // BitBtn9
    QTableView* resultGrid;       // DBGrid1
    RegisterGridModel* resultModel;

    void BitBtn5Click();
    void BitBtn6Click();
    void DBGrid1DblClick();
    void C0Click();
    void C1Click();
    void C2Click();
    void Edit2KeyPress();
    void DateEdit1KeyPress();
    void DateEdit1ButtonClick();
    void BitBtn9Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The values of the pending entry that the boxes do not show, and what it held when it started.
    struct PendingEntry {
        QDate vorlexDate;
        QString status; // the row's Status: the chosen name cut to the field
        QStringList startValues;
    };

    void buildEntryPanel();
    void buildSearchPanel();
    void startEntry(const reg::RegisterRow* followUp);
    // Save: false when a check failed (its message shown, the focus on its control) or storing failed.
    bool save();
    bool pendingEntryChanged() const;
    QStringList boxValues() const;
    void setBoxesEnabled(bool enabled);
    void clearBoxes();
    void chooseStatus(int index);
    void showSearchResult();
    QWidget* controlOf(reg::EntryControl control) const;

    reg::RegisterAccess& tables_;
    std::function<QDate()> today_;
    std::optional<PendingEntry> pending_;
    QStringList statusNames_;
};
