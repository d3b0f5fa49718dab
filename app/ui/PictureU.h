#pragma once

#include "register/RegisterTables.h"
#include "register/TablesAccess.h"

#include <QWidget>

class NewPicturesPage;
class OldPicturesPage;
class QTabWidget;
class RegisterPage;

// The main window (objectName Picture): one page control with the new-pictures, old-pictures and
// outstanding-cars pages. Its start-up steps run when it is created and again whenever the new-pictures
// page asks for them.
class TPicture : public QWidget {
    Q_OBJECT

public:
    explicit TPicture(QWidget* parent = nullptr);
    ~TPicture() override;

    // The start-up steps, in order: the short date format; the register's table and page; the working
    // folders; GarageName from the settings; the first page of the inbox. An error ends the steps where
    // it happens and is shown in the standard error box; the window stays usable.
    void FormCreate();
    // The Transfer button: the whole transfer run with its windows and its closing box.
    void BitBtn3Click();

    // The data-access objects over the register's tables: entry and search on the register page, the
    // export in the transfer run.
    reg::RegisterTables registerTables;
    reg::TablesAccess registerAccess{registerTables};

    QTabWidget* pageControl;          // PageControl1
    NewPicturesPage* newPicturesPage; // TabSheet1, "รูปภาพใหม่"
    OldPicturesPage* oldPicturesPage; // TabSheet2, "รูปภาพเก่า"
    RegisterPage* registerPage;       // TabSheet3, "รายงานรถยนต์ค้าง"

private:
    // A page with nothing on it yet, carrying its sheet's objectName.
    // Opens the register table VorlexT (and the status list) and closes Vorlex2T, VorlexQ, VorlexQ2 and
    // VorlexQ3; sets the register page's title line and its search date DateEdit1 to today. A table that
    // cannot be opened throws the engine's error, which ends the start-up steps before the working
    // folders are made. What was imported from tables of the earlier system is shown in a plain box.
    void openRegister();
};
