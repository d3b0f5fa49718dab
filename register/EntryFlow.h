#pragma once

#include "register/EntryChecks.h"
#include "register/RegisterAccess.h"
#include "register/SearchStatement.h"

#include <optional>

namespace reg {

// Save: the checks in order; when they pass, Seq one more than the claim's largest, ReportDate
// today, Send false, and the row stored (on disk on return). VorlexDate is carried from the entry.
struct SaveOutcome {
    std::optional<CheckFailure> failure; // the failing check; nothing was stored
    RegisterRow stored;                  // the row as stored, when every check passed
};
SaveOutcome saveEntry(RegisterAccess& tables, const EntryInput& input, const QDate& vorlexDate,
                      const QDate& today);

// The search of one mode: the unfinished cars (all rows of claims without a finished row), the reports
// saved on `day`, or the reports of claim number `claim` (matched in full).
void runSearch(RegisterAccess& tables, SearchMode mode, const QDate& day, const QString& claim);

// The text the status list shows once `name` is chosen: the name cut to the register's Status field,
// when the list holds a status of that name; otherwise nothing.
QString chosenStatusText(const QStringList& statusNames, const QString& name);

} // namespace reg
