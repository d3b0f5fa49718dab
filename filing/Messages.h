#pragma once

#include <QString>

// The texts the new-pictures page shows, in the system's Thai; an English gloss beside each.
namespace filing::messages {

// "please enter the notification number"
inline const QString EnterClaimNumber = QStringLiteral("กรุณาป้อนเลขรับแจ้ง");
// "the notification number must have 8 characters"
inline const QString ClaimNumberLength = QStringLiteral("เลขรับแจ้งต้องมี 8 ตัว");
// "the notification number %1 holds characters a file name cannot hold (\ / : * ? " < > | or ..)"
inline const QString ClaimNumberCharacters =
    QStringLiteral("เลขรับแจ้ง %1 มีอักขระที่ใช้ตั้งชื่อไฟล์ไม่ได้ (\\ / : * ? \" < > | หรือ ..)");
// "please choose photographs only"
inline const QString PhotographsOnly = QStringLiteral("กรุณาเลือกเฉพาะรูปภาพ");
// "please choose documents only"
inline const QString DocumentsOnly = QStringLiteral("กรุณาเลือกเฉพาะเอกสาร");

// "this picture is larger than 200 Kb; resize it?"
inline const QString ResizeQuestion = QStringLiteral("ภาพนี้มีขนาดเกิน 200 Kb ต้องการ Resize ภาพหรือไม่?");
// "the picture cannot be transferred because its file is too large; please resize it before sending again"
inline const QString TooLargeToTransfer =
    QStringLiteral("ไม่สามารถทำการโอนภาพได้เนื่องจากไฟล์มีขนาดใหญ่เกินไป กรุณาทำการ Resize ภาพก่อนทำการส่งอีกครั้ง.");

inline const QString NotAnInteger = QStringLiteral("'%s' is not a valid integer value");

// "the %1 numbers of notification number %2 are used up (%3 to %4); the picture was not filed"
inline const QString CategoryFull =
    QStringLiteral("เลขลำดับหมวด %1 ของเลขรับแจ้ง %2 ใช้ครบแล้ว (%3 ถึง %4) จึงไม่ได้เก็บรูปภาพนี้");
// "the file %1 already exists; the picture was not filed"
inline const QString TargetExists = QStringLiteral("มีไฟล์ %1 อยู่แล้ว จึงไม่ได้เก็บรูปภาพนี้");
// "cannot copy the picture to %1; the picture stays among the new pictures"
inline const QString CopyFailed = QStringLiteral("ไม่สามารถคัดลอกรูปภาพไปที่ %1 ได้ รูปภาพยังอยู่ในรูปภาพใหม่");
// "the picture was filed as %1 but %2 could not be deleted"
inline const QString RemovalFailed = QStringLiteral("เก็บรูปภาพเป็น %1 แล้ว แต่ลบไฟล์ %2 ไม่ได้");

} // namespace filing::messages
