// Picture codecs against their peers, on files the script makes:
//   bench_codecs gif FILE               our GIF decoding against giflib's DGifSlurp, both from memory
//   bench_codecs inbox FILE...          an inbox page: each JPEG loaded and drawn into a 148 by 125 box
//   bench_codecs resize IN OUT          the oversize resize once (timed by the script, as convert is)
//   bench_codecs exif PLAIN WITH OUT    the resize of the same photograph without and with a capture
//                                       record, in turns, and the record's own work alone
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/Exif.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PictureHolder.h"
#include "filing/Resize.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <gif_lib.h>
#include <memory>
#include <thread>
#include <vector>

namespace {

double medianMs(int repeats, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

struct MemoryInput {
    const QByteArray* bytes;
    qsizetype pos;
};

int readFromMemory(GifFileType* gif, GifByteType* into, int wanted) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const int n = int(std::min<qsizetype>(wanted, in->bytes->size() - in->pos));
    std::memcpy(into, in->bytes->constData() + in->pos, size_t(n));
    in->pos += n;
    return n;
}

void giflibSlurp(const QByteArray& bytes) {
    MemoryInput input{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, readFromMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        std::fprintf(stderr, "giflib failed: %d\n", gif ? gif->Error : error);
        std::exit(1);
    }
    DGifCloseFile(gif, &error);
}

int benchGif(const QString& path) {
    const QByteArray bytes = readAll(path);
    int width = 0;
    const double ours = medianMs(15, [&] {
        TGIFImage gif;
        gif.loadFromBytes(bytes);
        width = gif.width();
    });
    const double giflib = medianMs(15, [&] { giflibSlurp(bytes); });
    std::printf("gif decode %-28s width %d: ours %.1f ms, giflib DGifSlurp %.1f ms, ours/giflib %.2f\n",
                qPrintable(path.section('/', -1)), width, ours, giflib, ours / giflib);
    return 0;
}

QRect inboxBox(int i) {
    return QRect(17 + (i % 3) * 177, 13 + (i / 3) * 158, 148, 125);
}

// Nine image boxes of the inbox grid, painted as a widget paints them: one picture after the other, then
// with the pictures loaded and drawn once at the box's size on every core before the window paints them.
int benchInbox(const QStringList& files) {
    QImage window(534, 486, QImage::Format_ARGB32_Premultiplied);
    const int count = int(files.size());
    const auto page = [&] {
        QPainter painter(&window);
        TCanvas canvas(painter);
        for (int i = 0; i < count; ++i) {
            TPictureHolder box;
            box.loadFromFile(files.at(i));
            canvas.stretchDraw(inboxBox(i), box.graphic());
        }
    };
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const auto pageOnAllCores = [&] {
        std::vector<std::unique_ptr<TPictureHolder>> boxes(static_cast<size_t>(count));
        std::vector<QString> errors(static_cast<size_t>(count));
        std::atomic<int> next{0};
        const auto work = [&] {
            for (int i = next++; i < count; i = next++) {
                try {
                    boxes[size_t(i)] = std::make_unique<TPictureHolder>();
                    boxes[size_t(i)]->loadFromFile(files.at(i));
                    QImage cell(inboxBox(i).size(), QImage::Format_RGB32);
                    TCanvas cellCanvas(cell);
                    cellCanvas.stretchDraw(cell.rect(), boxes[size_t(i)]->graphic());
                } catch (const platform::Error& e) {
                    errors[size_t(i)] = e.message();
                }
            }
        };
        std::vector<std::thread> helpers;
        for (int t = 1; t < std::min(cores, count); ++t)
            helpers.emplace_back(work);
        work();
        for (std::thread& helper : helpers)
            helper.join();
        for (const QString& error : errors)
            if (!error.isEmpty()) throw platform::Error(error);
        QPainter painter(&window);
        TCanvas canvas(painter);
        for (int i = 0; i < count; ++i)
            canvas.stretchDraw(inboxBox(i), boxes[size_t(i)]->graphic());
    };
    page(); // the files into the system's cache, as for a user who looked at the folder before
    const double ms = medianMs(5, page);
    std::printf("inbox page of %lld JPEGs into 148x125 boxes: %.1f ms (target 300 ms), %.2f of the target\n",
                qlonglong(count), ms, ms / 300.0);
    const double allCores = medianMs(5, pageOnAllCores);
    std::printf("the same page decoded on %d cores: %.1f ms (target 300 ms), %.2f of the target\n", cores,
                allCores, allCores / 300.0);
    return 0;
}

// As filing does it: decoded at full size, stretched, encoded, the capture record carried.
int resizeOnce(const QString& in, const QString& out) {
    filing::writeResized(in, out, {});
    return 0;
}

// The record's cost: the same photograph resized with and without it, in turns so that both see the same
// machine, and the work the record adds (find, rebuild, put in, the header read again) timed alone.
int benchExif(const QString& plain, const QString& withRecord, const QString& out) {
    constexpr int kRounds = 25;
    std::vector<double> without, with;
    const auto timed = [&](const QString& in) {
        QElapsedTimer timer;
        timer.start();
        filing::writeResized(in, out, {});
        return double(timer.nsecsElapsed()) / 1e6;
    };
    timed(plain);
    timed(withRecord);
    for (int i = 0; i < kRounds; ++i) {
        without.push_back(timed(plain));
        with.push_back(timed(withRecord));
    }
    std::sort(without.begin(), without.end());
    std::sort(with.begin(), with.end());
    const double a = without[kRounds / 2];
    const double b = with[kRounds / 2];

    const QByteArray source = readAll(withRecord);
    const QByteArray encoded = readAll(out);
    const QByteArray record = codecs::exif::findRecord(source);
    qsizetype carried = 0;
    const double work = medianMs(201, [&] {
        const QByteArray rebuilt = codecs::exif::rebuiltForSize(codecs::exif::findRecord(source), 800, 600);
        TJPEGImage jpeg;
        jpeg.loadFromBytes(codecs::exif::withRecord(encoded, rebuilt));
        carried = rebuilt.size();
    });
    // The fastest run of each is the one least disturbed by other work on the machine.
    std::printf(
        "resize 4000x3000 -> 800x600 q90 in process, %d runs each in turns: without a record median %.1f ms, "
        "fastest %.1f ms; with a %lld-byte record (%lld bytes carried) median %.1f ms, fastest %.1f ms: "
        "%+.2f %% by the medians, %+.2f %% by the fastest\n",
        kRounds, a, without.front(), qlonglong(record.size()), qlonglong(carried), b, with.front(),
        100.0 * (b - a) / a, 100.0 * (with.front() - without.front()) / without.front());
    std::printf("the record's own work (find, rebuild, put in, header read again), median of 201: %.3f ms, "
                "%.3f %% of the resize (target under 1 %%)\n",
                work, 100.0 * work / a);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("gif")) return benchGif(args[1]);
        if (args.size() >= 2 && args[0] == QLatin1String("inbox")) return benchInbox(args.mid(1));
        if (args.size() == 3 && args[0] == QLatin1String("resize")) return resizeOnce(args[1], args[2]);
        if (args.size() == 4 && args[0] == QLatin1String("exif")) return benchExif(args[1], args[2], args[3]);
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::fprintf(stderr,
                 "usage: bench_codecs gif FILE | inbox FILE... | resize IN OUT | exif PLAIN WITH OUT\n");
    return 2;
}
