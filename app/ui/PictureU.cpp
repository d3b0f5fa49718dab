#include "app/ui/PictureU.h"

#include "app/ProgramState.h"
#include "app/Settings.h"
#include "app/WorkingFolders.h"
#include "filing/ui/NewPicturesPage.h"
#include "platform/MessageService.h"
#include "platform/gui/WindowPlacement.h"
#include "register/ui/RegisterPage.h"
#include "transfer/RegisterRows.h"
#include "transfer/ui/TransferWindows.h"
#include "viewer/ui/OldPicturesPage.h"
#include "viewer/ui/Zoom.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TPicture::TPicture(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      pageControl(new QTabWidget(this)), newPicturesPage(new NewPicturesPage),
      oldPicturesPage(new OldPicturesPage), registerPage(new RegisterPage(registerAccess)) {
    setObjectName(QStringLiteral("Picture"));
    setWindowTitle(QStringLiteral("บริษัท Qorvane จำกัด"));
    platform::gui::placeByFrame(this, QPoint(-4, -4), QSize(808, 580));

    pageControl->setObjectName(QStringLiteral("PageControl1"));
    pageControl->addTab(newPicturesPage, QStringLiteral("รูปภาพใหม่"));
    pageControl->addTab(oldPicturesPage, QStringLiteral("รูปภาพเก่า"));
    pageControl->addTab(registerPage, QStringLiteral("รายงานรถยนต์ค้าง"));
    pageControl->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pageControl);
    connect(newPicturesPage, &NewPicturesPage::startUpStepsWanted, this, &TPicture::FormCreate);
    newPicturesPage->Zoom = [](TPanel* nameBar) { ::Zoom(nameBar); };
    connect(newPicturesPage->transferButton, &QPushButton::clicked, this, &TPicture::BitBtn3Click);

    FormCreate();
}

TPicture::~TPicture() = default;

void TPicture::FormCreate() {
    platform::handleErrors([this] {
        program::setShortDateFormat(program::DayMonthYear);
        openRegister();
        folders::createWorkingFolders();
        program::setGarageName(settings::readGarageName());
        newPicturesPage->FirstFill();
    });
}

void TPicture::BitBtn3Click() {
    platform::handleErrors([this] {
        transfer::RegisterRows rows(registerTables);
        transfer::ui::runWithWindows(rows);
    });
}

void TPicture::openRegister() {
    registerTables.VorlexT.open();
    registerTables.Vorlex2T.close();
    registerTables.VorlexQ.close();
    registerTables.VorlexQ2.close();
    registerTables.VorlexQ3.close();
    registerPage->refreshStatusList();
    const QStringList imported = registerTables.takeImportReport();
    if (!imported.isEmpty()) platform::showMessage(imported.join(QLatin1Char('\n')));
    registerPage->setDay(QDate::currentDate());
}
