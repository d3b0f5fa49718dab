#include "viewer/ui/Zoom.h"

#include "app/WorkingFolders.h"
#include "filing/ui/Panel.h"
#include "platform/MessageService.h"
#include "viewer/ReportPage.h"
#include "viewer/ui/PreviewU.h"

#include <memory>

void previewPicture(const QString& path, const QString& name) {
    auto report = std::make_unique<TPreview>();
    platform::handleErrors([&] {
        report->QRImage1.loadFromFile(path);
        report->setImageHeight(viewer::pictureHeightPixels(name));
        report->Preview();
    });
    report.reset();
}

void Zoom(TPanel* nameBar) {
    if (!nameBar) return;
    previewPicture(folders::PictureRoot + '\\' + nameBar->text(), nameBar->text());
}
