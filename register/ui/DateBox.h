#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date box: a text box that shows and takes dates as dd/mm/yyyy, with a button that drops a calendar
// down. Blank is a state of its own (its text is then "  /  /  "); a blank or unreadable text reads as
// 30 December 1899.
class DateBox : public QWidget {
    Q_OBJECT

public:
    explicit DateBox(QWidget* parent = nullptr);

    QString text() const;
    // A text that holds no digit (such as "  /  /  ") makes the box blank.
    void setText(const QString& text);
    // The date the box reads as: 30 December 1899 when blank or unreadable.
    QDate date() const;
    // A null date makes the box blank.
    void setDate(const QDate& date);
    bool isBlank() const;

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* dropDownButton() const { return button_; }
    // The drop-down calendar; visible while it is dropped down.
    QCalendarWidget* calendar() const { return calendar_; }

signals:
    // Every key typed into the box, before the box takes it.
    void keyTyped();
    // Every press of the calendar button, before the calendar drops down.
    void buttonClicked();
    // The user changed the date, by typing or in the calendar.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dropDown();

    QLineEdit* edit_;
    QToolButton* button_;
    QCalendarWidget* calendar_;
};
