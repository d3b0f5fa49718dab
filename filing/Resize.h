#pragma once

#include <QString>
#include <functional>

// Photographs over 200 Kb are shrunk to 800 by 600 before they are filed.
namespace filing {

constexpr qint64 kOversizeBytes = 200 * 1000; // 200 Kb, 1 Kb being 1000 bytes
constexpr int kResizedWidth = 800;
constexpr int kResizedHeight = 600;

// More than 200 Kb: 200,001 bytes are 200.001 Kb.
inline bool isOversize(qint64 bytes) {
    return bytes > kOversizeBytes;
}

// The name, inside PictureRoot, of the resize's temporary file for the picture `workingName`: "TEMP"
// plus the picture's last four characters when no file of that name is there, else "TEMP1", "TEMP2"...
// plus them, the first that is free, so that an inbox picture is never replaced.
QString temporaryName(const QString& workingName);

// What became of the photograph's capture record (EXIF) in the resized file.
enum class ExifCarried { None, Kept, LeftOut };

struct ResizeOutcome {
    bool stretched = false;
    QString stretchFailure; // the error that stopped the stretch
    ExifCarried exif = ExifCarried::None;
};

// Loads the file `source` as a JPEG whatever its extension (fails with the JPEG decoder's message when
// it is not one), stretches it nearest-neighbour onto 800 by 600 and saves it as a new JPEG at
// `target`, carrying the source's capture record with the new size in it (a damaged one, or one that
// no longer fits its segment, is left out). When the stretching fails, `beep` sounds and the file's own
// JPEG data is written unchanged.
ResizeOutcome writeResized(const QString& source, const QString& target, const std::function<void()>& beep);

} // namespace filing
