#include "register/ui/DateBox.h"

#include "register/DateText.h"
#include "register/EntryChecks.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

DateBox::DateBox(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)),
      calendar_(new QCalendarWidget(this)) {
    edit_->setObjectName(QStringLiteral("text"));
    // Digits or spaces in the day, month and year places; the separators stay where they are.
    edit_->setInputMask(QStringLiteral("99/99/9999"));
    edit_->installEventFilter(this);
    button_->setObjectName(QStringLiteral("button"));
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);

    calendar_->setObjectName(QStringLiteral("calendar"));
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setGridVisible(true);
    connect(button_, &QToolButton::clicked, this, [this] {
        emit buttonClicked();
        dropDown();
    });
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate day) {
        calendar_->hide();
        setDate(day);
        edit_->setFocus();
        emit edited();
    });
    connect(calendar_, &QCalendarWidget::activated, calendar_, &QWidget::hide);
    connect(edit_, &QLineEdit::textEdited, this, &DateBox::edited);
}

QString DateBox::text() const {
    return edit_->displayText();
}

void DateBox::setText(const QString& text) {
    if (reg::isBlankDateText(text))
        edit_->clear();
    else
        edit_->setText(text);
}

QDate DateBox::date() const {
    return reg::readDate(reg::parseDateText(text()));
}

void DateBox::setDate(const QDate& date) {
    setText(reg::dateText(date));
}

bool DateBox::isBlank() const {
    return reg::isBlankDateText(text());
}

bool DateBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress && isEnabled() &&
        !static_cast<QKeyEvent*>(event)->text().isEmpty())
        emit keyTyped();
    return QWidget::eventFilter(watched, event);
}

void DateBox::dropDown() {
    const QDate shown = reg::parseDateText(text());
    calendar_->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
    calendar_->setFocus();
}
