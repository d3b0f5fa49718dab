#include "register/RegisterRow.h"

#include "platform/Codepage874.h"

namespace reg {

const QStringList& registerFieldNames() {
    static const QStringList names = {"Claimno", "Seq",        "Garage",     "Brand",      "Regno",
                                      "Status",  "VorlexDate", "GarageDate", "ReportDate", "Send"};
    return names;
}

QString cutToField(const QString& text, int size) {
    return platform::cp874::decode(platform::cp874::encode(text).left(size));
}

RegisterRow cutToFields(RegisterRow row) {
    row.claimno = cutToField(row.claimno, field::ClaimnoSize);
    row.garage = cutToField(row.garage, field::GarageSize);
    row.brand = cutToField(row.brand, field::BrandSize);
    row.regno = cutToField(row.regno, field::RegnoSize);
    row.status = cutToField(row.status, field::StatusSize);
    return row;
}

} // namespace reg
