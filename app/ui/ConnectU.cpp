#include "app/ui/ConnectU.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TConnect::TConnect(QWidget* parent)
    : QWidget(parent, Qt::Window), Label1(new QLabel(this)),
      Button1(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("Connect"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Button1);
    connect(Button1, &QPushButton::clicked, this, &QWidget::close);
}
