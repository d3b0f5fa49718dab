#pragma once

#include <QDate>
#include <QString>

// Values the whole program shares, set by the main window's start-up steps.
namespace program {

// dd/mm/yyyy: the form in which dates are shown and typed once the main window has started.
inline const QString DayMonthYear = QStringLiteral("dd/MM/yyyy");

// The short date format in use (in QDate's notation); the user's locale's until it is set.
QString shortDateFormat();
void setShortDateFormat(const QString& format);
QString formatShortDate(const QDate& date);

// The registered garage name, as last read from the settings; empty until read.
QString garageName();
void setGarageName(const QString& name);

} // namespace program
