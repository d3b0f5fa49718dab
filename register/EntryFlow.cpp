#include "register/EntryFlow.h"

namespace reg {

SaveOutcome saveEntry(RegisterAccess& tables, const EntryInput& input, const QDate& vorlexDate,
                      const QDate& today) {
    SaveOutcome outcome;
    outcome.failure = checkEntry(input, today);
    if (outcome.failure) return outcome;
    RegisterRow row;
    row.claimno = input.claimNumber;
    row.vorlexDate = vorlexDate;
    row.garageDate = readDate(input.garageDate);
    row.brand = input.brand;
    row.regno = input.regno;
    row.garage = input.garage;
    row.status = input.status;
    row.seq = tables.maxSeq(row.claimno) + 1;
    row.reportDate = today;
    row.send = false;
    tables.store(row);
    outcome.stored = cutToFields(row);
    return outcome;
}

void runSearch(RegisterAccess& tables, SearchMode mode, const QDate& day, const QString& claim) {
    switch (mode) {
    case SearchMode::Unfinished:
        tables.openSearch(unfinishedStatement(tables.finishedClaims()), QVariant());
        break;
    case SearchMode::Day:
        tables.openSearch(dayStatement(), QVariant(readDate(day)));
        break;
    case SearchMode::Claim:
        tables.openSearch(claimStatement(), QVariant(claim));
        break;
    }
}

QString chosenStatusText(const QStringList& statusNames, const QString& name) {
    const QString kept = cutToField(name, field::StatusSize);
    return statusNames.contains(kept) ? kept : QString();
}

} // namespace reg
