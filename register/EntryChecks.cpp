#include "register/EntryChecks.h"

#include "register/EntryMessages.h"

namespace reg {

bool yearCheckPasses(const QDate& garageDate) {
    const QString year = QStringLiteral("%1").arg(readDate(garageDate).year(), 4, 10, QLatin1Char('0'));
    return year.mid(2, 2).toInt() <= 40;
}

std::optional<CheckFailure> checkEntry(const EntryInput& input, const QDate& today) {
    if (input.claimNumber.isEmpty())
        return CheckFailure{messages::EnterClaimNumber, EntryControl::ClaimNumber};
    if (!yearCheckPasses(input.garageDate))
        return CheckFailure{messages::GarageDateYear, EntryControl::GarageDate};
    if (readDate(input.garageDate) > today)
        return CheckFailure{messages::GarageDateInFuture, EntryControl::GarageDate};
    if (input.brand.isEmpty()) return CheckFailure{messages::EnterBrand, EntryControl::Brand};
    if (input.regno.isEmpty()) return CheckFailure{messages::EnterRegno, EntryControl::Regno};
    if (input.garage.isEmpty()) return CheckFailure{messages::EnterGarage, EntryControl::Garage};
    if (input.status.isEmpty()) return CheckFailure{messages::ChooseStatus, EntryControl::Status};
    return std::nullopt;
}

} // namespace reg
