#include "transfer/ui/LoginU.h"

#include "platform/MessageService.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TLogin::TLogin(QWidget* parent)
    : QDialog(parent), userLabel(new QLabel(QString::fromUtf8("ชื่อผู้ใช้"), this)),
      userEdit(new QLineEdit(transfer::DefaultUser, this)),
      passwordLabel(new QLabel(QString::fromUtf8("รหัสผ่าน"), this)),
      passwordEdit(new QLineEdit(transfer::DefaultPassword, this)),
      okButton(new QPushButton(QStringLiteral("OK"), this)),
      cancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QString::fromUtf8("เข้าสู่ออนไลน์ บริษัทQorvaneจำกัด"));
    userLabel->setObjectName(QStringLiteral("Label1"));
    userEdit->setObjectName(QStringLiteral("Edit1"));
    passwordLabel->setObjectName(QStringLiteral("Label2"));
    passwordEdit->setObjectName(QStringLiteral("Edit2"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    okButton->setObjectName(QStringLiteral("BitBtn1"));
    okButton->setDefault(true);
    cancelButton->setObjectName(QStringLiteral("BitBtn2"));
    userLabel->setBuddy(userEdit);
    passwordLabel->setBuddy(passwordEdit);
    auto* layout = new QGridLayout(this);
    layout->addWidget(userLabel, 0, 0);
    layout->addWidget(userEdit, 0, 1, 1, 2);
    layout->addWidget(passwordLabel, 1, 0);
    layout->addWidget(passwordEdit, 1, 1, 1, 2);
    layout->addWidget(okButton, 2, 1);
    layout->addWidget(cancelButton, 2, 2);
    connect(okButton, &QPushButton::clicked, this,
            [this] { platform::handleErrors([this] { BitBtn1Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, &TLogin::BitBtn2Click);
}

transfer::UploadSettings TLogin::withCredentials(transfer::UploadSettings s) const {
    s.user = userEdit->text();
    s.password = passwordEdit->text();
    return s;
}

void TLogin::BitBtn1Click() {
    if (onUpload) onUpload();
}

void TLogin::BitBtn2Click() {
    close();
}
