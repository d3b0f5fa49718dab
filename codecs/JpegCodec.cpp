#include "codecs/JpegCodec.h"

#include "codecs/Graphic.h"
#include "platform/Error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

// The functions that call setjmp below hold only plain C data: a longjmp out of libjpeg must not skip a
// destructor. They return 0, or libjpeg's message code of the fatal error.
namespace {

// Real progressive streams have a few dozen scans; a crafted one with thousands would take minutes.
constexpr int kMaxScans = 1000;
// Progressive streams keep every coefficient in memory; this bounds what libjpeg may allocate.
constexpr long kMaxLibjpegMemory = 1536L * 1024 * 1024;
constexpr int kTooManyScans = -1;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    int code;
};

void onFatalError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (errors->code == 0) errors->code = errors->pub.msg_code;
    longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr, int) {}
void onOutputMessage(j_common_ptr) {}

void installErrors(ErrorManager* errors) {
    jpeg_std_error(&errors->pub);
    errors->pub.error_exit = onFatalError;
    errors->pub.emit_message = onMessage;
    errors->pub.output_message = onOutputMessage;
    errors->code = 0;
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    int created;
};

void onDecodeProgress(j_common_ptr cinfo) {
    auto* decoder = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decoder->input_scan_number > kMaxScans) {
        reinterpret_cast<ErrorManager*>(cinfo->err)->code = kTooManyScans;
        onFatalError(cinfo);
    }
}

int decoderOpen(Decoder* d, const unsigned char* data, unsigned long size) {
    installErrors(&d->errors);
    d->cinfo.err = &d->errors.pub;
    if (setjmp(d->errors.jump)) return d->errors.code;
    jpeg_create_decompress(&d->cinfo);
    d->created = 1;
    d->cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    d->progress.progress_monitor = onDecodeProgress;
    d->cinfo.progress = &d->progress;
    jpeg_mem_src(&d->cinfo, data, size);
    jpeg_read_header(&d->cinfo, TRUE);
    return 0;
}

struct DecodeParams {
    unsigned int denominator;
    J_COLOR_SPACE outColorSpace;
    int quantize;
    int fastest;
    int smoothing;
};

int decoderStart(Decoder* d, const DecodeParams* p) {
    if (setjmp(d->errors.jump)) return d->errors.code;
    d->cinfo.scale_num = 1;
    d->cinfo.scale_denom = p->denominator;
    d->cinfo.do_block_smoothing = p->smoothing ? TRUE : FALSE;
    d->cinfo.out_color_space = p->outColorSpace;
    if (p->quantize) {
        d->cinfo.quantize_colors = TRUE;
        d->cinfo.desired_number_of_colors = 236;
    }
    if (p->fastest) {
        d->cinfo.dct_method = JDCT_IFAST;
        d->cinfo.two_pass_quantize = FALSE;
        d->cinfo.dither_mode = JDITHER_ORDERED;
    }
    jpeg_start_decompress(&d->cinfo);
    return 0;
}

int decoderRead(Decoder* d, unsigned char* bits, long stride) {
    if (setjmp(d->errors.jump)) return d->errors.code;
    JSAMPROW rows[16];
    while (d->cinfo.output_scanline < d->cinfo.output_height) {
        unsigned int count = d->cinfo.output_height - d->cinfo.output_scanline;
        if (count > 16) count = 16;
        for (unsigned int i = 0; i < count; ++i)
            rows[i] = bits + long(d->cinfo.output_scanline + i) * stride;
        if (jpeg_read_scanlines(&d->cinfo, rows, count) == 0) break;
    }
    return 0;
}

void decoderClose(Decoder* d) {
    if (d->created) jpeg_destroy_decompress(&d->cinfo);
    d->created = 0;
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    unsigned char* out;
    unsigned long outSize;
    int created;
};

struct EncodeParams {
    const unsigned char* bits;
    long stride;
    unsigned int width;
    unsigned int height;
    int quality;
    int grayscale;
    int progressive;
};

int encoderRun(Encoder* e, const EncodeParams* p) {
    installErrors(&e->errors);
    e->cinfo.err = &e->errors.pub;
    if (setjmp(e->errors.jump)) return e->errors.code;
    jpeg_create_compress(&e->cinfo);
    e->created = 1;
    jpeg_mem_dest(&e->cinfo, &e->out, &e->outSize);
    e->cinfo.image_width = p->width;
    e->cinfo.image_height = p->height;
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_quality(&e->cinfo, p->quality, TRUE);
    if (p->grayscale) jpeg_set_colorspace(&e->cinfo, JCS_GRAYSCALE);
    if (p->progressive) jpeg_simple_progression(&e->cinfo);
    jpeg_start_compress(&e->cinfo, TRUE);
    while (e->cinfo.next_scanline < e->cinfo.image_height) {
        JSAMPROW row[1] = {const_cast<unsigned char*>(p->bits + long(e->cinfo.next_scanline) * p->stride)};
        jpeg_write_scanlines(&e->cinfo, row, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    return 0;
}

void encoderClose(Encoder* e) {
    if (e->created) jpeg_destroy_compress(&e->cinfo);
    e->created = 0;
    free(e->out);
    e->out = nullptr;
}

void check(int code) {
    if (code == 0) return;
    if (code == kTooManyScans) throw platform::Error(QStringLiteral("The JPEG image has too many scans"));
    throw platform::Error(QStringLiteral("JPEG error #%1").arg(code));
}

struct DecoderDeleter {
    void operator()(Decoder* d) const {
        decoderClose(d);
        delete d;
    }
};
using DecoderPtr = std::unique_ptr<Decoder, DecoderDeleter>;

DecoderPtr openDecoder(const QByteArray& stream) {
    DecoderPtr d(new Decoder);
    std::memset(d.get(), 0, sizeof(Decoder));
    check(decoderOpen(d.get(), reinterpret_cast<const unsigned char*>(stream.constData()),
                      static_cast<unsigned long>(stream.size())));
    codecs::checkPictureSize(d->cinfo.image_width, d->cinfo.image_height);
    return d;
}

// Adobe's CMYK streams hold inverted inks: each value already is 255 minus the ink.
void cmykToRgb(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* px = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, px += 4) {
            int c = px[0], m = px[1], ye = px[2], k = px[3];
            if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
            *reinterpret_cast<QRgb*>(px) = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
}

} // namespace

namespace codecs::jpeg {

Header readHeader(const QByteArray& stream) {
    const DecoderPtr d = openDecoder(stream);
    Header header;
    header.width = int(d->cinfo.image_width);
    header.height = int(d->cinfo.image_height);
    header.grayscale = d->cinfo.jpeg_color_space == JCS_GRAYSCALE;
    header.progressive = jpeg_has_multiple_scans(&d->cinfo) != 0;
    return header;
}

QImage decode(const QByteArray& stream, const DecodeOptions& options) {
    const DecoderPtr d = openDecoder(stream);
    const J_COLOR_SPACE source = d->cinfo.jpeg_color_space;
    const bool inks = source == JCS_CMYK || source == JCS_YCCK;
    DecodeParams params{};
    params.denominator = unsigned(options.denominator);
    params.outColorSpace = inks                      ? JCS_CMYK
                           : options.grayscale       ? JCS_GRAYSCALE
                           : source == JCS_GRAYSCALE ? JCS_GRAYSCALE
                                                     : JCS_RGB;
    params.quantize = options.quantize && !inks && params.outColorSpace == JCS_RGB;
    params.fastest = options.fastest;
    params.smoothing = options.smoothing;
    check(decoderStart(d.get(), &params));

    const int width = int(d->cinfo.output_width);
    const int height = int(d->cinfo.output_height);
    QImage::Format format = inks                                    ? QImage::Format_RGB32
                            : params.quantize                       ? QImage::Format_Indexed8
                            : params.outColorSpace == JCS_GRAYSCALE ? QImage::Format_Grayscale8
                                                                    : QImage::Format_RGB888;
    QImage image(width, height, format);
    if (image.isNull())
        throw platform::Error(
            QStringLiteral("Not enough memory for a picture of %1 by %2 pixels").arg(width).arg(height));
    if (params.quantize) {
        QList<QRgb> table;
        for (int i = 0; i < d->cinfo.actual_number_of_colors; ++i)
            table.append(qRgb(d->cinfo.colormap[0][i], d->cinfo.colormap[1][i], d->cinfo.colormap[2][i]));
        image.setColorTable(table);
    }
    // Rows the data does not reach stay black.
    image.fill(0);
    check(decoderRead(d.get(), image.bits(), long(image.bytesPerLine())));
    if (inks) {
        cmykToRgb(image, d->cinfo.saw_Adobe_marker != 0);
        if (options.grayscale) image = image.convertToFormat(QImage::Format_Grayscale8);
    }
    return image;
}

QByteArray encode(const QImage& image, const EncodeOptions& options) {
    const QImage rgb =
        image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
    Encoder* e = new Encoder;
    std::memset(e, 0, sizeof(Encoder));
    EncodeParams params{};
    params.bits = rgb.constBits();
    params.stride = long(rgb.bytesPerLine());
    params.width = unsigned(rgb.width());
    params.height = unsigned(rgb.height());
    params.quality = qBound(1, options.quality, 100);
    params.grayscale = options.grayscale;
    params.progressive = options.progressive;
    const int code = encoderRun(e, &params);
    QByteArray bytes;
    if (code == 0) bytes = QByteArray(reinterpret_cast<const char*>(e->out), qsizetype(e->outSize));
    encoderClose(e);
    delete e;
    check(code);
    return bytes;
}

} // namespace codecs::jpeg
