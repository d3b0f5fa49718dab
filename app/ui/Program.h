#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

class TConnect;
class TCopyf;
class TPicture;
class TPreview;
class TRegisterf;
class TZipf;

// The program from its start to its end: the splash, the registration or the main window, the hidden
// windows, the event loop until the main window closes.
class Program {
public:
    struct Options {
        // How long the splash blocks the program. Tests set it to 0.
        int splashMilliseconds = 3000;
    };

    Program();
    explicit Program(Options options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Everything before the event loop. False when the program has to end at once; the error box has
    // been shown then and no window is left.
    bool start();
    // Shows the main window and runs the event loop until the main window closes; the exit code.
    int exec();

    // The application's main window: the registration window on a first start, else the main window.
    QWidget* mainWindow() const;
    TRegisterf* registration() const { return registration_.get(); }
    TPicture* picture() const { return picture_.get(); }
    TPreview* preview() const { return preview_.get(); }
    TCopyf* copyf() const { return copyf_.get(); }
    TConnect* connectWindow() const { return connect_.get(); }
    TZipf* zipf() const { return zipf_.get(); }
    // The classes of the windows made at start, in the order they were made (the splash not counted).
    QStringList createdWindows() const { return created_; }

private:
    void showSplash();
    template <typename Window> std::unique_ptr<Window> create();

    Options options_;
    std::unique_ptr<TRegisterf> registration_;
    std::unique_ptr<TPicture> picture_;
    std::unique_ptr<TPreview> preview_;
    std::unique_ptr<TCopyf> copyf_;
    std::unique_ptr<TConnect> connect_;
    std::unique_ptr<TZipf> zipf_;
    QStringList created_;
};
