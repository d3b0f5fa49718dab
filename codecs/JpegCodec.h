#pragma once

#include <QByteArray>
#include <QImage>

// libjpeg (6b interface) behind plain C++: fatal errors raise platform::Error("JPEG error #%d") with
// libjpeg's message code, warnings are ignored.
namespace codecs::jpeg {

struct Header {
    int width = 0;
    int height = 0;
    bool grayscale = false;   // one-channel stream
    bool progressive = false; // more than one scan
};

struct DecodeOptions {
    int denominator = 1;    // 1, 2, 4 or 8
    bool grayscale = false; // grey levels out, whatever the stream holds
    bool quantize = false;  // at most 236 colours, palette bitmap out
    bool fastest = false;   // fast integer DCT, one-pass quantisation, ordered dithering
    bool smoothing = true;  // block smoothing of progressive streams
};

struct EncodeOptions {
    int quality = 90;
    bool grayscale = false;
    bool progressive = false;
};

// Reads the stream's header; the picture's size is checked against the pixel limit.
Header readHeader(const QByteArray& stream);
// RGB888 for colour, Grayscale8 for grey, Indexed8 when quantised.
QImage decode(const QByteArray& stream, const DecodeOptions& options);
// Encodes every row from the top; any pixel format is accepted.
QByteArray encode(const QImage& image, const EncodeOptions& options);

} // namespace codecs::jpeg
