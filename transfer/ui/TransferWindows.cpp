#include "transfer/ui/TransferWindows.h"

#include "app/ProgramState.h"
#include "app/Settings.h"
#include "platform/Error.h"
#include "platform/MessageService.h"
#include "transfer/TransferRun.h"
#include "transfer/ui/CopyfU.h"
#include "transfer/ui/LoginU.h"
#include "transfer/ui/ZipfU.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <thread>

namespace transfer::ui {
namespace {

// Keeps keyboard and mouse input away from every window but the upload window.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget* allowed) : allowed_(allowed) { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride: {
            auto* widget = qobject_cast<QWidget*>(watched);
            return !(widget && allowed_ && (widget == allowed_ || allowed_->isAncestorOf(widget)));
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> allowed_;
};

class WindowHooks : public RunHooks, public UploadObserver {
public:
    WindowHooks(TZipf& zipf, TCopyf& copyf, TLogin& login) : zipf_(zipf), copyf_(&copyf), login_(login) {}

    archive::TZip& zip() override { return zipf_.Zip1; }
    UploadObserver& uploadObserver() override { return *this; }

    void beforeJob(const QString&, const QString&) override {
        zipf_.progressBar->setValue(0);
        zipf_.show();
        zipf_.raise();
        zipf_.repaint();
    }
    void afterJob() override { zipf_.close(); }

    UploadResult runUpload(const std::function<UploadResult()>& upload) override {
        UploadResult result;
        login_.onUpload = [&] {
            InputBlocker blocker(copyf_);
            std::atomic<bool> done{false};
            std::thread worker([&] {
                result = upload();
                done = true;
                QMetaObject::invokeMethod(
                    copyf_, [] {}, Qt::QueuedConnection); // wakes the loop below
            });
            while (!done)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
            worker.join();
            QCoreApplication::processEvents();
        };
        login_.BitBtn1Click();
        login_.onUpload = nullptr;
        return result;
    }

    // Called on the upload's thread: the window is changed on its own.
    void started(int files) override {
        post([files](TCopyf& w) {
            w.showForUpload();
            w.setMaximum(files + 1);
            w.stepIt();
            w.repaint();
        });
    }
    void fileStarted(const QString& name, const QString& destination) override {
        post([name, destination](TCopyf& w) {
            w.fileLabel->setText(name);
            w.destinationLabel->setText(destination);
            w.repaint();
        });
    }
    void fileProgress(qint64 sent, qint64 size) override {
        post([sent, size](TCopyf& w) { w.setFileFraction(sent, size); });
    }
    void fileDone(const SentFile&) override {
        post([](TCopyf& w) {
            w.stepIt();
            w.repaint();
        });
    }
    void finished() override {
        post([](TCopyf& w) { w.closeAfterUpload(); });
    }
    bool cancelRequested() override { return copyf_->cancelRequested(); }

private:
    template <typename Change> void post(Change change) {
        TCopyf* window = copyf_;
        QMetaObject::invokeMethod(
            window, [window, change] { change(*window); }, Qt::QueuedConnection);
    }

    TZipf& zipf_;
    TCopyf* copyf_;
    TLogin& login_;
};

} // namespace

void runWithWindows(RowStore& rows) {
    TZipf* zipf = Zipf();
    TCopyf* copyf = Copyf();
    if (!zipf || !copyf) throw platform::Error(QStringLiteral("The transfer windows are not there."));
    const settings::FtpServerSetting server = settings::readFtpServer();
    TLogin login; // made for this run, never shown
    RunSettings runSettings;
    runSettings.upload.host = server.host;
    runSettings.upload.port = server.port;
    runSettings.upload.garageName = program::garageName();
    runSettings.upload = login.withCredentials(runSettings.upload);
    WindowHooks hooks(*zipf, *copyf, login);
    RunOutcome outcome = runTransfer(rows, runSettings, hooks);
    if (outcome.succeeded)
        platform::messageDlg(QStringLiteral("Transfer Complete"), platform::BoxKind::Information,
                             {platform::BoxButton::Ok}, platform::BoxButton::Ok);
    else
        platform::messageDlg(failureMessage(outcome.error), platform::BoxKind::Error,
                             {platform::BoxButton::Ok}, platform::BoxButton::Ok);
}

} // namespace transfer::ui
