#include "filing/CellPicture.h"

#include "app/WorkingFolders.h"
#include "codecs/Canvas.h"
#include "codecs/FileFormats.h"
#include "codecs/PictureHolder.h"
#include "filing/PicClip.h"
#include "platform/DrivePaths.h"

#include <QImage>
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace filing {
namespace {

bool isScan(const QString& name) {
    return name.right(4).toUpper() == QLatin1String(".GIF");
}

// Decodes the picture now, so that a damaged one fails while it is being prepared.
void drawOnce(TPictureHolder& box, const QSize& shownSize) {
    QImage surface(shownSize, QImage::Format_RGB32);
    TCanvas canvas(surface);
    canvas.stretchDraw(surface.rect(), box.graphic());
}

// Globals that are filled on first use must be filled before several threads use them.
void fillSharedStateOnce() {
    platform::drive::driveFolder();
    fileFormats();
}

} // namespace

CellPictureRequest cellPictureRequest(const QString& name, const TPicClip& clip, const QSize& shownSize) {
    CellPictureRequest request;
    request.name = name;
    request.clipCols = clip.Cols;
    request.clipRows = clip.Rows;
    request.clipMasked = clip.Masked;
    request.shownSize = shownSize;
    return request;
}

PreparedCellPicture prepareCellPicture(const CellPictureRequest& request) {
    PreparedCellPicture prepared;
    prepared.ready = true;
    TPictureHolder box;
    TPicClip clip;
    try {
        const QString path =
            request.path.isEmpty() ? folders::PictureRoot + '\\' + request.name : request.path;
        if (!request.cutScans || !isScan(request.name)) {
            box.loadFromFile(path);
        } else {
            clip.Cols = request.clipCols;
            clip.Rows = request.clipRows;
            clip.Masked = request.clipMasked;
            clip.Picture().loadFromFile(path);
            box.assign(&clip.GraphicCell(0));
        }
        drawOnce(box, request.shownSize);
    } catch (...) {
        prepared.error = std::current_exception();
    }
    // As far as the loading went: the scan stays in the cutter once read, the picture in the box once
    // read, even when drawing it failed.
    prepared.clipPicture = clip.Picture().release();
    prepared.boxPicture = box.release();
    return prepared;
}

std::vector<PreparedCellPicture> prepareCellPictures(const QList<CellPictureRequest>& requests) {
    const int count = int(requests.size());
    std::vector<PreparedCellPicture> results(size_t(std::max(count, 0)));
    if (count == 0) return results;
    fillSharedStateOnce();

    // Each thread takes the next picture not yet started; each result has its own slot.
    std::atomic<int> next{0};
    std::atomic<int> firstFailure{count};
    const auto work = [&] {
        for (;;) {
            const int i = next.fetch_add(1);
            if (i >= count || i > firstFailure.load()) return;
            PreparedCellPicture& result = results[size_t(i)];
            try {
                result = prepareCellPicture(requests.at(i));
            } catch (...) { // out of memory for the result itself
                result = PreparedCellPicture();
                result.ready = true;
                result.error = std::current_exception();
            }
            if (result.error) {
                int seen = firstFailure.load();
                while (i < seen && !firstFailure.compare_exchange_weak(seen, i)) {
                }
            }
        }
    };

    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(cores, count); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones running finish the page
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return results;
}

void applyCellPicture(PreparedCellPicture prepared, TPicClip& clip, TPictureHolder& box) {
    if (prepared.clipPicture) clip.Picture().setGraphic(std::move(prepared.clipPicture));
    if (prepared.boxPicture) box.setGraphic(std::move(prepared.boxPicture));
    if (prepared.error) std::rethrow_exception(prepared.error);
}

void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box, const QSize& shownSize) {
    applyCellPicture(prepareCellPicture(cellPictureRequest(name, clip, shownSize)), clip, box);
}

} // namespace filing
