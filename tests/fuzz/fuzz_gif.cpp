#include "codecs/Graphic.h"
#include "tests/fuzz/PictureExercise.h"

#include <cstddef>
#include <cstdint>

// GIF files as the inbox grid meets them: load (frame 0 decoded), draw, decode the other frames.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Smaller pictures keep each run short; the limit itself is the same code at any value.
    static const bool limited = (codecs::setPixelLimit(4'000'000), true);
    (void)limited;
    picture_exercise::gif(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
