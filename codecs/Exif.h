#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The capture record a camera writes into its JPEG files: an APP1 segment holding "Exif\0\0" and a
// TIFF structure (IFD0 with the Exif and GPS IFDs beneath it, IFD1 for the thumbnail). A record is
// read with every offset bounds-checked; one that is damaged in any way counts as absent.
namespace codecs::exif {

// The most an APP1 segment can carry after its length field, and so the TIFF data after "Exif\0\0".
constexpr qsizetype kMaxSegmentPayload = 65533;
constexpr qsizetype kMaxRecordSize = kMaxSegmentPayload - 6;

// The TIFF data of the first APP1 "Exif" segment before the picture's first scan; empty when there is
// none or the segments before it run past the end of the data.
QByteArray findRecord(const QByteArray& jpeg);

// A few fields as text (trailing NULs and spaces cut, control characters shown as '?'); empty when
// the record does not hold them.
struct CaptureFields {
    QString dateTimeOriginal; // "YYYY:MM:DD HH:MM:SS" as the camera wrote it
    QString make;
    QString model;
};
// std::nullopt when the record is damaged.
std::optional<CaptureFields> captureFields(const QByteArray& record);

// The record for the same photograph re-encoded at width by height pixels: every field kept as the
// camera wrote it, in the same byte order, with the pixel dimensions set to the new size (added to
// the Exif IFD when missing there), the thumbnail (IFD1 and any IFD after it) left out, and every IFD
// and value laid out anew. The maker note keeps its offset from the start of the record when it fits
// there, since maker notes often hold offsets of their own. Fields that point into the file outside
// the record (strip, tile and JPEG thumbnail offsets, further sub-IFDs) cannot be carried and are
// dropped. Empty when the record is damaged or the result would not fit one APP1 segment.
QByteArray rebuiltForSize(const QByteArray& record, int width, int height);

// The JPEG with an APP1 "Exif" segment holding `record` right after its start-of-image marker; the
// JPEG unchanged when `record` is empty, too large, or the data does not start with that marker.
QByteArray withRecord(const QByteArray& jpeg, const QByteArray& record);

} // namespace codecs::exif
