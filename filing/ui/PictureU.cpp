#include "filing/ui/PictureU.h"

#include "app/ProgramState.h"
#include "app/Settings.h"
#include "app/WorkingFolders.h"
#include "platform/MessageService.h"
#include "platform/gui/WindowPlacement.h"

#include <QTabWidget>
#include <QVBoxLayout>

TPicture::TPicture(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      PageControl1(new QTabWidget(this)), TabSheet1(new QWidget), TabSheet2(new QWidget),
      TabSheet3(new QWidget) {
    setObjectName(QStringLiteral("Picture"));
    setWindowTitle(QStringLiteral("บริษัท Qorvane จำกัด"));
    platform::gui::placeByFrame(this, QPoint(-4, -4), QSize(808, 580));

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("รูปภาพใหม่"));
    PageControl1->addTab(TabSheet2, QStringLiteral("รูปภาพเก่า"));
    PageControl1->addTab(TabSheet3, QStringLiteral("รายงานรถยนต์ค้าง"));
    PageControl1->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
    CreateNewPicturesPage();

    FormCreate();
}

TPicture::~TPicture() = default;

void TPicture::FormCreate() {
    platform::handleErrors([this] {
        program::setShortDateFormat(program::DayMonthYear);
        // Opening the register table and setting the register page's title line and search date belong
        // here, before the working folders; the register page is not part of this window yet.
        folders::createWorkingFolders();
        program::setGarageName(settings::readGarageName());
        FirstFill();
    });
}
