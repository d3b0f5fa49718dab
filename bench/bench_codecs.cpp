// Picture codecs against their peers, on files the script makes:
//   bench_codecs gif FILE               our GIF decoding against giflib's DGifSlurp, both from memory
//   bench_codecs inbox FILE...          an inbox page: each JPEG loaded and drawn into a 148 by 125 box
//   bench_codecs resize IN OUT          the oversize resize once (timed by the script, as convert is)
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("gif")) return benchGif(args[1]);
        if (args.size() >= 2 && args[0] == QLatin1String("inbox")) return benchInbox(args.mid(1));
        if (args.size() == 3 && args[0] == QLatin1String("resize")) return resizeOnce(args[1], args[2]);
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::fprintf(stderr, "usage: bench_codecs gif FILE | inbox FILE... | resize IN OUT\n");
    return 2;
}
