#include "tests/fuzz/PictureExercise.h"

#include <cstddef>
#include <cstdint>

// The capture record of a JPEG file as the resize meets it: found among the segments, read, rebuilt for
// the new size, put back after the start marker. No pixels are decoded, so each run is short.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    picture_exercise::exif(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
