#pragma once

#include <QDate>
#include <QStringList>

namespace reg {

// The register search's three modes, one per radio button.
enum class SearchMode { Unfinished, Day, Claim };

// The finished status: a claim with any row carrying it is no longer listed as unfinished.
inline const QString FinishedStatus = QStringLiteral("ซ่อมเสร็จ");

// A claim number as a string literal of the statement: between single quotes, a quote inside doubled.
QString quotedLiteral(const QString& text);
// "(" + each claim as a literal, separated by "," + ")": ('12345678','87654321').
QString notInList(const QStringList& claims);

// The lines of the search statement of each mode. The unfinished-cars statement leaves out the given
// finished claims; without any it selects every row. The day and claim statements take parameter 0.
QStringList unfinishedStatement(const QStringList& finishedClaims);
QStringList dayStatement();
QStringList claimStatement();

// The register page's title line for the given day: "รายงานรถยนต์คงค้างประจำวันที่ " and the date as
// two-digit day, the month's full name in the locale and the four-digit year.
QString titleLine(const QDate& today, const QLocale& locale);

} // namespace reg
