#include "X11Click.h"

#include <QGuiApplication>
// Xlib's macros (None, Bool, ...) stay in this file.
#include <X11/extensions/XTest.h>
#include <X11/Xlib.h>

namespace bench {

void x11RightClick(QPoint at)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11->display();
    XTestFakeMotionEvent(display, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display, 3, True, CurrentTime);
    XTestFakeButtonEvent(display, 3, False, CurrentTime);
    XFlush(display);
}

} // namespace bench
