#pragma once

#include <QtGlobal>

namespace codecs::gif {

// Expands GIF LZW data (the image's sub-blocks joined) into out, count values, each masked with
// valueMask. Stops at the end code, when out is full or when the data runs out; what is not reached
// keeps its value. Returns false when the data is corrupt (a code past the table, a code before the
// first clear code that is not a literal): decoding stops there.
bool expandLzw(const uchar* data, qsizetype size, int minCodeSize, uchar valueMask, uchar* out,
               qsizetype count);

} // namespace codecs::gif
