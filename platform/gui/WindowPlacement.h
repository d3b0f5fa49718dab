#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace platform::gui {

// Places a top-level window by its outer frame: the frame's top left corner at `topLeft` and the frame
// `outerSize` large. The frame's thickness is known only once the window is shown, so the window is
// placed as if it had none and set right when it first shows.
void placeByFrame(QWidget* window, QPoint topLeft, QSize outerSize);

// Centres a top-level window on the desktop of its screen, frame included once it shows.
void centreOnDesktop(QWidget* window);

} // namespace platform::gui
