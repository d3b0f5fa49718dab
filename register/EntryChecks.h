#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "register/RegisterRow.h"

namespace reg {

// A date as the entry panel reads it: a null date (blank or unreadable) is day zero.
inline QDate readDate(const QDate& date) {
    return date.isValid() ? date : dayZero();
}

// The entry panel's controls that Save's checks can send the focus to.
enum class EntryControl { ClaimNumber, GarageDate, Brand, Regno, Garage, Status };

// What the entry panel's boxes hold when Save is pressed. A null garage date is a blank or unreadable
// date box.
struct EntryInput {
    QString claimNumber;
    QDate garageDate;
    QString brand;
    QString regno;
    QString garage;
    QString status;
};

struct CheckFailure {
    QString message;
    EntryControl focus;
    bool operator==(const CheckFailure&) const = default;
};

// The year check: the last two digits of the date's four-digit year are at most 40 (2000 to 2040 pass,
// 1941 to 1999 and Buddhist-era years such as 2546 fail). A null date reads as day zero and fails.
bool yearCheckPasses(const QDate& garageDate);

// Save's seven checks in their order; the first that fails, or nothing when all pass. Empty means the
// empty string: a box holding only spaces passes.
std::optional<CheckFailure> checkEntry(const EntryInput& input, const QDate& today);

} // namespace reg
