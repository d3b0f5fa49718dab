#pragma once

#include <QDate>
#include <QString>

// Dates as the register's date boxes show them and read what is typed: dd/mm/yyyy.
namespace reg {

// What a date box holds when it is blank.
inline const QString BlankDateText = QStringLiteral("  /  /  ");

// "dd/mm/yyyy"; a null date gives the blank text.
QString dateText(const QDate& date);
// True when the text holds no digit: only separators and spaces (the blank text, an empty text).
bool isBlankDateText(const QString& text);
// The date a text reads as: day, month and four-digit year separated by "/", spaces around each part
// allowed. Null when blank or unreadable (no such day, a year of other than four digits, other
// characters).
QDate parseDateText(const QString& text);

} // namespace reg
