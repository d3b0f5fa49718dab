#include "app/ui/RegisterFU.h"

#include "app/Settings.h"
#include "app/ui/PictureU.h"
#include "platform/Files.h"
#include "platform/MessageService.h"
#include "platform/Registry.h"
#include "platform/gui/Modal.h"
#include "platform/gui/WindowPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

TRegisterf::TRegisterf(QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(QStringLiteral("อู่ออนไลน์"), this)), Edit1(new QLineEdit(this)),
      Button1(new QPushButton(QStringLiteral("ลงทะเบียน"), this)) {
    setObjectName(QStringLiteral("Registerf"));
    setWindowTitle(QStringLiteral("บริษัท Qorvane จำกัด"));
    setFixedSize(224, 91);
    // The window's small type: a label, a box and a button in 224 by 91 pixels.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    platform::gui::centreOnDesktop(this);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(19, 23);
    Label1->adjustSize();
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(71, 23, 134, 21);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(77, 58, 75, 25);
    connect(Button1, &QPushButton::clicked, this,
            [this] { platform::handleErrors([this] { Button1Click(); }); });
}

void TRegisterf::Button1Click() {
    platform::Registry registry;
    registry.openKey(settings::Key, false);
    registry.writeString(settings::GarageNameValue, Edit1->text());
    if (!platform::files::folderExists(QStringLiteral("C:\\Picture")))
        platform::files::createFolder(QStringLiteral("C:\\Picture"));
    platform::showMessage(QStringLiteral("ลงทะเบียนเรียบร้อย"));
    auto picture = std::make_unique<TPicture>();
    platform::gui::runModal(picture.get(), this);
    picture.reset();
    close();
}
