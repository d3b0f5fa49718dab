#pragma once

#include "platform/MessageService.h"

#include <QApplication>
#include <optional>

// The windowed program's side of the platform layer: message boxes as real windows, and an application
// object that keeps errors from crossing the event loop.
namespace platform::gui {

// Shows each box as a modal QMessageBox: the kind's icon (none for a plain box, a question mark for
// Confirm), the request's caption and buttons ("OK", "Cancel", "&Yes", "&No", "&Abort", "&Retry",
// "&Ignore"), the default button focused, Escape answering Cancel, else No, else OK.
class WidgetMessageService : public MessageService {
public:
    BoxButton show(const BoxRequest& request) override;
};

// Installs one WidgetMessageService for the rest of the program.
void installWidgetMessages();

QString buttonCaption(BoxButton button);
// The button Escape and the title bar's close box answer; nullopt when the box has none of them.
std::optional<BoxButton> escapeButton(const QList<BoxButton>& buttons);

// Every handler runs its body through handleErrors; this is the net under them: an error that still
// reaches the event loop ends that one event and is shown in the standard error box.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform::gui
