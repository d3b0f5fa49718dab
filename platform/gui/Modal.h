#pragma once

#include <functional>

class QWidget;

namespace platform::gui {

// Shows `window` application-modally and runs a nested event loop until it closes (a minimised window
// has not closed). `behind`, when given, stays visible but disabled meanwhile.
void runModal(QWidget* window, QWidget* behind = nullptr);

// Calls `closed` each time `window` closes (is hidden by the program or the user, not minimised) or is
// destroyed. The watcher is a child of the window and goes with it.
void whenClosed(QWidget* window, std::function<void()> closed);

} // namespace platform::gui
