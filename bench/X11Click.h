#pragma once

#include <QPoint>

namespace bench {

// Presses and releases the right button over a point of the screen, as a user
// does: the X server sends both to the window there. Needs the xcb platform.
void x11RightClick(QPoint at);

} // namespace bench
