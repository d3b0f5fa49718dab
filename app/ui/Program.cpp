#include "app/ui/Program.h"

#include "app/Settings.h"
#include "app/ui/ConnectU.h"
#include "app/ui/PictureU.h"
#include "app/ui/RegisterFU.h"
#include "app/ui/SplashU.h"
#include "platform/DrivePaths.h"
#include "platform/MessageService.h"
#include "platform/Registry.h"
#include "platform/gui/Modal.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/ZipfU.h"
#include "viewer/ui/PreviewU.h"

#include <QApplication>
#include <QThread>

Program::Program() : Program(Options{}) {}
Program::Program(Options options) : options_(options) {}
Program::~Program() = default;

template <typename Window> std::unique_ptr<Window> Program::create() {
    auto window = std::make_unique<Window>();
    created_.append(QString::fromLatin1(Window::staticMetaObject.className()));
    return window;
}

void Program::showSplash() {
    TSplash splash;
    splash.showAndPaint();
    // Blocks on purpose: nothing is taken in or repainted while the splash stands.
    QThread::msleep(static_cast<unsigned long>(options_.splashMilliseconds));
}

bool Program::start() {
    bool started = false;
    platform::handleErrors([&] {
        settings::applyDriveSetting();
        platform::drive::prepareDriveFolder();
        platform::Registry registry;
        showSplash();
        registry.openKey(settings::Key, true);
        if (registry.readString(settings::GarageNameValue).isEmpty()) registration_ = create<TRegisterf>();
        if (!registry.readString(settings::GarageNameValue).isEmpty()) picture_ = create<TPicture>();
        preview_ = create<TPreview>();
        copyf_ = create<TCopyf>();
        connect_ = create<TConnect>();
        zipf_ = create<TZipf>();
        started = true;
    });
    if (!started) {
        zipf_.reset();
        connect_.reset();
        copyf_.reset();
        preview_.reset();
        picture_.reset();
        registration_.reset();
    }
    return started;
}

QWidget* Program::mainWindow() const {
    if (registration_) return registration_.get();
    return picture_.get();
}

int Program::exec() {
    QWidget* main = mainWindow();
    if (!main) return 1;
    QApplication::setQuitOnLastWindowClosed(false);
    platform::gui::whenClosed(main, [] { QApplication::quit(); });
    main->show();
    return QApplication::exec();
}
