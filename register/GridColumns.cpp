#include "register/GridColumns.h"

#include "register/DateText.h"

namespace reg {

const QList<GridColumn>& gridColumns() {
    static const QList<GridColumn> list = {
        {"Claimno", QStringLiteral("เลขรับแจ้ง"), 62},     {"Seq", QStringLiteral("ครั้งที่"), 38},
        {"GarageDate", QStringLiteral("วันที่รถเข้าอู่"), 89}, {"Garage", QStringLiteral("ชื่ออู่"), 179},
        {"Brand", QStringLiteral("ยี่ห้อรถ"), 133},         {"Regno", QStringLiteral("เลขทะเบียน"), 72},
        {"Status", QStringLiteral("สถานะการซ่อม"), 172},
    };
    return list;
}

QStringList gridCells(const RegisterRow& row) {
    return {row.claimno,
            QString::number(row.seq),
            row.garageDate.isValid() ? dateText(row.garageDate) : QString(),
            row.garage,
            row.brand,
            row.regno,
            row.status};
}

} // namespace reg
