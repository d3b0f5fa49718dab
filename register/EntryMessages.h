#pragma once

#include <QString>

// The texts the register's entry panel shows, in the system's Thai; an English gloss beside each.
namespace reg::messages {

// "please enter the claim notification number"
inline const QString EnterClaimNumber = QStringLiteral("กรุณาป้อนเลขรับแจ้ง");
// "please enter the date the car came into the garage as a Christian-era year"
inline const QString GarageDateYear = QStringLiteral("กรุณาป้อนวันที่รถเข้าอู่ เป็นปี คศ.");
// "do not enter a date in the future for the car's arrival"
inline const QString GarageDateInFuture = QStringLiteral("ห้ามป้อนวันที่รถเข้าอู่ล่วงหน้า");
// "please enter the make of the car"
inline const QString EnterBrand = QStringLiteral("กรุณาป้อนยี่ห้อรถ");
// "please enter the car's registration number"
inline const QString EnterRegno = QStringLiteral("กรุณาป้อนเลขทะเบียนรถ");
// "please enter the garage name"
inline const QString EnterGarage = QStringLiteral("กรุณาป้อนชื่ออู่");
// "please enter, that is choose, the repair status"
inline const QString ChooseStatus = QStringLiteral("กรุณาป้อนเลือกสถานะการซ่อม");

inline const QString SaveComplete = QStringLiteral("Save Complete");

} // namespace reg::messages
