#include "codecs/Graphic.h"
#include "tests/fuzz/PictureExercise.h"

#include <cstddef>
#include <cstdint>

// JPEG files as the inbox grid and the resize meet them: header, decoding, drawing, encoding again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Smaller pictures keep each run short; the limit itself is the same code at any value.
    static const bool limited = (codecs::setPixelLimit(4'000'000), true);
    (void)limited;
    picture_exercise::jpeg(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
